#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/regex_engine.h"

namespace quorrin {
namespace {

struct Options {
    bool ignoreCase = false;
    bool multiline = false;
    bool global = true;
};

// With `prepared`, the pattern is compiled once up front (with the JIT)
// instead of at every Execute; the answers must not differ.
RegexEngine makeEngine(const std::u16string& pattern, Options options, bool prepared = false) {
    RegexEngine engine;
    engine.setIgnoreCase(options.ignoreCase);
    engine.setMultiline(options.multiline);
    engine.setGlobal(options.global);
    engine.setPattern(pattern);
    if (prepared) {
        engine.prepare();
    }
    return engine;
}

template <typename Case>
std::vector<std::pair<Case, bool>> withAndWithoutPreparing(const std::vector<Case>& cases) {
    std::vector<std::pair<Case, bool>> runs;
    for (const Case& c : cases) {
        runs.emplace_back(c, false);
        runs.emplace_back(c, true);
    }
    return runs;
}

TEST(RegexEngine, StartsWithEveryOptionOffAndNoPattern) {
    const RegexEngine engine;
    EXPECT_FALSE(engine.ignoreCase());
    EXPECT_FALSE(engine.multiline());
    EXPECT_FALSE(engine.global());
    EXPECT_TRUE(engine.pattern().empty());
}

TEST(RegexEngine, PropertyWrittenByNameRefusesNamesItLacks) {
    RegexEngine engine;
    EXPECT_TRUE(engine.setProperty("IgnoreCase", true));
    EXPECT_TRUE(engine.setProperty("Multiline", true));
    EXPECT_TRUE(engine.setProperty("Global", true));
    EXPECT_TRUE(engine.ignoreCase());
    EXPECT_TRUE(engine.multiline());
    EXPECT_TRUE(engine.global());

    RegexEngine plain;
    EXPECT_FALSE(plain.setProperty("Singleline", true));
    EXPECT_FALSE(plain.setProperty("ignorecase", true));
    EXPECT_FALSE(plain.ignoreCase());
    EXPECT_FALSE(plain.multiline());
    EXPECT_FALSE(plain.global());
    // "." still stops at a line feed after the refused write.
    plain.setPattern(u"a.b");
    const auto matches = plain.execute(u"a\nb");
    ASSERT_NE(matches, nullptr);
    EXPECT_EQ(matches->count(), 0);
}

struct ExecuteCase {
    const char* name;
    std::u16string pattern;
    std::u16string subject;
    Options options;
    std::vector<RegexMatch> expected;
};

TEST(RegexEngine, ExecuteListsMatchesWithIndexesInUtf16Units) {
    const std::vector<ExecuteCase> cases{
        {"global lists all", u"a(\\d)", u"a1 a2", {}, {{u"a1", 0, {u"1"}}, {u"a2", 3, {u"2"}}}},
        {"not global lists the first", u"a\\d", u"a1 a2", {.global = false}, {{u"a1", 0, {}}}},
        {"case matters by default", u"AB", u"ab AB", {}, {{u"AB", 3, {}}}},
        {"ignore case", u"AB", u"ab AB", {.ignoreCase = true}, {{u"ab", 0, {}}, {u"AB", 3, {}}}},
        {"caret at the start only", u"^x", u"x\nx", {}, {{u"x", 0, {}}}},
        {"caret at every line when multiline",
         u"^x",
         u"x\nx",
         {.multiline = true},
         {{u"x", 0, {}}, {u"x", 2, {}}}},
        {"dollar at the very end only", u"x$", u"x\n", {}, {}},
        {"dollar before a line feed when multiline",
         u"x$",
         u"x\nx",
         {.multiline = true},
         {{u"x", 0, {}}, {u"x", 2, {}}}},
        {"dot stops at a line feed", u"a.b", u"a\nb a\rb", {}, {{u"a\rb", 4, {}}}},
        {"Chinese counts one unit", u"b", u"\u4E2D\u6587b", {}, {{u"b", 2, {}}}},
        {"astral character counts two units", u"b", u"\U0001F600b", {}, {{u"b", 2, {}}}},
        {"word class is ASCII only", u"\\w+", u"\u00E9\u4E2Dab", {}, {{u"ab", 2, {}}}},
        {"lazy quantifier", u"<(.+?)>", u"<a><b>", {}, {{u"<a>", 0, {u"a"}}, {u"<b>", 3, {u"b"}}}},
        {"group that took no part is empty", u"(a)|(b)", u"b", {}, {{u"b", 0, {u"", u"b"}}}},
        {"empty matches move on one character",
         u"a*",
         u"baa",
         {},
         {{u"", 0, {}}, {u"aa", 1, {}}, {u"", 3, {}}}},
        {"empty match steps over a surrogate pair",
         u"",
         u"\U0001F600",
         {},
         {{u"", 0, {}}, {u"", 2, {}}}},
        {"lone surrogates are stepped around",
         u".",
         std::u16string{u'a', char16_t{0xD800}, u'b', char16_t{0xDC00}},
         {},
         {{u"a", 0, {}}, {u"b", 2, {}}}},
        {"\\u escape", u"\\u0041", u"xA", {}, {{u"A", 1, {}}}},
        {"no match", u"z", u"abc", {}, {}},
    };
    for (const auto& [c, prepared] : withAndWithoutPreparing(cases)) {
        SCOPED_TRACE(std::string(c.name) + (prepared ? ", prepared" : ""));
        const auto matches = makeEngine(c.pattern, c.options, prepared).execute(c.subject);
        ASSERT_NE(matches, nullptr);
        ASSERT_EQ(matches->count(), static_cast<int>(c.expected.size()));
        for (int i = 0; i < matches->count(); ++i) {
            const RegexMatch& want = c.expected[static_cast<std::size_t>(i)];
            const RegexMatch* got = matches->item(i);
            ASSERT_NE(got, nullptr);
            EXPECT_EQ(got->value, want.value) << "match " << i;
            EXPECT_EQ(got->firstIndex, want.firstIndex) << "match " << i;
            EXPECT_EQ(got->subMatches, want.subMatches) << "match " << i;
        }
        EXPECT_EQ(matches->item(-1), nullptr);
        EXPECT_EQ(matches->item(matches->count()), nullptr);
    }
}

TEST(RegexEngine, RejectedPatternGivesNothing) {
    for (const bool prepared : {false, true}) {
        for (const char16_t* pattern : {u"(", u"a[", u"*a", u"(?<"}) {
            const RegexEngine engine = makeEngine(pattern, {}, prepared);
            EXPECT_EQ(engine.execute(u"a(b"), nullptr);
            EXPECT_EQ(engine.replace(u"a(b", u"x"), std::nullopt);
        }
    }
}

TEST(RegexEngine, WritingAnOptionOrThePatternDropsWhatWasPrepared) {
    RegexEngine engine = makeEngine(u"ab", {.global = true}, true);
    engine.setIgnoreCase(true);
    ASSERT_NE(engine.execute(u"AB ab"), nullptr);
    EXPECT_EQ(engine.execute(u"AB ab")->count(), 2);
    engine.prepare();
    engine.setPattern(u"b");
    EXPECT_EQ(engine.execute(u"AB ab")->count(), 2);
    engine.setPattern(u"^a");
    engine.prepare();
    EXPECT_EQ(engine.execute(u"x\nab")->count(), 0);
    engine.setMultiline(true);
    EXPECT_EQ(engine.execute(u"x\nab")->count(), 1);
}

struct ReplaceCase {
    const char* name;
    std::u16string pattern;
    bool global;
    std::u16string replacement;
    std::u16string expected;
};

TEST(RegexEngine, ReplaceExpandsGroupReferences) {
    const std::u16string subject = u"ab-cd";
    const std::vector<ReplaceCase> cases{
        {"numbered groups", u"(\\w)(\\w)", true, u"$2$1", u"ba-dc"},
        {"whole match", u"\\w+", true, u"[$&]", u"[ab]-[cd]"},
        {"first only without global", u"\\w+", false, u"<$&>", u"<ab>-cd"},
        {"dollar sign", u"-", true, u"$$", u"ab$cd"},
        {"before and after", u"-", true, u"($`|$')", u"ab(ab|cd)cd"},
        {"group zero stays as written", u"(b)", true, u"$0", u"a$0-cd"},
        {"missing group stays as written", u"(b)", true, u"$2", u"a$2-cd"},
        {"two digits fall back to one", u"(b)", true, u"$12", u"ab2-cd"},
        {"unknown sequence stays", u"(b)", true, u"$x$", u"a$x$-cd"},
        {"no match leaves the subject", u"z", true, u"y", u"ab-cd"},
        {"empty matches insert everywhere", u"x*", true, u".", u".a.b.-.c.d."},
        {"unset group gives nothing", u"(z)?b", true, u"[$1]", u"a[]-cd"},
    };
    for (const auto& [c, prepared] : withAndWithoutPreparing(cases)) {
        SCOPED_TRACE(std::string(c.name) + (prepared ? ", prepared" : ""));
        const auto replaced =
            makeEngine(c.pattern, {.global = c.global}, prepared).replace(subject, c.replacement);
        ASSERT_TRUE(replaced.has_value());
        EXPECT_EQ(*replaced, c.expected);
    }
}

TEST(RegexEngine, TenGroupsCanBeReferencedByTwoDigits) {
    const RegexEngine engine = makeEngine(u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", {});
    EXPECT_EQ(engine.replace(u"abcdefghij", u"$10$1"), u"ja");
}

TEST(RegexEngine, OneEngineServesSeveralThreads) {
    for (const bool prepared : {false, true}) {
        SCOPED_TRACE(prepared ? "prepared" : "compiled at every Execute");
        const RegexEngine engine = makeEngine(u"(\\d+)", {}, prepared);
        std::vector<std::thread> threads;
        std::vector<int> counts(4, -1);
        for (std::size_t t = 0; t < counts.size(); ++t) {
            threads.emplace_back([&, t] {
                const auto matches = engine.execute(u"1 22 333");
                counts[t] = matches ? matches->count() : -1;
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        EXPECT_EQ(counts, std::vector<int>(4, 3));
    }
}

}  // namespace
}  // namespace quorrin
