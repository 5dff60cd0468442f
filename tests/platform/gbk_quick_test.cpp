#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <array>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/gbk_quick.h"
#include "platform/text_stream.h"

// The quick paths must give exactly what ICU gives on its own, for every
// character they take and wherever they hand over to ICU.
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

Converter openGbk() {
    UErrorCode status = U_ZERO_ERROR;
    Converter gbk(ucnv_open("windows-936-2000", &status));
    EXPECT_TRUE(U_SUCCESS(status));
    return gbk;
}

std::u16string icuUnits(const std::string& narrow) {
    const Converter gbk = openGbk();
    std::u16string out(narrow.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size = ucnv_toUChars(gbk.get(), reinterpret_cast<UChar*>(out.data()),
                                       static_cast<int32_t>(out.size()), narrow.data(),
                                       static_cast<int32_t>(narrow.size()), &status);
    EXPECT_TRUE(U_SUCCESS(status));
    out.resize(static_cast<std::size_t>(size));
    return out;
}

std::string icuBytes(const std::u16string& wide) {
    const Converter gbk = openGbk();
    std::string out(wide.size() * 4 + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size = ucnv_fromUChars(gbk.get(), out.data(), static_cast<int32_t>(out.size()),
                                         reinterpret_cast<const UChar*>(wide.data()),
                                         static_cast<int32_t>(wide.size()), &status);
    EXPECT_TRUE(U_SUCCESS(status));
    out.resize(static_cast<std::size_t>(size));
    return out;
}

// The code-page calls with a buffer of exactly `capacity`.
std::optional<std::u16string> callUnits(const std::string& narrow, std::size_t capacity) {
    std::u16string out(capacity, u'\0');
    const int size =
        multiByteToWideChar(kCodePageGbk, 0, narrow.data(), static_cast<int>(narrow.size()),
                            out.data(), static_cast<int>(capacity));
    if (size == 0) {
        return std::nullopt;
    }
    out.resize(static_cast<std::size_t>(size));
    return out;
}

std::optional<std::string> callBytes(const std::u16string& wide, std::size_t capacity) {
    std::string out(capacity, '\0');
    const int size =
        wideCharToMultiByte(kCodePageGbk, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                            static_cast<int>(capacity));
    if (size == 0) {
        return std::nullopt;
    }
    out.resize(static_cast<std::size_t>(size));
    return out;
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

struct Quick {
    std::size_t taken;
    std::string bytes;
};

Quick quickFromUtf8(const std::string& utf8, std::size_t capacity) {
    std::string out(capacity, '\0');
    std::size_t written = 0;
    const std::size_t taken = gbk::fromUtf8(utf8, out.data(), capacity, written);
    out.resize(written);
    return {taken, out};
}

TEST(QuickUtf8ToGbk, EveryCharacterOfTheBasicPlaneAsIcuMapsIt) {
    std::string all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            appendUtf8(all, c);
        }
    }
    const Quick quick = quickFromUtf8(all, all.size());
    EXPECT_EQ(quick.taken, all.size()) << "every one of them is taken";
    EXPECT_EQ(quick.bytes, icuReading(all));
}

TEST(QuickUtf8ToGbk, StopsAtTheFirstSequenceItDoesNotTakeOrHasNoRoomFor) {
    struct Case {
        const char* name;
        std::string input;
        std::size_t capacity;
        std::size_t taken;
    };
    const std::vector<Case> cases{
        {"stray trail byte", "ab\x80", 16, 2},
        {"overlong two bytes", "\xE4\xB8\xAD\xC0\x80", 16, 3},
        {"overlong three bytes", "a\xE0\x80\xAF", 16, 1},
        {"surrogate", "a\xED\xA0\x80", 16, 1},
        {"four bytes", "0123456789\xF0\x9F\x98\x80", 16, 10},
        {"cut at the end", "\xE4\xB8\xAD\xE4\xB8", 16, 3},
        {"lead byte out of range", "abcdefgh\xF5\x80", 16, 8},
        {"no room for a two-byte character", "ab\xE4\xB8\xAD", 3, 2},
        {"no room for more ASCII", "0123456789abcdef", 9, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Quick quick = quickFromUtf8(c.input, c.capacity);
        EXPECT_EQ(quick.taken, c.taken);
        EXPECT_EQ(quick.bytes, icuReading(c.input.substr(0, c.taken)));
    }
}

// Texts of valid characters of every length, ASCII runs longer and shorter
// than a word, zero bytes and broken sequences, read through the stream.
TEST(QuickUtf8ToGbk, StreamReadsRandomTextsAsIcuDoes) {
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

// Every lead-trail pair (assigned, unassigned, or with a trail that ICU reads
// on its own) and every BMP character, through the code-page calls.
TEST(QuickGbk, EveryPairAndEveryCharacterAsIcuReadsAndWritesThem) {
    std::string pairs;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            pairs += static_cast<char>(lead);
            pairs += static_cast<char>(trail);
        }
    }
    EXPECT_EQ(callUnits(pairs, pairs.size()), icuUnits(pairs));

    std::u16string units;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            units += static_cast<char16_t>(c);
        }
    }
    EXPECT_EQ(callBytes(units, units.size() * 2), icuBytes(units));
}

