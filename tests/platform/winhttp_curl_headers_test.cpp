#include "platform/winhttp_curl_headers.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/winhttp.h"

namespace quorrin::winhttp_curl {
namespace {

constexpr std::uint32_t kAddOrReplace = WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE;

struct HeaderCase {
    const char* name;
    HeaderLines before;
    std::string block;
    std::uint32_t flags;
    bool accepted;
    HeaderLines after;
};

TEST(AddHeaderLines, FollowsTheAddAndReplaceFlags) {
    const HeaderLines two{{"Accept", "a"}, {"X-One", "1"}};
    const std::vector<HeaderCase> cases{
        {"add or replace appends new names in order",
         {},
         "User-Agent: U\r\nAccept: */*",
         kAddOrReplace,
         true,
         {{"User-Agent", "U"}, {"Accept", "*/*"}}},
        {"add or replace replaces in place, case ignored",
         two,
         "accept: b",
         kAddOrReplace,
         true,
         {{"accept", "b"}, {"X-One", "1"}}},
        {"replace drops duplicates",
         {{"A", "1"}, {"B", "2"}, {"a", "3"}},
         "A: 9",
         kAddOrReplace,
         true,
         {{"A", "9"}, {"B", "2"}}},
        {"replace with an empty value removes",
         two,
         "Accept:",
         kAddOrReplace,
         true,
         {{"X-One", "1"}}},
        {"add alone appends a second line",
         two,
         "Accept: b",
         WINHTTP_ADDREQ_FLAG_ADD,
         true,
         {{"Accept", "a"}, {"X-One", "1"}, {"Accept", "b"}}},
        {"replace alone needs the name", two, "X-Two: 2", WINHTTP_ADDREQ_FLAG_REPLACE, false, two},
        {"add if new refuses a present name", two, "X-ONE: 2", WINHTTP_ADDREQ_FLAG_ADD_IF_NEW,
         false, two},
        {"value trimmed, empty lines skipped",
         {},
         "\r\nCookie:   a=1; b=2  \r\n\r\n",
         kAddOrReplace,
         true,
         {{"Cookie", "a=1; b=2"}}},
        {"empty value kept when added", {}, "X-Empty:", kAddOrReplace, true, {{"X-Empty", ""}}},
        {"Chinese value bytes kept",
         {},
         "X-Name: \xD6\xD0",
         kAddOrReplace,
         true,
         {{"X-Name", "\xD6\xD0"}}},
        {"line without a colon refuses the whole block", two, "X-Two: 2\r\nbroken", kAddOrReplace,
         false, two},
        {"name with a space", {}, "Bad Name: 1", kAddOrReplace, false, {}},
        {"empty name", {}, ": 1", kAddOrReplace, false, {}},
        {"bare line feed cannot smuggle a line", {}, "X-A: 1\nX-B: 2", kAddOrReplace, false, {}},
        {"empty block", two, "", kAddOrReplace, true, two},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        HeaderLines headers = c.before;
        EXPECT_EQ(addHeaderLines(headers, c.block, c.flags), c.accepted);
        EXPECT_EQ(headers, c.after);
    }
}

}  // namespace
}  // namespace quorrin::winhttp_curl
