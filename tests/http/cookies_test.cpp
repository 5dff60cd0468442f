#include "http/cookies.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorrin {
namespace {

struct MergeCase {
    const char* name;
    const char* cookies;
    const char* returned;
    const char* merged;
    const char* returnedAfter;
};

TEST(MergeCookies, RewritesBothVariables) {
    const std::vector<MergeCase> cases = {
        {"worked example", "a=1; b=2", "b=3; d=4; a=deleted", "b=3;d=4;", "b=3;d=4;a=deleted"},
        {"nothing returned leaves the form alone", "a=1; b", "", "a=1;b", ""},
        {"spaces only returned", "a=1;b=deleted", "   ", "a=1;b=deleted", ""},
        {"nothing current", "", "x=1;y=2", "x=1;y=2;", "x=1;y=2"},
        {"first of equal current names updated", "a=1;a=2", "a=3", "a=3;a=2;", "a=3"},
        {"names are case-sensitive", "SID=1", "sid=2", "SID=1;sid=2;", "sid=2"},
        {"later of equal returned names wins", "a=1", "b=1;b=2", "a=1;b=2;", "b=1;b=2"},
        {"returned name without value empties it", "a=1;b=2", "a", "b=2;", "a"},
        {"spaces inside values go, later equals stay", "t=x y", "u=p=q", "t=xy;u=p=q;", "u=p=q"},
        {"empty pieces dropped", "a=1;;b=2", "d=3", "a=1;b=2;d=3;", "d=3"},
        {"only exact deleted removes", "a=1", "a=Deleted", "a=Deleted;", "a=Deleted"},
        {"full-width spaces go", "x=1;\xA1\xA1y=2",
         "z=\xA1\xA1"
         "3",
         "x=1;y=2;z=3;", "z=3"},
        {"tabs stay", "a=1", "b=\t2", "a=1;b=\t2;", "b=\t2"},
        {"empty name left out", "=1;a=2", "b=3", "a=2;b=3;", "b=3"},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Text cookies(c.cookies);
        Text returned(c.returned);
        const Text result = mergeCookies(cookies, returned);
        EXPECT_EQ(cookies, Text(c.merged));
        EXPECT_EQ(result, Text(c.merged));
        EXPECT_EQ(returned, Text(c.returnedAfter));
    }
}

TEST(CookieItem, SplitsAtTheFirstEquals) {
    struct Case {
        const char* name;
        const char* item;
        const char* cookieName;
        const char* cookieValue;
    };
    const std::vector<Case> cases = {
        {"plain", "a=1", "a", "1"},
        {"name trimmed, value not", " a = 1 ", "a", " 1 "},
        {"value keeps later equals", "a=b=c", "a", "b=c"},
        {"no equals", " a ", "a", ""},
        {"empty name", "=v", "", "v"},
        {"empty", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cookieName(c.item), Text(c.cookieName));
        EXPECT_EQ(cookieValue(c.item), Text(c.cookieValue));
    }
}

}  // namespace
}  // namespace quorrin
