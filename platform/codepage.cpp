#include "platform/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/unorm2.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/gbk_quick.h"
#include "platform/icu_converter.h"
#include "platform/in_turns.h"

namespace quorrin {
namespace {

// One converter a call: a UConverter must never be shared between threads.
Converter converterFor(unsigned codePage) {
    switch (codePage) {
        case kCodePageAnsi:
        case kCodePageGbk:
            return openConverter(kGbkConverterName);
        case kCodePageUtf8:
            return openConverter("UTF-8");
        default:
            return nullptr;
    }
}

bool isGbk(unsigned codePage) {
    return codePage == kCodePageAnsi || codePage == kCodePageGbk;
}

template <typename Unit>
int32_t unitCount(const Unit* units, int length) {
    if (length >= 0) {
        return length;
    }
    int32_t n = 0;
    while (units[n] != 0) {
        ++n;
    }
    return n + 1;  // the terminator is converted too
}

// The size a conversion call answers: on measuring (capacity 0) the
// preflight length, which ICU reports with a buffer overflow; with a buffer
// the length written, and 0 for any failure, a buffer too small included.
int answer(int32_t size, UErrorCode status, int capacity) {
    if (capacity == 0) {
        return (U_SUCCESS(status) || status == U_BUFFER_OVERFLOW_ERROR) ? size : 0;
    }
    return U_SUCCESS(status) ? size : 0;
}

std::u16string composed(const char16_t* wide, int32_t n) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) {
        return std::u16string(wide, static_cast<std::size_t>(n));
    }
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    int32_t size = unorm2_normalize(nfc, wide, n, out.data(), n, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        out.resize(static_cast<std::size_t>(size));
        size = unorm2_normalize(nfc, wide, n, out.data(), size, &status);
    }
    if (U_FAILURE(status)) {
        return std::u16string(wide, static_cast<std::size_t>(n));
    }
    out.resize(static_cast<std::size_t>(size));
    return out;
}

// Converts `in` in turns (inTurns) into the `capacity` units at `out`, with
// `quick` and `convert` writing after what is there. The size written, or
// nothing when `capacity` is too small or the converter fails.
template <typename In, typename Out, typename Quick, typename Convert, typename StandsAlone>
std::optional<std::size_t> intoBuffer(std::basic_string_view<In> in, Out* out, std::size_t capacity,
                                      Quick quick, Convert convert, StandsAlone standsAlone) {
    std::size_t written = 0;
    const auto quickTurn = [&](std::basic_string_view<In> rest) {
        std::size_t taken = 0;
        const std::size_t used = quick(rest, out + written, capacity - written, taken);
        written += taken;
        return used;
    };
    const auto convertTurn = [&](std::basic_string_view<In> piece) {
        const std::optional<std::size_t> size =
            convert(piece, out + written, static_cast<int32_t>(capacity - written));
        written += size.value_or(0);
        return size.has_value();
    };
    if (!inTurns(in, quickTurn, convertTurn, standsAlone)) {
        return std::nullopt;
    }
    return written;
}

}  // namespace

// Measures are ICU preflights and conversions write straight into the
// caller's buffer: no scratch buffer is sized, zeroed and copied per call,
// which on a whole page costs more than the conversion itself.
int multiByteToWideChar(unsigned codePage, unsigned flags, const char* narrow, int length,
                        char16_t* wide, int capacity) {
    (void)flags;
    if (narrow == nullptr || length < -1 || length == 0 || capacity < 0 ||
        (capacity > 0 && wide == nullptr)) {
        return 0;
    }
    const int32_t n = unitCount(narrow, length);
    Converter converter;
    const auto convert = [&](std::string_view in, char16_t* out, int32_t room) {
        if (!converter && !(converter = converterFor(codePage))) {
            return std::optional<std::size_t>();
        }
        UErrorCode status = U_ZERO_ERROR;
        const int32_t size = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(out), room,
                                           in.data(), static_cast<int32_t>(in.size()), &status);
        return U_SUCCESS(status) ? std::optional<std::size_t>(size) : std::nullopt;
    };
    if (capacity > 0 && isGbk(codePage)) {
        // A byte below 0x40 is never a trail byte: the reading is at a
        // character boundary after it.
        const auto written =
            intoBuffer(std::string_view(narrow, static_cast<std::size_t>(n)), wide,
                       static_cast<std::size_t>(capacity), gbk::toUnits, convert,
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x40; });
        return written ? static_cast<int>(*written) : 0;
    }
    if (!(converter = converterFor(codePage))) {
        return 0;
    }
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size =
        ucnv_toUChars(converter.get(), capacity == 0 ? nullptr : reinterpret_cast<UChar*>(wide),
                      capacity, narrow, n, &status);
    return answer(size, status, capacity);
}

