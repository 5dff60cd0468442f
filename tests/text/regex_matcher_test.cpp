#include "text/regex_matcher.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/com_apartment.h"
#include "platform/literal.h"

namespace quorrin {
namespace {

const Text kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

TEST(RegexMatcher, ReadsNothingBeforeTheFirstExecute) {
    const RegexMatcher matcher;
    int position = 7;
    EXPECT_EQ(matcher.matchCount(), 0);
    EXPECT_EQ(matcher.subMatchCount(), 0);
    EXPECT_EQ(matcher.matchText(1, position).str(), "");
    EXPECT_EQ(position, -1);
    EXPECT_EQ(matcher.subMatchText(1, 1).str(), "");
    EXPECT_EQ(matcher.currentPattern().str(), "");
    EXPECT_EQ(matcher.replace("x").str(), "");
}

struct OptionCase {
    const char* name;
    bool caseSensitive;
    bool multiline;
    bool global;
    std::vector<std::string> expected;
};

TEST(RegexMatcher, OptionsDefaultToIgnoreCaseMultilineGlobal) {
    const Text pattern = "^ab";
    const Text subject = "AB\nab\nAb";
    RegexMatcher byDefault;
    ASSERT_TRUE(byDefault.execute(pattern, subject));
    ASSERT_EQ(byDefault.matchCount(), 3);
    EXPECT_EQ(byDefault.matchText(1).str(), "AB");
    EXPECT_EQ(byDefault.matchText(2).str(), "ab");
    EXPECT_EQ(byDefault.matchText(3).str(), "Ab");

    const std::vector<OptionCase> cases{
        {"case sensitive", true, true, true, {"ab"}},
        {"not multiline", false, false, true, {"AB"}},
        {"not global", false, true, false, {"AB"}},
        {"all off", true, false, false, {}},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.execute(pattern, subject, c.caseSensitive, c.multiline, c.global));
        ASSERT_EQ(matcher.matchCount(), static_cast<int>(c.expected.size()));
        for (int i = 1; i <= matcher.matchCount(); ++i) {
            EXPECT_EQ(matcher.matchText(i).str(), c.expected[static_cast<std::size_t>(i - 1)]);
        }
    }
}

TEST(RegexMatcher, RejectedPatternFailsAndReadsEmpty) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute("(a)", "a"));
    EXPECT_FALSE(matcher.execute("(a", "a"));
    EXPECT_EQ(matcher.matchCount(), 0);
    EXPECT_EQ(matcher.subMatchCount(), 0);
    EXPECT_EQ(matcher.matchText(1).str(), "");
    EXPECT_EQ(matcher.subMatchText(1, 1).str(), "");
    EXPECT_EQ(matcher.replace("x").str(), "");
    EXPECT_EQ(matcher.currentPattern().str(), "(a");  // the engine keeps what it was given
}

TEST(RegexMatcher, SubjectWithoutMatchGivesAnEmptyList) {
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.execute("z(\\d)", "abc"));
    EXPECT_EQ(matcher.matchCount(), 0);
    EXPECT_EQ(matcher.subMatchCount(), 0);
    EXPECT_EQ(matcher.matchText(1).str(), "");
    EXPECT_EQ(matcher.subMatchText(1, 1).str(), "");
    EXPECT_EQ(matcher.replace("y").str(), "abc");
}

struct CharsetCase {
    const char* name;
    Text page;
    int matches;
    std::string declared;
};

