#include "platform/text_ops.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "platform/text_bytes.h"
#include "platform/text_search.h"

namespace quorrin {
namespace {

constexpr unsigned char kFullWidthLead = 0xA1;  // full-width space is A1 A1
constexpr unsigned char kFullWidthAsciiLead = 0xA3;

using text_bytes::foldAscii;
using text_bytes::isLead;

Text fromRange(const Text& t, std::size_t begin, std::size_t count) {
    return Text(t.view().substr(begin, count));
}

bool isSpaceAt(const Text& t, std::size_t i) {
    const std::size_t n = static_cast<std::size_t>(t.length());
    if (t.byteAt(static_cast<int>(i)) == ' ') {
        return true;
    }
    return i + 1 < n && t.byteAt(static_cast<int>(i)) == kFullWidthLead &&
           t.byteAt(static_cast<int>(i + 1)) == kFullWidthLead;
}

std::size_t charWidthAt(const Text& t, std::size_t i) {
    const std::size_t n = static_cast<std::size_t>(t.length());
    return (isLead(t.byteAt(static_cast<int>(i))) && i + 1 < n) ? 2 : 1;
}

template <typename Map>
Text mapAsciiLetters(const Text& t, Map map) {
    std::string out(t.view());
    for (std::size_t i = 0; i < out.size();) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (isLead(c)) {
            i += 2;
            continue;
        }
        out[i] = static_cast<char>(map(c));
        ++i;
    }
    return Text(std::move(out));
}

}  // namespace

int findText(const Text& t, const Text& sub, int start, bool ignoreCase) {
    const int n = t.length();
    const int from = std::max(start, 1);
    if (from > n) {
        return -1;
    }
    if (sub.empty()) {
        return 1;
    }
    MatchWalker matches(t.view(), sub.view(), static_cast<std::size_t>(from - 1), t.view().size(),
                        ignoreCase);
    const std::size_t at = matches.next();
    return at == MatchWalker::kNone ? -1 : static_cast<int>(at) + 1;
}

int findTextReverse(const Text& t, const Text& sub, std::optional<int> start, bool ignoreCase) {
    const int n = t.length();
    const int limit = (!start || *start > n) ? n : std::max(*start - 1, 0);
    if (limit == 0) {
        return -1;
    }
    if (sub.empty()) {
        return 1;
    }
    MatchWalker matches(t.view(), sub.view(), 0, static_cast<std::size_t>(limit), ignoreCase);
    int found = -1;
    for (std::size_t at = matches.next(); at != MatchWalker::kNone; at = matches.next()) {
        found = static_cast<int>(at) + 1;
    }
    return found;
}

Text leftText(const Text& t, int n) {
    if (n < 1) {
        return {};
    }
    return fromRange(t, 0, static_cast<std::size_t>(std::min(n, t.length())));
}

Text rightText(const Text& t, int n) {
    if (n < 1) {
        return {};
    }
    const int count = std::min(n, t.length());
    return fromRange(t, static_cast<std::size_t>(t.length() - count),
                     static_cast<std::size_t>(count));
}

Text midText(const Text& t, int start, int n) {
    if (start < 1 || start > t.length() || n < 1) {
        return {};
    }
    return fromRange(t, static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n));
}

Text replaceSubtext(const Text& t, const Text& old, const Text& replacement, int start, int count,
                    bool caseSensitive) {
    if (old.empty() || count == 0) {
        return t;
    }
    const int n = t.length();
    const int from = std::max(start, 1);
    if (from > n) {
        return t;
    }
    std::string out(t.view().substr(0, static_cast<std::size_t>(from - 1)));
    std::size_t copied = static_cast<std::size_t>(from - 1);
    int left = count;
    const std::size_t m = static_cast<std::size_t>(old.length());
    MatchWalker matches(t.view(), old.view(), copied, t.view().size(), !caseSensitive);
    while (left != 0) {
        const std::size_t at = matches.next();
        if (at == MatchWalker::kNone) {
            break;
        }
        if (at < copied) {
            continue;  // overlaps the match just replaced
        }
        out.append(t.view().substr(copied, at - copied));
        out.append(replacement.view());
        copied = at + m;
        if (left > 0) {
            --left;
        }
    }
    out.append(t.view().substr(copied));
    return Text(std::move(out));
}

