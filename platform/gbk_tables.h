#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Code page 936 as ICU's windows-936-2000 converter reads and writes it,
// character by character, in two tables read out of the converter once (on
// first use, thread-safe, never changed after). They serve the quick paths
// of the conversions; anything not in them is left to the converter.
namespace quorrin::gbk {

// The bytes of each BMP code point, by its UTF-16 unit: a value below 0x100
// is one byte, a larger one a lead and a trail byte. Surrogates are not in it.
inline constexpr std::uint16_t kNoBytes = 0xFFFE;     // gives nothing (ICU skips ignorables)
inline constexpr std::uint16_t kNotInTable = 0xFFFF;  // left to the converter
using UnitTable = std::array<std::uint16_t, 0x10000>;
[[nodiscard]] const UnitTable& unitTable();

// The one UTF-16 unit each lead byte 0x81..0xFE and trail byte 0x40..0xFE
// read as together, or kNoUnit when the pair reads otherwise (as more than
// one unit, or as the lead byte alone).
inline constexpr char16_t kNoUnit = 0xFFFF;
inline constexpr int kLeads = 0xFE - 0x81 + 1;
inline constexpr int kTrails = 0xFE - 0x40 + 1;
using PairTable = std::array<char16_t, static_cast<std::size_t>(kLeads) * kTrails>;
[[nodiscard]] const PairTable& pairTable();

inline constexpr bool isLead(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}
inline constexpr bool isTrail(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE;
}
inline constexpr std::size_t pairIndex(unsigned char lead, unsigned char trail) {
    return static_cast<std::size_t>(lead - 0x81) * kTrails + static_cast<std::size_t>(trail - 0x40);
}

}  // namespace quorrin::gbk