TEST(RegexMatcher, FindsTheCharsetAPageDeclares) {
    const std::vector<CharsetCase> cases{
        {"html5 tag", "<head><meta charset=\"utf-8\"><title>", 1, "utf-8"},
        {"http-equiv tag",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />", 1, "gb2312"},
        {"upper case keeps its case", "<META HTTP-EQUIV=\"X\" CONTENT=\"text/html; CHARSET=GBK\">",
         1, "GBK"},
        {"name without quote", "<meta charset=big5>", 1, "big5"},
        {"two tags: the first counts", "<meta charset=\"utf-8\">\n<meta charset=\"big5\">", 2,
         "utf-8"},
        {"tag broken by a line feed",
         "<meta http-equiv=\"a\"\ncontent=\"text/html; charset=utf-8\">", 0, ""},
        {"carriage return does not break", "<meta\rcharset=\"utf-8\">", 1, "utf-8"},
        {"no tag", "<html><body>charset=utf-8</body>", 0, ""},
    };
    // The pattern compiled afresh, and compiled once up front as a page
    // fetch keeps it.
    const std::shared_ptr<const RegexEngine> prepared = RegexMatcher::prepared(kCharsetPattern);
    for (const CharsetCase& c : cases) {
        for (const bool usePrepared : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (usePrepared ? ", prepared" : ""));
            RegexMatcher matcher;
            ASSERT_TRUE(usePrepared ? matcher.execute(prepared, c.page)
                                    : matcher.execute(kCharsetPattern, c.page));
            EXPECT_EQ(matcher.matchCount(), c.matches);
            EXPECT_EQ(matcher.subMatchText(1, 1).str(), c.declared);
            EXPECT_EQ(matcher.subMatchCount(), c.matches > 0 ? 1 : 0);
            EXPECT_EQ(matcher.currentPattern(), kCharsetPattern);
        }
    }
}

TEST(RegexMatcher, QuoteMarkerStandsForADoubleQuoteOnlyWhenAsked) {
    const Text pattern = literalText("title=#引号(.+?)#引号");
    const Text quoted = "<a title=\"x y\">";
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute(pattern, quoted, false, true, true, true));
    EXPECT_EQ(matcher.currentPattern().str(), "title=\"(.+?)\"");
    ASSERT_EQ(matcher.matchCount(), 1);
    EXPECT_EQ(matcher.subMatchText(1, 1).str(), "x y");

    ASSERT_TRUE(matcher.execute(pattern, quoted));
    EXPECT_EQ(matcher.currentPattern().str(), "title=#\xD2\xFD\xBA\xC5(.+?)#\xD2\xFD\xBA\xC5");
    EXPECT_EQ(matcher.matchCount(), 0);

    const Text literal = literalText("title=#引号x y#引号");
    ASSERT_TRUE(matcher.execute(pattern, literal));
    ASSERT_EQ(matcher.matchCount(), 1);
    EXPECT_EQ(matcher.subMatchText(1, 1).str(), "x y");
}

struct PositionCase {
    const char* name;
    Text pattern;
    Text subject;
    bool caseSensitive;
    std::vector<std::string> texts;
    std::vector<int> positions;
};

TEST(RegexMatcher, PositionIsTheByteOffsetFoundFromTheCharacterIndex) {
    const std::vector<PositionCase> cases{
        {"one-byte characters", "abc", "xxabc", false, {"abc"}, {2}},
        {"repeated letter lands one byte early", "a", "aaa", false, {"a", "a", "a"}, {0, 0, 1}},
        {"search ignores case with the engine", "a", "Aa", false, {"A", "a"}, {0, 0}},
        {"search keeps case with the engine", "a", "Aa", true, {"a"}, {1}},
        {"after one two-byte character", "abc", literalText("中abc"), false, {"abc"}, {2}},
        {"after three two-byte characters", "abc", literalText("中文中abc"), false, {"abc"}, {6}},
        {"start on a second byte steps over", "abc", literalText("中文abc"), false, {"abc"}, {-2}},
        {"two-byte match", literalText("文"), literalText("中文"), false, {"\xCE\xC4"}, {2}},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.execute(c.pattern, c.subject, c.caseSensitive));
        ASSERT_EQ(matcher.matchCount(), static_cast<int>(c.texts.size()));
        for (int i = 1; i <= matcher.matchCount(); ++i) {
            int position = 99;
            EXPECT_EQ(matcher.matchText(i, position).str(),
                      c.texts[static_cast<std::size_t>(i - 1)]);
            EXPECT_EQ(position, c.positions[static_cast<std::size_t>(i - 1)]) << "match " << i;
        }
    }
}

