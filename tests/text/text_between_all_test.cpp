#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/literal.h"
#include "platform/pending_events.h"
#include "text/text_between.h"

namespace quorrin {
namespace {

struct AllCase {
    std::string name;
    Text source;
    Text left;
    Text right;
    TextArray expected;
    bool caseSensitive = false;
    int maxLength = 0;
    Text prefix = {};
    Text suffix = {};
    bool includeLeft = false;
    bool includeRight = false;
    int startPosition = 0;
};

void runCases(const std::vector<AllCase>& cases) {
    for (const AllCase& c : cases) {
        SCOPED_TRACE(c.name);
        TextArray results = {"left over", "from before"};
        const int count =
            textBetweenAll(c.source, c.left, c.right, results, c.caseSensitive, c.maxLength,
                           c.prefix, c.suffix, c.includeLeft, c.includeRight, c.startPosition);
        EXPECT_EQ(count, c.expected.count());
        EXPECT_EQ(results.count(), c.expected.count());
        EXPECT_EQ(results, c.expected);
    }
}

TEST(TextBetweenAll, MarkersAndResumption) {
    runCases({
        {.name = "every pair in order",
         .source = "<i>a</i> <i>b</i>",
         .left = "<i>",
         .right = "</i>",
         .expected = {"a", "b"}},
        {.name = "case ignored by default",
         .source = "<I>a</I><i>b</i>",
         .left = "<i>",
         .right = "</i>",
         .expected = {"a", "b"}},
        {.name = "caseSensitive",
         .source = "<I>a</I><i>b</i>",
         .left = "<i>",
         .right = "</i>",
         .expected = {"b"},
         .caseSensitive = true},
        {.name = "each closing marker opens the next piece",
         .source = "|x|y|z|",
         .left = "|",
         .right = "|",
         .expected = {"x", "y", "z"}},
        {.name = "left marker beginning at the right marker",
         .source = "<a>1<a>2<",
         .left = "<a>",
         .right = "<",
         .expected = {"1", "2"}},
        {.name = "left marker overlapping the right marker",
         .source = "-x1y-x2y-",
         .left = "-x",
         .right = "y-",
         .expected = {"1", "2"}},
        {.name = "last left marker without a right one",
         .source = "[a][b",
         .left = "[",
         .right = "]",
         .expected = {"a"}},
        {.name = "no pair", .source = "[a", .left = "[", .right = "]", .expected = {}},
        {.name = "empty source", .source = "", .left = "[", .right = "]", .expected = {}},
        {.name = "placeholder bytes are searched as they are",
         .source = literalText("x=\"a\" x=#引号b#引号"),
         .left = literalText("x=#引号"),
         .right = literalText("#引号"),
         .expected = {"b"}},
        {.name = "trail byte is no marker",
         .source = "\x81[x][y]",
         .left = "[",
         .right = "]",
         .expected = {"y"}},
        {.name = "Chinese pieces",
         .source = literalText("<t>爵迹</t><t> 电影 </t>"),
         .left = "<t>",
         .right = "</t>",
         .expected = {"\xBE\xF4\xBC\xA3", "\xB5\xE7\xD3\xB0"}},
    });
}

TEST(TextBetweenAll, TrimmingAndEmptyPieces) {
    runCases({
        {.name = "spaces trimmed, tabs and line breaks kept",
         .source = "[ a ][\ta\n][\xA1\xA1"
                   "b\xA1\xA1]",
         .left = "[",
         .right = "]",
         .expected = {"a", "\ta\n", "b"}},
        {.name = "empty and blank pieces dropped",
         .source = "[][  ][c]",
         .left = "[",
         .right = "]",
         .expected = {"c"}},
        {.name = "prefix keeps empty pieces",
         .source = "[][  ][c]",
         .left = "[",
         .right = "]",
         .expected = {"p", "p", "pc"},
         .prefix = "p"},
        {.name = "suffix keeps empty pieces",
         .source = "[][c]",
         .left = "[",
         .right = "]",
         .expected = {";", "c;"},
         .suffix = ";"},
        {.name = "prefix and suffix",
         .source = "[a][b]",
         .left = "[",
         .right = "]",
         .expected = {"<a>", "<b>"},
         .prefix = "<",
         .suffix = ">"},
    });
}

TEST(TextBetweenAll, IncludedMarkersLengthLimitAndStart) {
    runCases({
        {.name = "markers included as the caller wrote them",
         .source = "<I>a</I>",
         .left = "<i>",
         .right = "</i>",
         .expected = {"<i>a</i>"},
         .includeLeft = true,
         .includeRight = true},
        {.name = "right marker only",
         .source = "<i>a</i>",
         .left = "<i>",
         .right = "</i>",
         .expected = {"a</i>"},
         .includeRight = true},
        {.name = "markers not added to a dropped piece",
         .source = "<i> </i>",
         .left = "<i>",
         .right = "</i>",
         .expected = {},
         .includeLeft = true,
         .includeRight = true},
        {.name = "maxLength keeps shorter entries only",
         .source = "[abc][abcd][ab]",
         .left = "[",
         .right = "]",
         .expected = {"abc", "ab"},
         .maxLength = 4},
        {.name = "maxLength counts prefix and suffix",
         .source = "[a][ab]",
         .left = "[",
         .right = "]",
         .expected = {"(a)"},
         .maxLength = 4,
         .prefix = "(",
         .suffix = ")"},
        {.name = "maxLength counts included markers",
         .source = "[a][ab]",
         .left = "[",
         .right = "]",
         .expected = {"[a]"},
         .maxLength = 4,
         .includeLeft = true,
         .includeRight = true},
        {.name = "negative maxLength keeps nothing",
         .source = "[a][b]",
         .left = "[",
         .right = "]",
         .expected = {},
         .maxLength = -1},
        {.name = "start skips the first pair",
         .source = "[a][b]",
         .left = "[",
         .right = "]",
         .expected = {"b"},
         .startPosition = 2},
        {.name = "negative start means the first byte",
         .source = "[a][b]",
         .left = "[",
         .right = "]",
         .expected = {"a", "b"},
         .startPosition = -4},
        {.name = "start past the end",
         .source = "[a][b]",
         .left = "[",
         .right = "]",
         .expected = {},
         .startPosition = 7},
    });
}

// An empty marker would be found at every position; the walk must still end.
TEST(TextBetweenAll, EmptyMarkersCollectNothingAndEnd) {
    runCases({
        {.name = "empty left marker", .source = "[a]", .left = "", .right = "]", .expected = {}},
        {.name = "empty right marker", .source = "[a]", .left = "[", .right = "", .expected = {}},
        {.name = "both empty with a prefix",
         .source = "[a]",
         .left = "",
         .right = "",
         .expected = {},
         .prefix = "p"},
    });
}

int passes = 0;  // only touched by the handler below, on this thread
void countPass() {
    ++passes;
}

// Between passes the window runtime may process its events; with a negative
// maxLength every pair is still visited though none is kept.
TEST(TextBetweenAll, LetsPendingEventsRunOncePerPass) {
    passes = 0;
    const PendingEventsHandler before = setPendingEventsHandler(&countPass);
    TextArray results;
    EXPECT_EQ(textBetweenAll("[a][ ][b]x[", "[", "]", results, false, -1), 0);
    setPendingEventsHandler(before);
    EXPECT_EQ(passes, 3);
    EXPECT_TRUE(results.empty());
}

}  // namespace
}  // namespace quorrin
