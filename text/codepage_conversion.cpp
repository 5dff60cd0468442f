#include "text/codepage_conversion.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/text_ops.h"

namespace quorrin {
namespace {

// Units, terminator included, of `narrow` read in `codePage`; none when the
// code page cannot read it. The code pages read here give at most one unit
// a byte, so this is one pass into a buffer sized from the bytes.
std::u16string narrowToUnits(const Text& narrow, unsigned codePage) {
    return toUtf16(codePage, std::string_view(narrow.c_str(), narrow.view().size() + 1));
}

// `count` units of `wide` (-1: up to and including its zero unit) in
// `codePage`, read as a text: up to the first zero byte. One conversion
// into a buffer sized for the worst case; no measuring pass before it.
Text unitsToNarrow(const char16_t* wide, int count, unsigned codePage, unsigned flags) {
    const std::size_t units =
        count < 0 ? std::char_traits<char16_t>::length(wide) + 1 : static_cast<std::size_t>(count);
    std::string bytes = fromUtf16(codePage, std::u16string_view(wide, units), flags);
    // Sized for the worst case: a converted page keeps only what it holds.
    bytes.shrink_to_fit();
    return Text(std::move(bytes));
}

// Wide text is little-endian on every host, so units are packed and unpacked
// byte by byte rather than copied as host char16_t.
ByteSet packUnits(const std::u16string& units) {
    std::string bytes(units.size() * 2, '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
    }
    return ByteSet(std::move(bytes));
}

// Every whole unit of `wide`; an odd last byte is no unit.
std::u16string unpackUnits(const ByteSet& wide) {
    const std::size_t count = static_cast<std::size_t>(wide.length()) / 2;
    const auto* bytes = reinterpret_cast<const unsigned char*>(wide.data());
    std::u16string units;
    units.reserve(count + 1);  // room for a terminator the caller may add
    for (std::size_t i = 0; i < count; ++i) {
        units.push_back(static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    }
    return units;
}

// The second half of every narrow-to-narrow conversion: the units of a
// text, which hold no zero unit before their terminator, are exactly what
// the wide byte set of ansiToWide carries to wideToAnsi.
Text terminatedUnitsToNarrow(const std::u16string& units, unsigned codePage) {
    if (units.empty()) {
        return {};
    }
    return unitsToNarrow(units.c_str(), -1, codePage, 0);
}

}  // namespace

// Both directions size their result in the code page they convert to: a
// size taken in the ANSI code page falls short for malformed UTF-8, for
// single-byte characters of code page 936 and for any other ANSI code page.
ByteSet ansiToWide(const Text& narrow, unsigned codePage) {
    const std::u16string units = narrowToUnits(narrow, codePage);
    return units.empty() ? blankBytes(2) : packUnits(units);
}

Text wideToAnsi(const ByteSet& wide, unsigned codePage) {
    // Cut at the first zero unit and terminate here, so a byte set without a
    // terminator is never read past its end.
    std::u16string units = unpackUnits(wide);
    units.resize(std::min(units.size(), units.find(u'\0')));
    return unitsToNarrow(units.c_str(), -1, codePage, 0);
}

Text gbkToUtf8(const Text& narrow) {
    return terminatedUnitsToNarrow(narrowToUnits(narrow, kCodePageGbk), kCodePageUtf8);
}

Text utf8ToGbk(const Text& narrow) {
    return terminatedUnitsToNarrow(narrowToUnits(narrow, kCodePageUtf8), kCodePageGbk);
}

Text utf8ToGbk(Text&& narrow) {
    const std::u16string units = narrowToUnits(narrow, kCodePageUtf8);
    // Moved out and dropped: assigning an empty text would keep the capacity.
    { const Text released = std::move(narrow); }
    return terminatedUnitsToNarrow(units, kCodePageGbk);
}

ByteSet gbkToWide(const Text& narrow, bool dropTerminator) {
    if (narrow.empty()) {
        return {};
    }
    const ByteSet wide = packUnits(narrowToUnits(narrow, kCodePageGbk));
    return dropTerminator ? bytesLeft(wide, wide.length() - 2) : wide;
}

Text wideToGbk(const ByteSet& wide) {
    const std::u16string units = unpackUnits(wide);
    if (units.empty()) {
        return {};
    }
    return unitsToNarrow(units.data(), static_cast<int>(units.size()), kCodePageGbk,
                         kCompositeCheck);
}

}  // namespace quorrin
