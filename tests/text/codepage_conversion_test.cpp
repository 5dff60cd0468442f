#include "text/codepage_conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_ops.h"

namespace quorrin {
namespace {

using namespace std::string_view_literals;

ByteSet bytesOf(std::string_view bytes) {
    return ByteSet(std::string(bytes));
}

// "爵迹" in each encoding.
constexpr std::string_view kJueJiGbk = "\xBE\xF4\xBC\xA3"sv;
constexpr std::string_view kJueJiUtf8 = "\xE7\x88\xB5\xE8\xBF\xB9"sv;
constexpr std::string_view kJueJiWide = "\x35\x72\xF9\x8F"sv;
constexpr std::string_view kWideTerminator = "\x00\x00"sv;

struct NarrowCase {
    const char* name;
    std::string_view input;
    std::string_view expected;
};

TEST(GbkToUtf8, ConvertsEveryCase) {
    const std::vector<NarrowCase> cases = {
        {"chinese", kJueJiGbk, kJueJiUtf8},
        {"empty", "", ""},
        {"ascii and chinese", "a\xBE\xF4 1", "a\xE7\x88\xB5 1"},
        // 0x80 is one byte in code page 936 but three in UTF-8: more room
        // than the measure of the narrow side gives.
        {"single-byte euro signs", "\x80\x80\x80", "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
        {"invalid pair keeps the next ascii byte",
         "\x81\x20"
         "a",
         "\xEF\xBF\xBD a"},
    };
    for (const NarrowCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gbkToUtf8(Text(c.input)).str(), c.expected);
    }
}

TEST(Utf8ToGbk, ConvertsEveryCase) {
    const std::vector<NarrowCase> cases = {
        {"chinese", kJueJiUtf8, kJueJiGbk},
        {"empty", "", ""},
        {"character missing from 936",
         "a\xE0\xB8\x81"
         "b",
         "a?b"},
        {"surrogate pair missing from 936",
         "a\xF0\x9F\x98\x80"
         "b",
         "a?b"},
        // One unit when measured as code page 936, two in UTF-8.
        {"stray lead byte before a letter",
         "\xE7"
         "a",
         "?a"},
        {"many stray lead bytes",
         "\xE7"
         "a\xE7"
         "b\xE7"
         "c",
         "?a?b?c"},
    };
    for (const NarrowCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToGbk(Text(c.input)).str(), c.expected);
    }
}

// A converted page holds its own bytes, not the worst-case buffer it was
// converted into (up to three bytes a unit).
TEST(Utf8ToGbk, ConvertedPageKeepsNoRoomToSpare) {
    constexpr std::size_t kPage = 1 << 16;
    const Text page(std::string(kPage, 'a'));
    const Text fromCopy = utf8ToGbk(page);
    EXPECT_EQ(fromCopy.str(), page.str());
    EXPECT_LT(fromCopy.str().capacity(), 2 * kPage);
    const Text fromMoved = utf8ToGbk(Text(page));
    EXPECT_EQ(fromMoved.str(), page.str());
    EXPECT_LT(fromMoved.str().capacity(), 2 * kPage);
}

struct AnsiToWideCase {
    const char* name;
    std::string_view narrow;
    unsigned codePage;
    std::string_view expected;
};

TEST(AnsiToWide, GivesTheWholeTerminatedWideText) {
    const std::vector<AnsiToWideCase> cases = {
        {"empty gives the terminator alone", "", kCodePageUtf8, "\x00\x00"sv},
        {"utf8 chinese", kJueJiUtf8, kCodePageUtf8, "\x35\x72\xF9\x8F\x00\x00"sv},
        {"936 chinese", kJueJiGbk, kCodePageGbk, "\x35\x72\xF9\x8F\x00\x00"sv},
        {"ansi code page is 936", kJueJiGbk, kCodePageAnsi, "\x35\x72\xF9\x8F\x00\x00"sv},
        {"stray lead byte",
         "\xE7"
         "a",
         kCodePageUtf8, "\xFD\xFF\x61\x00\x00\x00"sv},
        {"surrogate pair", "\xF0\x9F\x98\x80", kCodePageUtf8, "\x3D\xD8\x00\xDE\x00\x00"sv},
        {"unknown code page gives the terminator alone", "abc", 12345, "\x00\x00"sv},
    };
    for (const AnsiToWideCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ansiToWide(Text(c.narrow), c.codePage), bytesOf(c.expected));
    }
}

TEST(AnsiToWide, DefaultCodePageIsUtf8) {
    EXPECT_EQ(ansiToWide(Text(kJueJiUtf8)), ansiToWide(Text(kJueJiUtf8), kCodePageUtf8));
}

struct WideToAnsiCase {
    const char* name;
    std::string_view wide;
    unsigned codePage;
    std::string_view expected;
};

