#include "text/codepage_conversion.h"

#include <algorithm>
#include <string>

#include "platform/text_ops.h"

namespace quorrin {
namespace {

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
    std::u16string units(count, u'\0');
    for (std::size_t i = 0; i < count; ++i) {
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return units;
}

ByteSet terminatorOnly() {
    return blankBytes(2);
}

// Units, terminator included, of zero-terminated `narrow` read in `codePage`;
// empty when the code page cannot read it at all.
std::u16string narrowToUnits(const Text& narrow, unsigned codePage) {
    const int measured = multiByteToWideChar(codePage, 0, narrow.c_str(), -1, nullptr, 0);
    if (measured <= 0) {
        return {};
    }
    std::u16string units(static_cast<std::size_t>(measured), u'\0');
    const int written =
        multiByteToWideChar(codePage, 0, narrow.c_str(), -1, units.data(), measured);
    units.resize(static_cast<std::size_t>(std::max(written, 0)));
    return units;
}

// `count` units of `wide` (-1: up to and including its zero unit) in
// `codePage`, read as a text: up to the first zero byte.
Text unitsToNarrow(const char16_t* wide, int count, unsigned codePage, unsigned flags) {
    const int measured = wideCharToMultiByte(codePage, flags, wide, count, nullptr, 0);
    if (measured <= 0) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(measured), '\0');
    const int written = wideCharToMultiByte(codePage, flags, wide, count, bytes.data(), measured);
    bytes.resize(static_cast<std::size_t>(std::max(written, 0)));
    return Text(bytes);
}

}  // namespace

// Both directions measure in the code page they convert to: a measure taken
// in the ANSI code page falls short for malformed UTF-8, for single-byte
// characters of code page 936 and for any other ANSI code page.
ByteSet ansiToWide(const Text& narrow, unsigned codePage) {
    const std::u16string units = narrowToUnits(narrow, codePage);
    return units.empty() ? terminatorOnly() : packUnits(units);
}

Text wideToAnsi(const ByteSet& wide, unsigned codePage) {
    // Cut at the first zero unit and terminate here, so a byte set without a
    // terminator is never read past its end.
    std::u16string units = unpackUnits(wide);
    units.resize(std::min(units.size(), units.find(u'\0')));
    units.push_back(u'\0');
    return unitsToNarrow(units.c_str(), -1, codePage, 0);
}

Text gbkToUtf8(const Text& narrow) {
    return wideToAnsi(ansiToWide(narrow, kCodePageGbk), kCodePageUtf8);
}

Text utf8ToGbk(const Text& narrow) {
    return wideToAnsi(ansiToWide(narrow), kCodePageGbk);
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
