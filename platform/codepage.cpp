#include "platform/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/unorm2.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace quorrin {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// One converter a call: a UConverter must never be shared between threads.
Converter openConverter(unsigned codePage) {
    const char* name = nullptr;
    switch (codePage) {
        case kCodePageAnsi:
        case kCodePageGbk:
            name = "windows-936-2000";
            break;
        case kCodePageUtf8:
            name = "UTF-8";
            break;
        default:
            return nullptr;
    }
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return converter;
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

// Copies a whole result out, or fails when it does not fit.
template <typename Unit>
int deliver(const std::basic_string<Unit>& result, Unit* out, int capacity) {
    const int size = static_cast<int>(result.size());
    if (capacity == 0) {
        return size;
    }
    if (out == nullptr || capacity < size) {
        return 0;
    }
    std::copy(result.begin(), result.end(), out);
    return size;
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

}  // namespace

int multiByteToWideChar(unsigned codePage, unsigned flags, const char* narrow, int length,
                        char16_t* wide, int capacity) {
    (void)flags;
    if (narrow == nullptr || length < -1 || length == 0 || capacity < 0) {
        return 0;
    }
    const Converter converter = openConverter(codePage);
    if (!converter) {
        return 0;
    }
    const int32_t n = unitCount(narrow, length);
    // Each byte gives at most one UTF-16 unit in both code pages, plus one
    // surrogate partner for a four-byte UTF-8 sequence: 2n always suffices.
    std::u16string result(static_cast<std::size_t>(n) * 2 + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(result.data()),
                                       static_cast<int32_t>(result.size()), narrow, n, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return 0;
    }
    result.resize(static_cast<std::size_t>(size));
    return deliver(result, wide, capacity);
}

int wideCharToMultiByte(unsigned codePage, unsigned flags, const char16_t* wide, int length,
                        char* narrow, int capacity) {
    if (wide == nullptr || length < -1 || length == 0 || capacity < 0) {
        return 0;
    }
    const Converter converter = openConverter(codePage);
    if (!converter) {
        return 0;
    }
    const int32_t n = unitCount(wide, length);
    const std::u16string source =
        (flags & kCompositeCheck) != 0 ? composed(wide, n) : std::u16string(wide, static_cast<std::size_t>(n));
    // A UTF-16 unit gives at most three bytes in UTF-8 and two in code page 936.
    std::string result(source.size() * 3 + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size =
        ucnv_fromUChars(converter.get(), result.data(), static_cast<int32_t>(result.size()),
                        reinterpret_cast<const UChar*>(source.data()),
                        static_cast<int32_t>(source.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return 0;
    }
    result.resize(static_cast<std::size_t>(size));
    return deliver(result, narrow, capacity);
}

}  // namespace quorrin