TEST(WideToAnsi, GivesTheWholeTextBeforeTheTerminator) {
    const std::vector<WideToAnsiCase> cases = {
        {"empty", "", kCodePageGbk, ""},
        {"terminator alone", "\x00\x00"sv, kCodePageUtf8, ""},
        {"chinese to 936", "\x35\x72\xF9\x8F\x00\x00"sv, kCodePageGbk, kJueJiGbk},
        {"chinese to utf8", "\x35\x72\xF9\x8F\x00\x00"sv, kCodePageUtf8, kJueJiUtf8},
        {"ansi code page is 936", "\x35\x72\xF9\x8F\x00\x00"sv, kCodePageAnsi, kJueJiGbk},
        // Each Thai letter measures one "?" in 936 but takes three bytes in
        // UTF-8: more than twice the measure.
        {"utf8 longer than twice the 936 measure", "\x01\x0E\x01\x0E\x01\x0E\x00\x00"sv,
         kCodePageUtf8, "\xE0\xB8\x81\xE0\xB8\x81\xE0\xB8\x81"},
        {"surrogate pairs to utf8", "\x3D\xD8\x00\xDE\x3D\xD8\x00\xDE\x00\x00"sv, kCodePageUtf8,
         "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"},
        {"stops at the first zero unit", "\x35\x72\x00\x00\xF9\x8F\x00\x00"sv, kCodePageGbk,
         "\xBE\xF4"},
        // Never read past the end of a byte set that lacks a terminator.
        {"no terminator", "\x35\x72\xF9\x8F"sv, kCodePageGbk, kJueJiGbk},
        {"odd last byte ignored", "\x35\x72\xF9"sv, kCodePageGbk, "\xBE\xF4"},
    };
    for (const WideToAnsiCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wideToAnsi(bytesOf(c.wide), c.codePage).str(), c.expected);
    }
}

TEST(WideToAnsi, DefaultCodePageIsTheAnsiOne) {
    EXPECT_EQ(wideToAnsi(bytesOf("\x35\x72\xF9\x8F\x00\x00"sv)).str(), kJueJiGbk);
}

TEST(GbkToWide, KeepsOrDropsTheTerminator) {
    struct Case {
        const char* name;
        std::string_view narrow;
        bool dropTerminator;
        std::string_view expected;
    };
    const std::vector<Case> cases = {
        {"chinese", kJueJiGbk, false, "\x35\x72\xF9\x8F\x00\x00"sv},
        {"chinese without terminator", kJueJiGbk, true, kJueJiWide},
        {"empty", "", false, ""},
        {"empty without terminator", "", true, ""},
        {"ascii", "Ab", false, "\x41\x00\x62\x00\x00\x00"sv},
        {"single-byte euro sign", "\x80", true, "\xAC\x20"sv},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gbkToWide(Text(c.narrow), c.dropTerminator), bytesOf(c.expected));
    }
}

TEST(WideToGbk, ConvertsWholeUnitsUpToAZeroUnit) {
    const std::vector<NarrowCase> cases = {
        {"terminated", "\x35\x72\xF9\x8F\x00\x00"sv, kJueJiGbk},
        {"unterminated", kJueJiWide, kJueJiGbk},
        {"zero unit inside", "\x35\x72\x00\x00\xF9\x8F"sv, "\xBE\xF4"},
        {"odd length", "\x35\x72\xF9\x8F\x00"sv, kJueJiGbk},
        {"odd length without terminator", "\x35\x72\xF9"sv, "\xBE\xF4"},
        {"empty", "", ""},
        {"single byte", "\x41"sv, ""},
        {"terminator alone", kWideTerminator, ""},
        // e followed by a combining acute accent is precomposed to é (A8 A6).
        {"composite check", "\x65\x00\x01\x03"sv, "\xA8\xA6"},
        {"character missing from 936", "\x01\x0E\x41\x00"sv, "?A"},
    };
    for (const NarrowCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wideToGbk(bytesOf(c.input)).str(), c.expected);
    }
}

// Every valid two-byte character of code page 936, mixed with ASCII, comes
// back unchanged through UTF-8.
TEST(GbkUtf8RoundTrip, RandomDoubleByteTextSurvives) {
    std::mt19937 random(936);
    std::uniform_int_distribution<int> lead(0x81, 0xFE);
    std::uniform_int_distribution<int> trail(0x40, 0xFE);
    std::uniform_int_distribution<int> ascii(0x20, 0x7E);
    std::uniform_int_distribution<int> pick(0, 9);
    int characters = 0;
    for (int round = 0; round < 50; ++round) {
        std::string gbk;
        while (gbk.size() < 2000) {
            if (pick(random) == 0) {
                gbk += static_cast<char>(ascii(random));
                continue;
            }
            const std::string pair = {static_cast<char>(lead(random)),
                                      static_cast<char>(trail(random))};
            // Skip pairs that are no character: 0x7F is never a trail byte,
            // and unassigned pairs decode to the replacement character.
            const ByteSet wide = gbkToWide(Text(pair), true);
            if (wide.length() != 2 || wide == bytesOf("\xFD\xFF"sv)) {
                continue;
            }
            gbk += pair;
            ++characters;
        }
        const Text utf8 = gbkToUtf8(Text(gbk));
        ASSERT_EQ(utf8ToGbk(utf8).str(), gbk) << "round " << round;
    }
    EXPECT_GT(characters, 40000);
}

}  // namespace
}  // namespace quorrin