int wideCharToMultiByte(unsigned codePage, unsigned flags, const char16_t* wide, int length,
                        char* narrow, int capacity) {
    if (wide == nullptr || length < -1 || length == 0 || capacity < 0 ||
        (capacity > 0 && narrow == nullptr)) {
        return 0;
    }
    const int32_t n = unitCount(wide, length);
    std::u16string precomposed;
    std::u16string_view source(wide, static_cast<std::size_t>(n));
    if ((flags & kCompositeCheck) != 0) {
        precomposed = composed(wide, n);
        source = precomposed;
    }
    Converter converter;
    const auto convert = [&](std::u16string_view in, char* out, int32_t room) {
        if (!converter && !(converter = converterFor(codePage))) {
            return std::optional<std::size_t>();
        }
        UErrorCode status = U_ZERO_ERROR;
        const int32_t size =
            ucnv_fromUChars(converter.get(), out, room, reinterpret_cast<const UChar*>(in.data()),
                            static_cast<int32_t>(in.size()), &status);
        return U_SUCCESS(status) ? std::optional<std::size_t>(size) : std::nullopt;
    };
    if (capacity > 0 && isGbk(codePage)) {
        // Only a high surrogate waits for the unit after it.
        const auto written =
            intoBuffer(source, narrow, static_cast<std::size_t>(capacity), gbk::fromUnits, convert,
                       [](char16_t unit) { return unit < 0xD800 || unit > 0xDFFF; });
        return written ? static_cast<int>(*written) : 0;
    }
    if (!(converter = converterFor(codePage))) {
        return 0;
    }
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size = ucnv_fromUChars(converter.get(), capacity == 0 ? nullptr : narrow,
                                         capacity, reinterpret_cast<const UChar*>(source.data()),
                                         static_cast<int32_t>(source.size()), &status);
    return answer(size, status, capacity);
}

std::u16string toUtf16(unsigned codePage, std::string_view narrow) {
    if (narrow.empty()) {
        return {};
    }
    // Both code pages give at most one unit a byte, a malformed byte included.
    const int bytes = static_cast<int>(narrow.size());
    std::u16string wide(narrow.size(), u'\0');
    int size = multiByteToWideChar(codePage, 0, narrow.data(), bytes, wide.data(), bytes);
    if (size == 0) {
        size = multiByteToWideChar(codePage, 0, narrow.data(), bytes, nullptr, 0);
        wide.assign(static_cast<std::size_t>(size), u'\0');
        multiByteToWideChar(codePage, 0, narrow.data(), bytes, wide.data(), size);
    }
    wide.resize(static_cast<std::size_t>(size));
    return wide;
}

std::string fromUtf16(unsigned codePage, std::u16string_view wide, unsigned flags) {
    if (wide.empty()) {
        return {};
    }
    // At most three bytes a unit (UTF-8); measure only should that fall short,
    // as it may when precomposing lengthens the units.
    const int units = static_cast<int>(wide.size());
    std::string narrow(wide.size() * 3, '\0');
    int size = wideCharToMultiByte(codePage, flags, wide.data(), units, narrow.data(),
                                   static_cast<int>(narrow.size()));
    if (size == 0) {
        size = wideCharToMultiByte(codePage, flags, wide.data(), units, nullptr, 0);
        narrow.assign(static_cast<std::size_t>(size), '\0');
        wideCharToMultiByte(codePage, flags, wide.data(), units, narrow.data(), size);
    }
    narrow.resize(static_cast<std::size_t>(size));
    return narrow;
}

}  // namespace quorrin
