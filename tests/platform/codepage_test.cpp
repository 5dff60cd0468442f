#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codepage.h"

namespace quorrin {
namespace {

// Both directions with the Windows conventions: capacity 0 measures, a
// buffer too small fails with 0, length -1 takes the terminator along.
std::u16string toWide(unsigned codePage, const std::string& narrow, int length) {
    const int units = multiByteToWideChar(codePage, 0, narrow.c_str(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    const int written =
        multiByteToWideChar(codePage, 0, narrow.c_str(), length, wide.data(), units);
    EXPECT_EQ(written, units);
    return wide;
}

std::string toNarrow(unsigned codePage, const std::u16string& wide, int length,
                     unsigned flags = 0) {
    const int bytes = wideCharToMultiByte(codePage, flags, wide.c_str(), length, nullptr, 0);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    const int written =
        wideCharToMultiByte(codePage, flags, wide.c_str(), length, narrow.data(), bytes);
    EXPECT_EQ(written, bytes);
    return narrow;
}

int byteCount(const std::string& s) {
    return static_cast<int>(s.size());
}

struct ToWideCase {
    std::string name;
    unsigned codePage;
    std::string narrow;
    int length;  // -1: zero-terminated
    std::u16string expected;
};

TEST(MultiByteToWideChar, Cases) {
    const std::vector<ToWideCase> cases = {
        {"code page 936", kCodePageGbk, "\xD6\xD0\xCE\xC4", 4, u"\u4E2D\u6587"},
        {"code page 0 is 936", kCodePageAnsi, "\xD6\xD0\xCE\xC4", 4, u"\u4E2D\u6587"},
        {"utf-8", kCodePageUtf8, "\xE4\xB8\xAD\xE6\x96\x87", 6, u"\u4E2D\u6587"},
        {"length -1 includes the terminator", kCodePageGbk, "a\xD6\xD0", -1,
         std::u16string(u"a\u4E2D\0", 3)},
        {"explicit length stops early", kCodePageGbk, "abc", 2, u"ab"},
        {"0x80 is the euro sign", kCodePageGbk, "\x80", 1, u"\u20AC"},
        {"surrogate pair from utf-8", kCodePageUtf8, "\xF0\x9F\x98\x80", 4, u"\U0001F600"},
        {"stray lead byte before ascii", kCodePageGbk, "\x81 a", 3, u"\uFFFD a"},
        {"stray lead byte at the end", kCodePageGbk, "a\x81", 2, u"a\uFFFD"},
        {"stray lead byte before the terminator", kCodePageGbk, "a\x81", -1,
         std::u16string(u"a\uFFFD\0", 3)},
        {"invalid utf-8 byte", kCodePageUtf8,
         "a\xFF"
         "b",
         3, u"a\uFFFDb"},
        {"utf-8 lead without its continuation", kCodePageUtf8, "a\xC3(", 3, u"a\uFFFD("},
        {"truncated utf-8 at the end", kCodePageUtf8, "a\xE4\xB8", 3, u"a\uFFFD"},
        {"encoded surrogate in utf-8", kCodePageUtf8, "\xED\xA0\x80", 3, u"\uFFFD\uFFFD\uFFFD"},
    };
    for (const ToWideCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u16string got = toWide(c.codePage, c.narrow, c.length);
        EXPECT_EQ(got.size(), c.expected.size());
        EXPECT_EQ(got, c.expected);
    }
}

TEST(MultiByteToWideChar, BufferTooSmallFailsAndWritesOnlyWhatFits) {
    const std::string narrow = "\xD6\xD0\xCE\xC4";
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, narrow.c_str(), 4, nullptr, 0), 2);
    std::u16string one(1, u'x');
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, narrow.c_str(), 4, one.data(), 1), 0);
    // With -1 the terminator needs its own unit.
    std::u16string two(2, u'x');
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, narrow.c_str(), -1, two.data(), 2), 0);
    std::u16string three(3, u'x');
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, narrow.c_str(), -1, three.data(), 3), 3);
    EXPECT_EQ(three, std::u16string(u"\u4E2D\u6587\0", 3));
}

TEST(MultiByteToWideChar, RejectsWhatItCannotRead) {
    char16_t out[8] = {};
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, nullptr, -1, out, 8), 0);
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, "abc", 0, out, 8), 0);
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, "abc", -2, out, 8), 0);
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, "abc", 3, out, -1), 0);
    EXPECT_EQ(multiByteToWideChar(kCodePageGbk, 0, "abc", 3, nullptr, 8), 0);
    EXPECT_EQ(multiByteToWideChar(12345, 0, "abc", 3, out, 8), 0);
}

struct ToNarrowCase {
    std::string name;
    unsigned codePage;
    std::u16string wide;
    int length;  // -1: zero-terminated
    unsigned flags;
    std::string expected;
};

