#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <array>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/text_stream.h"
#include "platform/utf8_gbk.h"

// The quick UTF-8 path must give exactly what ICU gives on its own, for
// every character it takes and wherever it hands over to ICU.
namespace quorrin {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU alone, the whole input in one conversion, cut at the first zero byte.
std::string icuReading(const std::string& utf8) {
    UErrorCode status = U_ZERO_ERROR;
    const Converter from(ucnv_open("UTF-8", &status));
    const Converter to(ucnv_open("windows-936-2000", &status));
    EXPECT_TRUE(U_SUCCESS(status));
    std::string out(utf8.size() * 2 + 16, '\0');
    char* target = out.data();
    const char* source = utf8.data();
    std::array<UChar, 1024> pivot{};
    UChar* pivotSource = pivot.data();
    UChar* pivotTarget = pivot.data();
    ucnv_convertEx(to.get(), from.get(), &target, out.data() + out.size(), &source,
                   utf8.data() + utf8.size(), pivot.data(), &pivotSource, &pivotTarget,
                   pivot.data() + pivot.size(), true, true, &status);
    EXPECT_TRUE(U_SUCCESS(status));
    out.resize(static_cast<std::size_t>(target - out.data()));
    return out.substr(0, out.find('\0'));
}

std::string streamReading(const std::string& utf8) {
    const std::optional<Text> text = readStreamText(ByteSet(utf8), Text("utf-8"));
    return text ? text->str() : std::string("<refused>");
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

TEST(Utf8AsGbk, EveryCharacterOfTheBasicPlaneAsIcuMapsIt) {
    std::string all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            appendUtf8(all, c);
        }
    }
    std::string quick;
    EXPECT_EQ(appendUtf8AsGbk(all, quick), all.size()) << "every one of them is taken";
    EXPECT_EQ(quick, icuReading(all));
}

TEST(Utf8AsGbk, StopsAtTheFirstSequenceItDoesNotTakeAndKeepsWhatCameBefore) {
    struct Case {
        const char* name;
        std::string input;
        std::size_t taken;
    };
    const std::vector<Case> cases{
        {"stray trail byte", "ab\x80", 2},
        {"overlong two bytes", "\xE4\xB8\xAD\xC0\x80", 3},
        {"overlong three bytes", "a\xE0\x80\xAF", 1},
        {"surrogate", "a\xED\xA0\x80", 1},
        {"four bytes", "0123456789\xF0\x9F\x98\x80", 10},
        {"cut at the end", "\xE4\xB8\xAD\xE4\xB8", 3},
        {"lead byte out of range", "abcdefgh\xF5\x80", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = "kept";
        EXPECT_EQ(appendUtf8AsGbk(c.input, out), c.taken);
        EXPECT_EQ(out, "kept" + icuReading(c.input.substr(0, c.taken)));
    }
}

// Texts of valid characters of every length, ASCII runs longer and shorter
// than a word, zero bytes and broken sequences, read through the stream.
TEST(Utf8AsGbk, StreamReadsRandomTextsAsIcuDoes) {
    const std::vector<std::string> pieces{"a",
                                          "<div class=\"row\">",
                                          "\xC3\xA9",
                                          "\xE4\xB8\xAD",
                                          "\xE7\x88\xB5",
                                          "\xEF\xBF\xBD",
                                          "\xE2\x82\xAC",
                                          "\xF0\x9F\x98\x80",
                                          "\x80",
                                          "\xC0\x80",
                                          "\xE0\x80\x80",
                                          "\xED\xA0\x80",
                                          "\xE4\xB8",
                                          "\xFF",
                                          std::string(1, '\0'),
                                          "0123456789abcdef"};
    std::mt19937 random(936);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> count(0, 60);
    // Zero bytes are rare, so most texts run long before they are cut.
    std::bernoulli_distribution allowZero(0.1);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const bool zeros = allowZero(random);
        for (int i = count(random); i > 0; --i) {
            const std::string& piece = pieces[pick(random)];
            if (piece[0] != '\0' || zeros) {
                text += piece;
            }
        }
        ASSERT_EQ(streamReading(text), icuReading(text)) << "round " << round;
    }
}

}  // namespace
}  // namespace quorrin
