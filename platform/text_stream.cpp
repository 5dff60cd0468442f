#include "platform/text_stream.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>

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

std::optional<std::u16string> decode(UConverter* converter, const ByteSet& bytes) {
    if (bytes.empty()) {
        return std::u16string();
    }
    // Most sets give at most one unit a byte; grow once for the few that
    // give more.
    std::u16string wide(static_cast<std::size_t>(bytes.length()) + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t size =
        ucnv_toUChars(converter, reinterpret_cast<UChar*>(wide.data()),
                      static_cast<int32_t>(wide.size()), bytes.data(), bytes.length(), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        ucnv_resetToUnicode(converter);
        wide.assign(static_cast<std::size_t>(size) + 1, u'\0');
        size =
            ucnv_toUChars(converter, reinterpret_cast<UChar*>(wide.data()),
                          static_cast<int32_t>(wide.size()), bytes.data(), bytes.length(), &status);
    }
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    wide.resize(static_cast<std::size_t>(size));
    return wide;
}

// One pass into code page 936, with the converter the code-page calls use,
// so a character it lacks becomes the same "?".
std::optional<Text> toCodePage936(const std::u16string& wide) {
    const std::size_t end = std::min(wide.find(u'\0'), wide.size());
    if (end == 0) {
        return Text();
    }
    UErrorCode status = U_ZERO_ERROR;
    const Converter gbk(ucnv_open("windows-936-2000", &status));
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    // A UTF-16 unit gives at most two bytes.
    std::string narrow(end * 2 + 1, '\0');
    const int32_t size = ucnv_fromUChars(
        gbk.get(), narrow.data(), static_cast<int32_t>(narrow.size()),
        reinterpret_cast<const UChar*>(wide.data()), static_cast<int32_t>(end), &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    narrow.resize(static_cast<std::size_t>(size));
    return Text(narrow);
}

// Converts `run` (no zero byte) with `utf8` and `gbk` and appends it to
// `out`; false when a converter fails.
bool appendConverted(UConverter* utf8, UConverter* gbk, std::string_view run, std::u16string& wide,
                     std::string& out) {
    // UTF-8 gives at most one UTF-16 unit a byte, malformed bytes included.
    wide.resize(run.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t units = ucnv_toUChars(utf8, reinterpret_cast<UChar*>(wide.data()),
                                        static_cast<int32_t>(wide.size()), run.data(),
                                        static_cast<int32_t>(run.size()), &status);
    if (U_FAILURE(status)) {
        return false;
    }
    const std::size_t before = out.size();
    out.resize(before + static_cast<std::size_t>(units) * 2 + 1);
    const int32_t size =
        ucnv_fromUChars(gbk, out.data() + before, static_cast<int32_t>(out.size() - before),
                        reinterpret_cast<const UChar*>(wide.data()), units, &status);
    if (U_FAILURE(status)) {
        return false;
    }
    out.resize(before + static_cast<std::size_t>(size));
    return true;
}

// ASCII bytes read the same in UTF-8 and in code page 936, and no malformed
// UTF-8 sequence takes in an ASCII byte, so runs of ASCII are copied as they
// are and only the runs between go through the converters: on a page of
// mostly markup this saves nearly all the conversion work. A zero byte is
// U+0000 here and nowhere else, so the text ends at the first one.
std::optional<Text> utf8ToCodePage936(UConverter* utf8, const ByteSet& bytes) {
    const std::string_view all(bytes.data(), static_cast<std::size_t>(bytes.length()));
    const std::string_view body = all.substr(0, std::min(all.find('\0'), all.size()));
    if (body.empty()) {
        return Text();
    }
    UErrorCode status = U_ZERO_ERROR;
    const Converter gbk(ucnv_open("windows-936-2000", &status));
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    std::string out;
    out.reserve(body.size());
    std::u16string wide;
    auto at = body.begin();
    while (at != body.end()) {
        const auto asciiEnd = std::find_if_not(at, body.end(), isAscii);
        out.append(at, asciiEnd);
        const auto runEnd = std::find_if(asciiEnd, body.end(), isAscii);
        if (runEnd != asciiEnd &&
            !appendConverted(
                utf8, gbk.get(),
                std::string_view(&*asciiEnd, static_cast<std::size_t>(runEnd - asciiEnd)), wide,
                out)) {
            return std::nullopt;
        }
        at = runEnd;
    }
    return Text(std::move(out));
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
    if (isUtf8(converter.get())) {
        return utf8ToCodePage936(converter.get(), bytes);
    }
    const std::optional<std::u16string> wide = decode(converter.get(), bytes);
    if (!wide) {
        return std::nullopt;
    }
    return toCodePage936(*wide);
}

}  // namespace quorrin