TEST(WideCharToMultiByte, Cases) {
    const std::vector<ToNarrowCase> cases = {
        {"code page 936", kCodePageGbk, u"\u4E2D\u6587", 2, 0, "\xD6\xD0\xCE\xC4"},
        {"code page 0 is 936", kCodePageAnsi, u"\u4E2D\u6587", 2, 0, "\xD6\xD0\xCE\xC4"},
        {"utf-8", kCodePageUtf8, u"\u4E2D\u6587", 2, 0, "\xE4\xB8\xAD\xE6\x96\x87"},
        {"length -1 includes the terminator", kCodePageGbk, u"a\u4E2D", -1, 0,
         std::string("a\xD6\xD0\0", 4)},
        {"full-width space", kCodePageGbk, u"\u3000", 1, 0, "\xA1\xA1"},
        {"euro sign is 0x80", kCodePageGbk, u"\u20AC", 1, 0, "\x80"},
        {"unmappable character", kCodePageGbk,
         u"a\u0E01"
         "b",
         3, 0, "a?b"},
        {"surrogate pair without a code-936 form", kCodePageGbk, u"\U0001F600", 2, 0, "?"},
        {"surrogate pair to utf-8", kCodePageUtf8, u"\U0001F600", 2, 0, "\xF0\x9F\x98\x80"},
        {"unpaired high surrogate to utf-8", kCodePageUtf8,
         u"a\xD800"
         "b",
         3, 0,
         "a\xEF\xBF\xBD"
         "b"},
        {"unpaired low surrogate to utf-8", kCodePageUtf8, u"a\xDC00", 2, 0, "a\xEF\xBF\xBD"},
        {"unpaired surrogate at the end", kCodePageUtf8, u"a\xD800", 2, 0, "a\xEF\xBF\xBD"},
        {"unpaired surrogate to 936", kCodePageGbk,
         u"a\xD800"
         "b",
         3, 0, "a?b"},
        {"composite check precomposes", kCodePageGbk, u"e\u0301", 2, kCompositeCheck, "\xA8\xA6"},
    };
    for (const ToNarrowCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string got = toNarrow(c.codePage, c.wide, c.length, c.flags);
        EXPECT_EQ(byteCount(got), byteCount(c.expected));
        EXPECT_EQ(got, c.expected);
    }
}

TEST(WideCharToMultiByte, BufferTooSmallFails) {
    const std::u16string wide = u"\u4E2D\u6587";
    EXPECT_EQ(wideCharToMultiByte(kCodePageGbk, 0, wide.c_str(), 2, nullptr, 0), 4);
    EXPECT_EQ(wideCharToMultiByte(kCodePageGbk, 0, wide.c_str(), -1, nullptr, 0), 5);
    char small[3] = {};
    EXPECT_EQ(wideCharToMultiByte(kCodePageGbk, 0, wide.c_str(), 2, small, 3), 0);
    char exact[4] = {};
    EXPECT_EQ(wideCharToMultiByte(kCodePageGbk, 0, wide.c_str(), 2, exact, 4), 4);
    EXPECT_EQ(std::string(exact, 4), "\xD6\xD0\xCE\xC4");
}

TEST(WideCharToMultiByte, RejectsWhatItCannotRead) {
    char out[8] = {};
    EXPECT_EQ(wideCharToMultiByte(kCodePageGbk, 0, nullptr, -1, out, 8), 0);
    EXPECT_EQ(wideCharToMultiByte(kCodePageGbk, 0, u"abc", 0, out, 8), 0);
    EXPECT_EQ(wideCharToMultiByte(kCodePageGbk, 0, u"abc", 3, nullptr, 8), 0);
    EXPECT_EQ(wideCharToMultiByte(54321, 0, u"abc", 3, out, 8), 0);
}

// Every double-byte character of code page 936 comes back as itself.
TEST(CodePageRoundTrip, EveryDoubleByteCharacterOfTheChineseRange) {
    std::string all;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            all.push_back(static_cast<char>(lead));
            all.push_back(static_cast<char>(trail));
        }
    }
    const std::u16string wide = toWide(kCodePageGbk, all, byteCount(all));
    EXPECT_EQ(wide.size(), all.size() / 2);
    EXPECT_EQ(wide.find(u'\uFFFD'), std::u16string::npos);
    EXPECT_EQ(toNarrow(kCodePageGbk, wide, static_cast<int>(wide.size())), all);
}

}  // namespace
}  // namespace quorrin

namespace quorrin {
namespace {

TEST(WholeStringConversion, EveryByteAndUnitIsConvertedZerosIncluded) {
    const std::string gbk("\xBE\xF4\x00\xBC\xA3", 5);  // 爵, a zero byte, 迹
    const std::u16string wide = toUtf16(kCodePageGbk, gbk);
    EXPECT_EQ(wide, (std::u16string{u'\u7235', u'\0', u'\u8FF9'}));
    EXPECT_EQ(fromUtf16(kCodePageGbk, wide), gbk);
    EXPECT_EQ(fromUtf16(kCodePageUtf8, wide), std::string("\xE7\x88\xB5\x00\xE8\xBF\xB9", 7));
    EXPECT_EQ(toUtf16(kCodePageUtf8, "\xF0\x9F\x98\x80"), u"\U0001F600");  // a surrogate pair
    EXPECT_EQ(toUtf16(kCodePageGbk, ""), u"");
    EXPECT_EQ(fromUtf16(kCodePageGbk, u""), "");
}

TEST(WholeStringConversion, FlagsReachTheConversion) {
    // e and a combining acute accent: é (A8 A6) only when precomposed.
    EXPECT_EQ(fromUtf16(kCodePageGbk, u"e\u0301", kCompositeCheck), "\xA8\xA6");
    EXPECT_EQ(fromUtf16(kCodePageGbk, u"e\u0301"), "e?");
}

}  // namespace
}  // namespace quorrin
