#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_ops.h"

namespace quorrin {
namespace {

struct SliceCase {
    std::string name;
    Text got;
    Text expected;
};

TEST(TextSlices, LeftRightMidClamp) {
    const Text t = "abcdef";
    const std::vector<SliceCase> cases = {
        {"left within", leftText(t, 2), "ab"},
        {"left whole", leftText(t, 6), "abcdef"},
        {"left beyond length", leftText(t, 99), "abcdef"},
        {"left zero", leftText(t, 0), ""},
        {"left negative", leftText(t, -3), ""},
        {"left of empty", leftText("", 3), ""},
        {"right within", rightText(t, 2), "ef"},
        {"right beyond length", rightText(t, 99), "abcdef"},
        {"right zero", rightText(t, 0), ""},
        {"right negative", rightText(t, -1), ""},
        {"mid within", midText(t, 2, 3), "bcd"},
        {"mid runs past the end", midText(t, 5, 10), "ef"},
        {"mid from the last byte", midText(t, 6, 1), "f"},
        {"mid start past the end", midText(t, 7, 1), ""},
        {"mid start zero", midText(t, 0, 2), ""},
        {"mid start negative", midText(t, -1, 2), ""},
        {"mid count zero", midText(t, 2, 0), ""},
        {"mid count negative", midText(t, 2, -4), ""},
        // Cuts count bytes and may split a two-byte character.
        {"mid cuts bytes", midText("\xD6\xD0\xCE\xC4", 2, 2), "\xD0\xCE"},
    };
    for (const SliceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.expected);
    }
}

struct ReplaceCase {
    std::string name;
    Text text;
    Text old;
    Text replacement;
    int start;
    int count;
    bool caseSensitive;
    Text expected;
};

TEST(ReplaceSubtext, Cases) {
    const std::vector<ReplaceCase> cases = {
        {"all", "a-b-c", "-", "+", 1, kAllOccurrences, true, "a+b+c"},
        {"count one", "a-b-c-d", "-", "+", 1, 1, true, "a+b-c-d"},
        {"count two", "a-b-c-d", "-", "+", 1, 2, true, "a+b+c-d"},
        {"count above matches", "a-b", "-", "+", 1, 5, true, "a+b"},
        {"count zero changes nothing", "a-b", "-", "+", 1, 0, true, "a-b"},
        {"start keeps what is before it", "a-b-c", "-", "+", 3, kAllOccurrences, true, "a-b+c"},
        {"start on a match", "a-b-c", "-", "+", 2, kAllOccurrences, true, "a+b+c"},
        {"start below one", "a-b-c", "-", "+", -2, kAllOccurrences, true, "a+b+c"},
        {"start past the end", "a-b-c", "-", "+", 6, kAllOccurrences, true, "a-b-c"},
        {"start and count", "a-b-c-d", "-", "+", 3, 1, true, "a-b+c-d"},
        {"case-sensitive skips other case", "Ab-aB-ab", "ab", "x", 1, kAllOccurrences, true,
         "Ab-aB-x"},
        {"case-insensitive", "Ab-aB-ab", "ab", "x", 1, kAllOccurrences, false, "x-x-x"},
        {"empty old changes nothing", "abc", "", "x", 1, kAllOccurrences, true, "abc"},
        {"default replacement removes", "a b c", " ", "", 1, kAllOccurrences, true, "abc"},
        {"scan resumes after a match", "aaaa", "aa", "b", 1, kAllOccurrences, true, "bb"},
        {"overlap is not replaced twice", "aaa", "aa", "b", 1, kAllOccurrences, true, "ba"},
        {"replacement holding old is not rescanned", "aa", "a", "aa", 1, kAllOccurrences, true,
         "aaaa"},
        {"trail byte 0x5C is kept", "\x81\x5C\\", "\\", "/", 1, kAllOccurrences, true, "\x81\x5C/"},
        {"two-byte old", "\xD6\xD0\xCE\xC4\xD6\xD0", "\xD6\xD0", "Z", 1, kAllOccurrences, true,
         "Z\xCE\xC4Z"},
        {"pair across characters untouched", "\xB0\xA1\xA1\xB0", "\xA1\xA1", " ", 1,
         kAllOccurrences, true, "\xB0\xA1\xA1\xB0"},
        {"empty text", "", "a", "b", 1, kAllOccurrences, true, ""},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(replaceSubtext(c.text, c.old, c.replacement, c.start, c.count, c.caseSensitive),
                  c.expected);
    }
}

TEST(ReplaceSubtext, DefaultsReplaceAllFromTheStartCaseSensitive) {
    EXPECT_EQ(replaceSubtext("xAx-ax", "ax"), Text("xAx-"));
}

struct SplitCase {
    std::string name;
    Text text;
    Text delimiter;
    TextArray expected;
};

TEST(SplitText, Cases) {
    const std::vector<SplitCase> cases = {
        {"empty piece in the middle kept", "a;;b", ";", {"a", "", "b"}},
        {"empty last piece dropped", "a;", ";", {"a"}},
        {"non-empty last piece kept", "a;b", ";", {"a", "b"}},
        {"empty first piece kept", ";a", ";", {"", "a"}},
        {"delimiter alone", ";", ";", {""}},
        {"two delimiters alone", ";;", ";", {"", ""}},
        {"no delimiter", "abc", ";", {"abc"}},
        {"empty text gives none", "", ";", {}},
        {"longer delimiter", "a::b::", "::", {"a", "b"}},
        {"trail byte is not a delimiter", "\x81\x5C\\b", "\\", {"\x81\x5C", "b"}},
        {"two-byte pieces", "\xD6\xD0,\xCE\xC4", ",", {"\xD6\xD0", "\xCE\xC4"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TextArray pieces = splitText(c.text, c.delimiter);
        EXPECT_EQ(pieces.count(), c.expected.count());
        EXPECT_EQ(pieces, c.expected);
    }
}

}  // namespace
}  // namespace quorrin
