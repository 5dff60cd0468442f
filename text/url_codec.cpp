#include "text/url_codec.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "text/codepage_conversion.h"

namespace quorrin {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isSafe(unsigned char c) {
    return c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

// The value of one hexadecimal digit in either case, or -1.
int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

Text urlEncode(const Text& plain, bool keepSafe, bool utf8) {
    if (plain.empty()) {
        return {};
    }
    const Text source = utf8 ? gbkToUtf8(plain) : plain;
    std::string out;
    out.reserve(static_cast<std::size_t>(source.length()) * 3);
    for (const char byte : source.view()) {
        const auto c = static_cast<unsigned char>(byte);
        if (keepSafe && isSafe(c)) {
            out += byte;
        } else {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 0x0F];
        }
    }
    return Text(std::move(out));
}

Text urlDecode(const Text& encoded, bool utf8) {
    const std::string_view in = encoded.view();
    std::string out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        // Runs without a "%" are copied whole.
        const std::size_t percent = std::min(in.find('%', i), in.size());
        out.append(in.substr(i, percent - i));
        i = percent;
        if (i == in.size()) {
            break;
        }
        const bool room = i + 2 < in.size();
        const int high = room ? hexValue(static_cast<unsigned char>(in[i + 1])) : -1;
        const int low = room ? hexValue(static_cast<unsigned char>(in[i + 2])) : -1;
        if (high < 0 || low < 0) {
            // A page may hold "100%" or "%u4E2D": such a sign is no escape.
            out += '%';
            ++i;
            continue;
        }
        // A text holds no zero byte, so %00 adds nothing.
        if (const int value = high * 16 + low; value != 0) {
            out += static_cast<char>(value);
        }
        i += 3;
    }
    Text decoded(std::move(out));
    if (utf8) {
        return utf8ToGbk(std::move(decoded));
    }
    return decoded;
}

}  // namespace quorrin
