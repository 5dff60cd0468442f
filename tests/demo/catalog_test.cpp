#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/catalog.h"
#include "demo/site.h"

namespace quorrin::demo {
namespace {

struct PageCountCase {
    const char* name;
    std::string keyword;
    int pages;
};

// A keyword ending in "#n" asks for n pages; every other keyword keeps the
// count it had before that ending meant anything (values pinned from then).
TEST(DemoCatalog, PageCountOfKeyword) {
    const std::vector<PageCountCase> cases = {
        {"busy keyword", "爵迹", 5},
        {"empty keyword", "", 1},
        {"plain keyword", "abc", 4},
        {"another plain keyword", "quorrin", 4},
        {"asks for fifty", "测试#50", 50},
        {"asks for one", "测试#1", 1},
        {"asks for the most", "#999", 999},
        {"only the last mark counts", "a#7#12", 12},
        {"zero is no ask", "#0", 3},
        {"leading zero is no ask", "a#05", 3},
        {"four digits are no ask", "#1000", 4},
        {"Chinese with four digits", "测试#1000", 2},
        {"mark without digits", "a#", 2},
        {"Chinese mark without digits", "电影#", 4},
        {"digits then a letter", "a#5x", 1},
    };
    for (const PageCountCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pageCountFor(c.keyword), c.pages);
    }
}

TEST(DemoCatalog, AskedPagesAllHoldRowsAndNoneBeyond) {
    const std::string keyword = "测试#50";
    for (const int page : {1, 25, 50}) {
        SCOPED_TRACE(page);
        const std::vector<Share> shares = sharesOnPage(keyword, page);
        ASSERT_EQ(shares.size(), 10U);
        int matching = 0;
        for (const Share& share : shares) {
            matching += share.title.find(keyword) != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(matching, 8);
    }
    EXPECT_TRUE(sharesOnPage(keyword, 51).empty());
}

// The client sends "#" percent-encoded; the page it gets back announces the
// asked count in its pager, where the client reads it.
TEST(DemoSite, ResultPageAnnouncesAskedPageCount) {
    Site site("http://127.0.0.1:1");
    const std::string encoded = "%E6%B5%8B%E8%AF%95%2350";  // 测试#50

    const Response first = site.handle("GET", "/search-all-" + encoded + "-1/");
    EXPECT_EQ(first.status, 200);
    EXPECT_NE(first.body.find("第1/50页"), std::string::npos);
    EXPECT_NE(first.body.find("/search-all-" + encoded + "-50/"), std::string::npos);

    const Response last = site.handle("GET", "/search-all-" + encoded + "-50/");
    EXPECT_EQ(last.status, 200);
    EXPECT_NE(last.body.find("第50/50页"), std::string::npos);
    EXPECT_NE(last.body.find("测试#50 第50页-1 "), std::string::npos);
}

}  // namespace
}  // namespace quorrin::demo
