#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/literal.h"
#include "text/text_between.h"

namespace quorrin {
namespace {

struct BetweenCase {
    std::string name;
    Text source;
    Text left;
    Text right;
    int startPosition;
    bool caseInsensitive;
    Text expected;
};

TEST(TextBetween, Cases) {
    const Text pagerLeft = literalText("第1/");
    const Text pagerRight = literalText("页");
    const Text quoteLeft = literalText("title=#引号");
    const Text quote = literalText("#引号");
    const std::vector<BetweenCase> cases = {
        {"first piece", "<b>x</b><b>y</b>", "<b>", "</b>", 1, false, "x"},
        {"piece is not trimmed", literalText("第1/ 12 页"), pagerLeft, pagerRight, 1, false,
         " 12 "},
        {"Chinese piece", literalText("共第1/7页"), pagerLeft, pagerRight, 1, false, "7"},
        {"markers at once give empty", "[]", "[", "]", 1, false, ""},
        {"no left marker", "a]b", "[", "]", 1, false, ""},
        {"no right marker after the left", "]a[b", "[", "]", 1, false, ""},
        {"only the first left marker counts", "[a [b]", "[", "]", 1, false, "a [b"},
        {"start skips the first pair", "[a][b]", "[", "]", 2, false, "b"},
        {"start zero means the first byte", "[a][b]", "[", "]", 0, false, "a"},
        {"negative start means the first byte", "[a][b]", "[", "]", -3, false, "a"},
        {"start past the end", "[a][b]", "[", "]", 7, false, ""},
        {"case-sensitive unless asked", "<B>x</B>", "<b>", "</b>", 1, false, ""},
        {"caseInsensitive folds both markers", "<B>x</B>", "<b>", "</b>", 1, true, "x"},
        {"placeholder stands for a quote", "<a title=\"abc\">", quoteLeft, quote, 1, false, "abc"},
        {"placeholder and quote mixed", "<a title=\"abc\">", quoteLeft, "\">", 1, false, "abc"},
        {"trail byte is no marker", "\x81[a]", "[", "]", 1, false, ""},
        {"trail byte inside the piece", "[\x81]]", "[", "]", 1, false, "\x81]"},
        {"empty source", "", "[", "]", 1, false, ""},
        {"empty left marker marks nothing", "[a]", "", "]", 1, false, ""},
        {"empty right marker marks nothing", "[a]", "[", "", 1, false, ""},
        {"empty markers mark nothing", "[a]", "", "", 1, false, ""},
    };
    for (const BetweenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Text got = textBetween(c.source, c.left, c.right, c.startPosition, c.caseInsensitive);
        EXPECT_EQ(got.length(), c.expected.length());
        EXPECT_EQ(got, c.expected);
    }
}

TEST(TextBetween, DefaultsAreCaseSensitiveFromTheFirstByte) {
    EXPECT_EQ(textBetween("<B>x</B><b>y</b>", "<b>", "</b>"), Text("y"));
}

}  // namespace
}  // namespace quorrin
