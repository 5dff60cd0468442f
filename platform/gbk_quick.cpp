#include "platform/gbk_quick.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/gbk_tables.h"

namespace quorrin::gbk {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The ASCII bytes before the first byte whose high bit `high` holds, in a
// word loaded from memory in its order.
int asciiBytesBefore(std::uint64_t high) {
    if constexpr (std::endian::native == std::endian::little) {
        return std::countr_zero(high) / 8;
    } else {
        return std::countl_zero(high) / 8;
    }
}

// Copies the ASCII bytes from `at` on, as far as the input and the room
// before `full` go; answers how many.
std::size_t copyAscii(const unsigned char* at, const unsigned char* end, char* to,
                      const char* full) {
    const std::size_t limit =
        std::min(static_cast<std::size_t>(end - at), static_cast<std::size_t>(full - to));
    std::size_t done = 0;
#if defined(__SSE2__)
    while (limit - done >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + done));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + done), block);
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
        if (high != 0) {
            return done + static_cast<std::size_t>(std::countr_zero(high));
        }
        done += 16;
    }
#endif
    while (limit - done >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, at + done, 8);
        std::memcpy(to + done, at + done, 8);
        const std::uint64_t high = word & kHighBits;
        if (high != 0) {
            return done + static_cast<std::size_t>(asciiBytesBefore(high));
        }
        done += 8;
    }
    while (done < limit && at[done] < 0x80) {
        to[done] = static_cast<char>(at[done]);
        ++done;
    }
    return done;
}

bool isUtf8Trail(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Writes the table's bytes for one character; false when it is not there
// or there is no room for them before `full`.
bool putBytes(std::uint16_t mapped, char*& to, const char* full) {
    if (mapped == kNotInTable) {
        return false;
    }
    if (mapped != kNoBytes) {
        if (full - to < (mapped > 0xFF ? 2 : 1)) {
            return false;
        }
        if (mapped > 0xFF) {
            *to++ = static_cast<char>(mapped >> 8);
        }
        *to++ = static_cast<char>(mapped & 0xFF);
    }
    return true;
}

}  // namespace

std::size_t fromUtf8(std::string_view utf8, char* out, std::size_t capacity, std::size_t& written) {
    const UnitTable& table = unitTable();
    const auto* const begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = begin + utf8.size();
    const unsigned char* at = begin;
    char* to = out;
    char* const full = out + capacity;
    const auto finish = [&] {
        written = static_cast<std::size_t>(to - out);
        return static_cast<std::size_t>(at - begin);
    };
    while (at != end) {
        const std::size_t ascii = copyAscii(at, end, to, full);
        at += ascii;
        to += ascii;
        if (at == end || to == full) {
            break;
        }
        // A run of multi-byte characters, one after another.
        do {
            const unsigned char lead = *at;
            std::uint32_t c = 0;
            std::ptrdiff_t length = 0;
            // Three bytes (most of the BMP): an overlong form decodes below
            // U+0800; a surrogate is not in the table.
            if ((lead & 0xF0U) == 0xE0 && end - at >= 3 && isUtf8Trail(at[1]) &&
                isUtf8Trail(at[2])) {
                c = ((lead & 0x0FU) << 12) | ((at[1] & 0x3FU) << 6) | (at[2] & 0x3FU);
                length = c >= 0x800 ? 3 : 0;
            } else if (lead >= 0xC2 && lead <= 0xDF && end - at >= 2 && isUtf8Trail(at[1])) {
                c = ((lead & 0x1FU) << 6) | (at[1] & 0x3FU);
                length = 2;
            }
            if (length == 0 || !putBytes(table[c], to, full)) {
                return finish();
            }
            at += length;
        } while (at != end && *at >= 0x80);
    }
    return finish();
}

std::size_t toUnits(std::string_view narrow, char16_t* out, std::size_t capacity,
                    std::size_t& written) {
    const PairTable& table = pairTable();
    const auto* const begin = reinterpret_cast<const unsigned char*>(narrow.data());
    const auto* const end = begin + narrow.size();
    const unsigned char* at = begin;
    char16_t* to = out;
    char16_t* const full = out + capacity;
    while (at != end && to != full) {
        // ASCII eight bytes at a time while there is room for them.
        if (end - at >= 8 && full - to >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, at, 8);
            if ((word & kHighBits) == 0) {
                for (int i = 0; i < 8; ++i) {
                    to[i] = at[i];
                }
                to += 8;
                at += 8;
                continue;
            }
        }
        const unsigned char byte = *at;
        if (byte < 0x80) {
            *to++ = byte;
            ++at;
            continue;
        }
        if (end - at < 2 || !isLead(byte) || !isTrail(at[1])) {
            break;
        }
        const char16_t unit = table[pairIndex(byte, at[1])];
        if (unit == kNoUnit) {
            break;
        }
        *to++ = unit;
        at += 2;
    }
    written = static_cast<std::size_t>(to - out);
    return static_cast<std::size_t>(at - begin);
}

std::size_t fromUnits(std::u16string_view wide, char* out, std::size_t capacity,
                      std::size_t& written) {
    const UnitTable& table = unitTable();
    std::size_t at = 0;
    char* to = out;
    while (at != wide.size()) {
        if (!putBytes(table[wide[at]], to, out + capacity)) {
            break;
        }
        ++at;
    }
    written = static_cast<std::size_t>(to - out);
    return at;
}

}  // namespace quorrin::gbk
