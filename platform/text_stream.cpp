#include "platform/text_stream.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "platform/gbk_quick.h"
#include "platform/icu_converter.h"
#include "platform/in_turns.h"

namespace quorrin {
namespace {

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
    LabelOverride{"gb2312", kGbkConverterName}, LabelOverride{"iso-8859-1", "windows-1252"},
    LabelOverride{"iso8859-1", "windows-1252"}, LabelOverride{"iso_8859-1", "windows-1252"},
    LabelOverride{"latin1", "windows-1252"},    LabelOverride{"l1", "windows-1252"},
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

constexpr std::size_t kPivotUnits = 4096;

// The decoded text as it grows: `written` bytes of result, then room.
struct Decoded {
    std::string bytes;
    std::size_t written = 0;

    [[nodiscard]] char* end() { return bytes.data() + written; }
    [[nodiscard]] std::size_t room() const { return bytes.size() - written; }
};

// Converts `in` from the declared set into code page 936 through ICU's own
// pivot, after what `out` holds, with the converter the code-page calls use
// (`gbk`), so a character it lacks becomes the same "?". False when the
// conversion fails.
bool appendConverted(UConverter* source, UConverter* gbk, std::string_view in, Decoded& out) {
    std::array<UChar, kPivotUnits> pivot{};
    UChar* pivotSource = pivot.data();
    UChar* pivotTarget = pivot.data();
    const char* at = in.data();
    bool first = true;
    for (;;) {
        char* target = out.end();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_convertEx(gbk, source, &target, out.bytes.data() + out.bytes.size(), &at,
                       in.data() + in.size(), pivot.data(), &pivotSource, &pivotTarget,
                       pivot.data() + pivot.size(), first, true, &status);
        first = false;
        out.written = static_cast<std::size_t>(target - out.bytes.data());
        if (status != U_BUFFER_OVERFLOW_ERROR) {
            return U_SUCCESS(status);
        }
        out.bytes.resize(std::max<std::size_t>(out.bytes.size() * 2, 64));
    }
}

// Well-formed UTF-8 of the BMP goes the quick way; where that stops, ICU
// reads up to and including the next ASCII byte, which no malformed
// sequence takes in, so the quick way starts again on a character boundary.
// The quick way stops where the buffer is full; the converter grows it.
bool appendUtf8(UConverter* utf8, UConverter* gbk, std::string_view in, Decoded& out) {
    const auto quick = [&](std::string_view rest) {
        std::size_t taken = 0;
        const std::size_t used = gbk::fromUtf8(rest, out.end(), out.room(), taken);
        out.written += taken;
        return used;
    };
    const auto convert = [&](std::string_view piece) {
        return appendConverted(utf8, gbk, piece, out);
    };
    return inTurns(in, quick, convert, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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
    const Converter converter = openConverter(converterName(charset));
    if (!converter) {
        return std::nullopt;
    }
    const Converter gbk = openConverter(kGbkConverterName);
    if (!gbk) {
        return std::nullopt;
    }
    // Mostly no longer than the input: UTF-8 and single-byte sets never grow
    // into code page 936 but by substitutions; grown when it falls short.
    // Zero bytes convert like any other; the text is cut at the first one.
    Decoded out{std::string(bytes.view().size(), '\0')};
    const bool converted = isUtf8(converter.get())
                               ? appendUtf8(converter.get(), gbk.get(), bytes.view(), out)
                               : appendConverted(converter.get(), gbk.get(), bytes.view(), out);
    if (!converted) {
        return std::nullopt;
    }
    out.bytes.resize(out.written);
    return Text(std::move(out.bytes));
}

}  // namespace quorrin