// Texts of ASCII, pairs, stray and cut lead bytes, the single bytes 0x80
// and 0xFF; and of units with lone and paired surrogates and ignorables:
// through the code-page calls with room to spare and with a buffer one too
// small, which fails as it does without the quick path.
TEST(QuickGbk, RandomTextsAsIcuDoesWithBuffersOfEverySize) {
    const std::vector<std::string> narrowPieces{
        "a",    "0123456789", "\xD6\xD0", "\xB0\xA1", "\x81\x40", "\xA1\x40", "\x81\x7F",
        "\x80", "\xFF",       "\x81",     "\xD6",     "\xFE\xFE", "\xAA\xA1", std::string(1, '\0')};
    const std::vector<std::u16string> widePieces{u"a",
                                                 u"0123456789",
                                                 u"\u4E2D",
                                                 u"\u00E9",
                                                 u"\u20AC",
                                                 u"\u00AD",
                                                 u"\uFEFF",
                                                 std::u16string{char16_t{0xD83D}, char16_t{0xDE00}},
                                                 std::u16string(1, char16_t{0xD83D}),
                                                 std::u16string(1, char16_t{0xDE00}),
                                                 u"\uE000",
                                                 u"\uFFFD",
                                                 std::u16string(1, u'\0')};
    std::mt19937 random(936);
    std::uniform_int_distribution<int> count(1, 40);
    for (int round = 0; round < 1000; ++round) {
        std::string narrow;
        std::u16string wide;
        for (int i = count(random); i > 0; --i) {
            narrow += narrowPieces[random() % narrowPieces.size()];
            wide += widePieces[random() % widePieces.size()];
        }
        const std::u16string units = icuUnits(narrow);
        ASSERT_EQ(callUnits(narrow, narrow.size() + 8), units) << "round " << round;
        ASSERT_EQ(callUnits(narrow, units.size()), units) << "round " << round;
        // (A capacity of 0 would measure instead.)
        if (units.size() > 1) {
            ASSERT_EQ(callUnits(narrow, units.size() - 1), std::nullopt) << "round " << round;
        }
        const std::string bytes = icuBytes(wide);
        if (bytes.empty()) {
            continue;  // only ignorables: a call that writes nothing answers 0
        }
        ASSERT_EQ(callBytes(wide, wide.size() * 4), bytes) << "round " << round;
        ASSERT_EQ(callBytes(wide, bytes.size()), bytes) << "round " << round;
        if (bytes.size() > 1) {
            ASSERT_EQ(callBytes(wide, bytes.size() - 1), std::nullopt) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace quorrin
