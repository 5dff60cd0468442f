#pragma once

#include <unicode/ucnv.h>

#include <memory>

// The ICU converter handle as the code-page routines hold it.
namespace quorrin {

// The converter code page 936 is read and written with, everywhere: the
// quick-path tables are read out of it, so the two must agree.
inline constexpr char kGbkConverterName[] = "windows-936-2000";

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// The converter ICU knows by `name`, or none. A converter keeps state
// between calls, so each caller opens its own and never shares it between
// threads.
[[nodiscard]] inline Converter openConverter(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

}  // namespace quorrin
