#include "platform/utf8_gbk.h"

#include <unicode/ucnv.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace quorrin {
namespace {

// One entry a BMP code point: a value below 0x100 is one byte, a larger one
// a lead and a trail byte; kNoBytes a character that gives nothing (ICU's
// substitution skips default-ignorable ones such as U+00AD and U+FEFF);
// kNotInTable leaves the character to ICU. Neither marker is a lead byte.
using GbkTable = std::array<std::uint16_t, 0x10000>;
constexpr std::uint16_t kNoBytes = 0xFFFE;
constexpr std::uint16_t kNotInTable = 0xFFFF;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

bool isSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Every BMP code point but the surrogates goes through the converter in one
// call; the offsets tie each output byte to the code point it came from.
GbkTable readTable() {
    GbkTable table{};
    table.fill(kNotInTable);
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, ConverterCloser> gbk(ucnv_open("windows-936-2000", &status));
    if (U_FAILURE(status)) {
        return table;
    }
    std::u16string all;
    all.reserve(0x10000);
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
        if (!isSurrogate(c)) {
            all.push_back(static_cast<char16_t>(c));
        }
    }
    const std::size_t capacity = all.size() * 4;
    std::string bytes(capacity, '\0');
    std::vector<int32_t> offsets(capacity, -1);
    char* target = bytes.data();
    const UChar* source = reinterpret_cast<const UChar*>(all.data());
    ucnv_fromUnicode(gbk.get(), &target, bytes.data() + bytes.size(), &source, source + all.size(),
                     offsets.data(), true, &status);
    if (U_FAILURE(status) || source != reinterpret_cast<const UChar*>(all.data() + all.size())) {
        return table;
    }
    for (const char16_t c : all) {
        table[c] = kNoBytes;  // until its bytes turn up below
    }
    const std::size_t produced = static_cast<std::size_t>(target - bytes.data());
    for (std::size_t i = 0; i < produced;) {
        const int32_t from = offsets[i];
        std::size_t end = i + 1;
        while (end < produced && offsets[end] == from) {
            ++end;
        }
        if (from >= 0 && static_cast<std::size_t>(from) < all.size()) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const char16_t c = all[static_cast<std::size_t>(from)];
            if (end - i == 1) {
                table[c] = first;
            } else if (end - i == 2) {
                table[c] = static_cast<std::uint16_t>((first << 8) |
                                                      static_cast<unsigned char>(bytes[i + 1]));
            }
        }
        i = end;
    }
    return table;
}

const GbkTable& gbkTable() {
    static const GbkTable table = readTable();
    return table;
}

// The ASCII bytes before the first byte whose high bit `high` holds, in a
// word loaded from memory in its order.
int asciiBytesBefore(std::uint64_t high) {
    if constexpr (std::endian::native == std::endian::little) {
        return std::countr_zero(high) / 8;
    } else {
        return std::countl_zero(high) / 8;
    }
}

bool isTrail(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

std::size_t appendUtf8AsGbk(std::string_view utf8, std::string& out) {
    const GbkTable& table = gbkTable();
    const auto* const begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = begin + utf8.size();
    // No character here gives more bytes than it takes.
    const std::size_t before = out.size();
    out.resize(before + utf8.size());
    char* to = out.data() + before;
    const unsigned char* at = begin;
    const auto finish = [&out, begin](const unsigned char* stop, const char* written) {
        out.resize(static_cast<std::size_t>(written - out.data()));
        return static_cast<std::size_t>(stop - begin);
    };
    while (at != end) {
        // ASCII eight bytes at a time, up to the first byte with its high
        // bit set.
        constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
        if (end - at >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, at, 8);
            std::memcpy(to, at, 8);
            const std::uint64_t high = word & kHighBits;
            const int ascii = high == 0 ? 8 : asciiBytesBefore(high);
            to += ascii;
            at += ascii;
            if (ascii != 0) {
                continue;
            }
        } else if (*at < 0x80) {
            *to++ = static_cast<char>(*at++);
            continue;
        }
        // A run of multi-byte characters, one after another.
        do {
            const unsigned char lead = *at;
            std::uint32_t c = 0;
            std::ptrdiff_t length = 0;
            if (lead >= 0xE0 && lead <= 0xEF && end - at >= 3 && isTrail(at[1]) && isTrail(at[2]) &&
                !(lead == 0xE0 && at[1] < 0xA0) && !(lead == 0xED && at[1] > 0x9F)) {
                c = ((lead & 0x0FU) << 12) | ((at[1] & 0x3FU) << 6) | (at[2] & 0x3FU);
                length = 3;
            } else if (lead >= 0xC2 && lead <= 0xDF && end - at >= 2 && isTrail(at[1])) {
                c = ((lead & 0x1FU) << 6) | (at[1] & 0x3FU);
                length = 2;
            }
            const std::uint16_t mapped = length == 0 ? kNotInTable : table[c];
            if (mapped == kNotInTable) {
                return finish(at, to);
            }
            if (mapped != kNoBytes) {
                if (mapped > 0xFF) {
                    *to++ = static_cast<char>(mapped >> 8);
                }
                *to++ = static_cast<char>(mapped & 0xFF);
            }
            at += length;
        } while (at != end && *at >= 0x80);
    }
    return finish(at, to);
}

}  // namespace quorrin