TextArray splitText(const Text& t, const Text& delimiter) {
    TextArray pieces;
    if (t.empty()) {
        return pieces;
    }
    if (delimiter.empty()) {
        pieces.append(t);
        return pieces;
    }
    int from = 1;
    for (;;) {
        const int at = findText(t, delimiter, from);
        if (at < 0) {
            break;
        }
        pieces.append(midText(t, from, at - from));
        from = at + delimiter.length();
    }
    if (from <= t.length()) {
        pieces.append(midText(t, from, t.length() - from + 1));
    }
    return pieces;
}

Text trimBothEnds(const Text& t) {
    const std::size_t n = static_cast<std::size_t>(t.length());
    std::size_t begin = 0;
    while (begin < n && isSpaceAt(t, begin)) {
        begin += charWidthAt(t, begin);
    }
    std::size_t end = begin;  // one past the last character that is not a space
    for (std::size_t i = begin; i < n;) {
        const std::size_t w = charWidthAt(t, i);
        if (!isSpaceAt(t, i)) {
            end = i + w;
        }
        i += w;
    }
    return fromRange(t, begin, end - begin);
}

Text removeAllSpaces(const Text& t) {
    std::string out;
    const std::size_t n = static_cast<std::size_t>(t.length());
    for (std::size_t i = 0; i < n;) {
        const std::size_t w = charWidthAt(t, i);
        if (!isSpaceAt(t, i)) {
            out.append(t.view().substr(i, w));
        }
        i += w;
    }
    return Text(std::move(out));
}

Text toUpper(const Text& t) {
    return mapAsciiLetters(t, [](unsigned char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
    });
}

Text toLower(const Text& t) {
    return mapAsciiLetters(t, foldAscii);
}

int toInt(const Text& t) {
    // Full-width forms first become their ASCII counterparts.
    std::string ascii;
    const std::size_t n = static_cast<std::size_t>(t.length());
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = t.byteAt(static_cast<int>(i));
        if (c == kFullWidthAsciiLead && i + 1 < n) {
            const unsigned char d = t.byteAt(static_cast<int>(i + 1));
            if ((d >= 0xB0 && d <= 0xB9) || d == 0xAB || d == 0xAD) {
                ascii.push_back(static_cast<char>(d - 0x80));
                i += 2;
                continue;
            }
        }
        ascii.push_back(static_cast<char>(c));
        ++i;
    }
    std::size_t i = ascii.find_first_not_of(" \t\r\n\v\f");
    if (i == std::string::npos) {
        return 0;
    }
    bool negative = false;
    if (ascii[i] == '+' || ascii[i] == '-') {
        negative = ascii[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kCap = static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1;
    for (; i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9'; ++i) {
        value = std::min(value * 10 + (ascii[i] - '0'), kCap);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

Text toText(int n) {
    return Text(std::to_string(n));
}

Text toHexText(int n) {
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      static_cast<std::uint32_t>(n), 16);
    std::string out(buffer.data(), result.ptr);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'a' && c <= 'f') ? static_cast<char>(c - 32) : c; });
    return Text(std::move(out));
}

Text charFromCode(int byte) {
    const char c = static_cast<char>(byte & 0xFF);
    return Text(std::string_view(&c, 1));
}

Text blankText(int n) {
    return n < 1 ? Text() : Text(std::string(static_cast<std::size_t>(n), ' '));
}

int compareText(const Text& a, const Text& b, bool caseSensitive) {
    const std::size_t n = std::min(a.view().size(), b.view().size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = a.byteAt(static_cast<int>(i));
        unsigned char y = b.byteAt(static_cast<int>(i));
        if (!caseSensitive) {
            x = foldAscii(x);
            y = foldAscii(y);
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.length() == b.length()) {
        return 0;
    }
    return a.length() < b.length() ? -1 : 1;
}

ByteSet toBytes(const Text& t) {
    return ByteSet(std::string(t.view()));
}

Text toText(const ByteSet& bytes) {
    return Text(bytes.view());
}

ByteSet bytesLeft(const ByteSet& b, int n) {
    const int count = std::clamp(n, 0, b.length());
    return ByteSet(std::string(b.view().substr(0, static_cast<std::size_t>(count))));
}

ByteSet blankBytes(int n) {
    return ByteSet(std::string(static_cast<std::size_t>(std::max(n, 0)), '\0'));
}

ByteSet pointerToBytes(const void* address, int n) {
    if (address == nullptr || n < 1) {
        return {};
    }
    return ByteSet(address, static_cast<std::size_t>(n));
}

}  // namespace quorrin
