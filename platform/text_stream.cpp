#include "platform/text_stream.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gbk_quick.h"

namespace quorrin {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

constexpr int kMaxLabelLength = 64;

// A label is handed to ICU only when it cannot be read as anything but a
// converter name: no path, no option list, no empty name (which ICU would
// take for the default converter).
bool isPlainLabel(const Text& label) {
    if (label.empty() || label.length() > kMaxLabelLength) {
        return false;
    }
    return std::all_of(label.view().begin(), label.view().end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '.' || c == ':';
    });
}

struct LabelOverride {
    const char* label;
    const char* converter;
};

// Labels whose ICU converter reads fewer characters than the Windows one.
constexpr std::array kOverrides{
    LabelOverride{"gb2312", "windows-936-2000"}, LabelOverride{"iso-8859-1", "windows-1252"},
    LabelOverride{"iso8859-1", "windows-1252"},  LabelOverride{"iso_8859-1", "windows-1252"},
    LabelOverride{"latin1", "windows-1252"},     LabelOverride{"l1", "windows-1252"},
};

// ICU's own comparison: case, "-", "_" and spaces are ignored.
const char* converterName(const Text& label) {
    for (const LabelOverride& entry : kOverrides) {
        if (ucnv_compareNames(label.c_str(), entry.label) == 0) {
            return entry.converter;
        }
    }
    return label.c_str();
}

// One converter a call: a UConverter must never be shared between threads.
Converter openConverter(const Text& label) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(converterName(label), &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return converter;
}

constexpr std::size_t kPivotUnits = 4096;

// Converts `in` from the declared set into code page 936 through ICU's own
// pivot and appends it to `out`, with the converter the code-page calls
// use, so a character it lacks becomes the same "?". False when the
// conversion fails.
bool appendConverted(UConverter* source, std::string_view in, std::string& out) {
    UErrorCode status = U_ZERO_ERROR;
    const Converter gbk(ucnv_open("windows-936-2000", &status));
    if (U_FAILURE(status)) {
        return false;
    }
    // Mostly no longer than the input: UTF-8 and single-byte sets never
    // grow into code page 936 but by substitutions; grown when it falls short.
    std::size_t written = out.size();
    out.resize(written + in.size());
    std::array<UChar, kPivotUnits> pivot{};
    UChar* pivotSource = pivot.data();
    UChar* pivotTarget = pivot.data();
    const char* at = in.data();
    bool first = true;
    for (;;) {
        char* target = out.data() + written;
        status = U_ZERO_ERROR;
        ucnv_convertEx(gbk.get(), source, &target, out.data() + out.size(), &at,
                       in.data() + in.size(), pivot.data(), &pivotSource, &pivotTarget,
                       pivot.data() + pivot.size(), first, true, &status);
        first = false;
        written = static_cast<std::size_t>(target - out.data());
        if (status != U_BUFFER_OVERFLOW_ERROR) {
            break;
        }
        out.resize(out.size() * 2);
    }
    out.resize(written);
    return U_SUCCESS(status);
}

bool isUtf8(UConverter* converter) {
    UErrorCode status = U_ZERO_ERROR;
    const char* name = ucnv_getName(converter, &status);
    return U_SUCCESS(status) && name != nullptr && std::string_view(name) == "UTF-8";
}

}  // namespace

std::optional<Text> readStreamText(const ByteSet& bytes, const Text& charset) {
    if (!isPlainLabel(charset)) {
        return std::nullopt;
    }
    const Converter converter = openConverter(charset);
    if (!converter) {
        return std::nullopt;
    }
    // Zero bytes convert like any other; the text is cut at the first one.
    std::string out;
    std::string_view rest = bytes.view();
    if (isUtf8(converter.get())) {
        // Well-formed UTF-8 of the BMP quickly; ICU from the first byte that
        // is anything else, which is a character boundary.
        rest.remove_prefix(gbk::appendFromUtf8(rest, out));
    }
    if (!rest.empty() && !appendConverted(converter.get(), rest, out)) {
        return std::nullopt;
    }
    return Text(std::move(out));
}

}  // namespace quorrin