TEST(RegexMatcher, SubMatchPositionIsSearchedFromTheWholeMatch) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute("(\\w)=(\\w)", "\xD6\xD0k=v k=w"));
    ASSERT_EQ(matcher.matchCount(), 2);
    ASSERT_EQ(matcher.subMatchCount(), 2);
    int position = 99;
    EXPECT_EQ(matcher.subMatchText(1, 2, position).str(), "v");
    EXPECT_EQ(position, 4);
    EXPECT_EQ(matcher.subMatchText(2, 1, position).str(), "k");
    EXPECT_EQ(position, 6);
}

TEST(RegexMatcher, NumbersOutsideTheListReadEmpty) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute("(a)(b)?", "a ab"));
    ASSERT_EQ(matcher.matchCount(), 2);
    EXPECT_EQ(matcher.subMatchCount(), 2);
    struct Probe {
        const char* name;
        int match;
        std::optional<int> sub;  // nothing: read the match itself
    };
    for (const Probe& p :
         {Probe{"match 0", 0, {}}, Probe{"match past the list", 3, {}}, Probe{"sub 0", 1, 0},
          Probe{"sub past the groups", 1, 3}, Probe{"sub of match past the list", 3, 1}}) {
        SCOPED_TRACE(p.name);
        int position = 99;
        const Text text = p.sub ? matcher.subMatchText(p.match, *p.sub, position)
                                : matcher.matchText(p.match, position);
        EXPECT_EQ(text.str(), "");
        EXPECT_EQ(position, -1);
    }
    EXPECT_EQ(matcher.subMatchText(1, 2).str(), "");  // a group that took no part
    EXPECT_EQ(matcher.subMatchText(2, 2).str(), "b");
}

struct ReplaceCase {
    const char* name;
    Text pattern;
    bool global;
    Text replacement;
    std::string expected;
};

TEST(RegexMatcher, ReplaceUsesThePatternOptionsAndGroupReferences) {
    const Text subject = literalText("张三@例子 李四@例子");
    const std::vector<ReplaceCase> cases{
        {"groups swapped", "(\\S+)@(\\S+)", true, "$2:$1",
         "\xC0\xFD\xD7\xD3:\xD5\xC5\xC8\xFD \xC0\xFD\xD7\xD3:\xC0\xEE\xCB\xC4"},
        {"whole match", "@", true, "[$&]",
         "\xD5\xC5\xC8\xFD[@]\xC0\xFD\xD7\xD3 \xC0\xEE\xCB\xC4[@]\xC0\xFD\xD7\xD3"},
        {"first only", "@", false, literalText("在"),
         "\xD5\xC5\xC8\xFD\xD4\xDA\xC0\xFD\xD7\xD3 \xC0\xEE\xCB\xC4@\xC0\xFD\xD7\xD3"},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.execute(c.pattern, subject, false, true, c.global));
        EXPECT_EQ(matcher.replace(c.replacement).str(), c.expected);
    }
}

TEST(RegexMatcher, HoldsOneComInitialisationForItsLifetime) {
    ASSERT_EQ(comInitCount(), 0);
    {
        RegexMatcher matcher;
        EXPECT_EQ(comInitCount(), 1);
        ASSERT_TRUE(matcher.execute("(b)", "abc"));
        EXPECT_EQ(comInitCount(), 1);
        {
            const RegexMatcher copy(matcher);
            EXPECT_EQ(comInitCount(), 2);
            EXPECT_EQ(copy.matchText(1).str(), "b");
            EXPECT_EQ(copy.subMatchText(1, 1).str(), "b");
            EXPECT_EQ(copy.currentPattern().str(), "(b)");
        }
        EXPECT_EQ(comInitCount(), 1);
    }
    EXPECT_EQ(comInitCount(), 0);
}

TEST(RegexMatcher, CopyKeepsItsResultsWhenTheSourceRunsAgain) {
    RegexMatcher source;
    ASSERT_TRUE(source.execute("b", "abc"));
    const RegexMatcher copy(source);
    ASSERT_TRUE(source.execute("z", "xyz"));
    EXPECT_EQ(source.matchText(1).str(), "z");
    int position = 99;
    EXPECT_EQ(copy.matchText(1, position).str(), "b");
    EXPECT_EQ(position, 1);
    EXPECT_EQ(copy.replace("B").str(), "aBc");
}

}  // namespace
}  // namespace quorrin
