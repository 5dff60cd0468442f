#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/text_ops.h"

namespace quorrin {
namespace {

struct TransformCase {
    std::string name;
    Text text;
    Text expected;
};

// The full-width space is the two bytes A1 A1; it counts as a space only
// where it stands as one character.
TEST(TrimBothEnds, Cases) {
    const std::vector<TransformCase> cases = {
        {"ascii spaces", "  a b  ", "a b"},
        {"full-width spaces",
         "\xA1\xA1"
         "a\xA1\xA1"
         "b\xA1\xA1",
         "a\xA1\xA1"
         "b"},
        {"mixed spaces", " \xA1\xA1 a \xA1\xA1", "a"},
        {"only spaces", " \xA1\xA1  ", ""},
        {"tabs and line breaks stay", " \ta\r\n ", "\ta\r\n"},
        {"bytes A1 A1 across two characters", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
        {"trail byte 0x20 is not a space", "\x81\x20", "\x81\x20"},
        {"lone A1 at the end", "a\xA1", "a\xA1"},
        {"empty", "", ""},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(trimBothEnds(c.text), c.expected);
    }
}

TEST(RemoveAllSpaces, Cases) {
    const std::vector<TransformCase> cases = {
        {"ascii spaces", " a b  c ", "abc"},
        {"full-width spaces",
         "\xA1\xA1"
         "a\xA1\xA1"
         "b",
         "ab"},
        {"tabs and line breaks stay", "a\t b\r\n", "a\tb\r\n"},
        {"bytes A1 A1 across two characters", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
        {"trail byte 0x20 is not a space", "\x81\x20 x", "\x81\x20x"},
        {"empty", "", ""},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(removeAllSpaces(c.text), c.expected);
    }
}

TEST(LetterCase, AsciiLettersOnlyTrailBytesUntouched) {
    EXPECT_EQ(toUpper("ab\x81\x61"
                      "c-z{"),
              Text("AB\x81\x61"
                   "C-Z{"));
    EXPECT_EQ(toLower("AB\x81\x41"
                      "C-Z["),
              Text("ab\x81\x41"
                   "c-z["));
    EXPECT_EQ(toUpper("x\x81"), Text("X\x81"));
}

struct IntCase {
    std::string name;
    Text text;
    int expected;
};

TEST(ToInt, Cases) {
    const std::vector<IntCase> cases = {
        {"digits", "123", 123},
        {"leading white space", " \t\r\n 8", 8},
        {"stops at the first other byte", "12 34", 12},
        {"trailing text", "-42abc", -42},
        {"plus sign", "+7", 7},
        {"sign alone", "-", 0},
        {"no digits", "abc", 0},
        {"empty", "", 0},
        {"spaces around", " 5 ", 5},
        {"full-width digits", "\xA3\xB1\xA3\xB2", 12},
        {"full-width minus", "\xA3\xAD\xA3\xB5", -5},
        {"full-width plus", "\xA3\xAB\xA3\xB3", 3},
        {"full-width and ascii digits mixed",
         "1\xA3\xB2"
         "3",
         123},
        {"full-width digits after leading space", "  \xA3\xB9", 9},
        {"Chinese before the digits",
         "\xB5\xDA"
         "1",
         0},
        {"Chinese after the digits", "12\xD2\xB3", 12},
        {"full-width letter stops",
         "4\xA3\xC1"
         "5",
         4},
        {"largest", "2147483647", INT_MAX},
        {"beyond the largest", "99999999999", INT_MAX},
        {"smallest", "-2147483648", INT_MIN},
        {"beyond the smallest", "-99999999999", INT_MIN},
        {"leading zeros", "007", 7},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toInt(c.text), c.expected);
    }
}

TEST(NumberTexts, DecimalAndHexadecimal) {
    const std::vector<TransformCase> cases = {
        {"decimal", toText(1234), "1234"},
        {"decimal negative", toText(-56), "-56"},
        {"hex zero", toHexText(0), "0"},
        {"hex upper case", toHexText(0xBEE), "BEE"},
        {"hex largest", toHexText(INT_MAX), "7FFFFFFF"},
        {"hex minus one", toHexText(-1), "FFFFFFFF"},
        {"hex negative", toHexText(-256), "FFFFFF00"},
        {"hex smallest", toHexText(INT_MIN), "80000000"},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, c.expected);
    }
}

TEST(SmallTexts, CharFromCodeAndBlankText) {
    EXPECT_EQ(charFromCode('A'), Text("A"));
    EXPECT_EQ(charFromCode(0xB0).str(), "\xB0");
    EXPECT_TRUE(charFromCode(0).empty());
    EXPECT_EQ(blankText(3), Text("   "));
    EXPECT_TRUE(blankText(0).empty());
    EXPECT_TRUE(blankText(-2).empty());
}

struct CompareCase {
    std::string name;
    Text a;
    Text b;
    bool caseSensitive;
    int expectedSign;
};

TEST(CompareText, ComparesUnsignedBytes) {
    const std::vector<CompareCase> cases = {
        {"equal", "abc", "abc", true, 0},
        {"below", "abc", "abd", true, -1},
        {"above", "abd", "abc", true, 1},
        {"prefix is below", "ab", "abc", true, -1},
        {"empty is below", "", "a", true, -1},
        {"high byte is above ascii", "\x81", "a", true, 1},
        {"case counts", "ABC", "abc", true, -1},
        {"case folded", "ABC", "abc", false, 0},
        {"case folded still orders", "ABC", "abd", false, -1},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int got = compareText(c.a, c.b, c.caseSensitive);
        EXPECT_EQ((got > 0) - (got < 0), c.expectedSign);
        if (c.caseSensitive) {
            EXPECT_EQ(c.a < c.b, c.expectedSign < 0);
            EXPECT_EQ(c.a == c.b, c.expectedSign == 0);
        }
    }
}

TEST(TextValue, IsCutAtTheFirstZeroByte) {
    const Text t(std::string_view("ab\0cd", 5));
    EXPECT_EQ(t.length(), 2);
    EXPECT_EQ(t.str(), "ab");
    EXPECT_TRUE(Text(std::string_view("\0x", 2)).empty());
    EXPECT_TRUE(Text(static_cast<const char*>(nullptr)).empty());
    EXPECT_EQ(textLength(Text("ab") + Text("cd")), 4);
}

TEST(TextArrayValue, IndexedFromOneAndEmptyOutside) {
    const TextArray items = {"one", "two"};
    EXPECT_EQ(items.count(), 2);
    EXPECT_EQ(items.at(1), Text("one"));
    EXPECT_EQ(items.at(2), Text("two"));
    EXPECT_TRUE(items.at(0).empty());
    EXPECT_TRUE(items.at(3).empty());
    EXPECT_TRUE(items.at(-1).empty());
}

TEST(Bytes, ConversionsKeepZerosOnlyInByteSets) {
    const ByteSet withZero(std::string("ab\0cd", 5));
    EXPECT_EQ(bytesLength(withZero), 5);
    EXPECT_EQ(toText(withZero), Text("ab"));
    EXPECT_EQ(toBytes("xyz"), ByteSet(std::string("xyz")));
    EXPECT_EQ(bytesLength(toBytes("xyz")), 3);
    EXPECT_EQ(ByteSet(std::string("a")) + ByteSet(std::string("\0b", 2)),
              ByteSet(std::string("a\0b", 3)));
    EXPECT_NE(ByteSet(std::string("a")), ByteSet(std::string("a\0", 2)));
    EXPECT_EQ(blankBytes(3), ByteSet(std::string(3, '\0')));
    EXPECT_TRUE(blankBytes(-1).empty());
    const char raw[4] = {'p', '\0', 'q', 'r'};
    EXPECT_EQ(pointerToBytes(raw, 4), ByteSet(std::string(raw, 4)));
    EXPECT_TRUE(pointerToBytes(raw, 0).empty());
    EXPECT_TRUE(pointerToBytes(nullptr, 4).empty());
}

struct BytesLeftCase {
    std::string name;
    int n;
    std::string expected;
};

TEST(Bytes, BytesLeftClampsToTheLength) {
    const ByteSet b(std::string("ab\0cd", 5));
    const std::vector<BytesLeftCase> cases = {
        {"negative", -1, ""},
        {"zero", 0, ""},
        {"up to a zero byte", 3, std::string("ab\0", 3)},
        {"whole", 5, std::string("ab\0cd", 5)},
        {"beyond the length", 99, std::string("ab\0cd", 5)},
    };
    for (const BytesLeftCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteSet got = bytesLeft(b, c.n);
        EXPECT_EQ(bytesLength(got), static_cast<int>(c.expected.size()));
        EXPECT_EQ(got, ByteSet(c.expected));
    }
}

}  // namespace
}  // namespace quorrin
