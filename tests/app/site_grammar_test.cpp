#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/site_grammar.h"
#include "platform/literal.h"
#include "tests/app/fixtures/site_pages.h"

namespace quorrin::site {

// Found by argument-dependent lookup, so it must sit in the row's namespace.
[[maybe_unused]] static void PrintTo(const ResultRow& row, std::ostream* out) {
    *out << '(' << row.title << ", " << row.sharer << ", " << row.shareTime << ')';
}

namespace {

// Expected texts in code page 936, written as bytes.
const Text kTitle1 = "\xBE\xF4\xBC\xA3 \xB5\xE7\xD3\xB0 1080P";    // 爵迹 电影 1080P
const Text kTitle2 = "\xD0\xA1\xCA\xB1\xB4\xFA \xC8\xAB\xBC\xAF";  // 小时代 全集
const Text kTitle3 = "\xBE\xF4\xBC\xA3 \xD4\xAD\xD6\xF8 txt";      // 爵迹 原著 txt
const Text kSharer1 = "\xD5\xC5\xC8\xFD";                          // 张三
const Text kSharer2 = "\xC0\xEE\xCB\xC4";                          // 李四
const Text kSharer3 = "\xCD\xF5\xCE\xE5";                          // 王五
const Text kKeyword = "\xBE\xF4\xBC\xA3";                          // 爵迹

const ResultRow kRow1{kTitle1, kSharer1, "2016-10-01"};
const ResultRow kRow2{kTitle2, kSharer2, "2016-09-30"};
const ResultRow kRow3{kTitle3, kSharer3, "2016-09-29"};

TEST(SiteGrammar, ResultPageGivesThreeColumnListsTrimmed) {
    const ColumnLists lists = extractColumns(literalText(fixtures::kResultPage));
    EXPECT_EQ(lists.titles, (TextArray{kTitle1, kTitle2, kTitle3}));
    EXPECT_EQ(lists.sharers, (TextArray{kSharer1, kSharer2, kSharer3}));
    EXPECT_EQ(lists.shareTimes, (TextArray{"2016-10-01", "2016-09-30", "2016-09-29"}));
}

TEST(SiteGrammar, ExtractionEmptiesTheCallersLists) {
    TextArray titles = {"old"};
    TextArray sharers = {"old"};
    TextArray shareTimes = {"old"};
    extractColumns("<html>nothing here</html>", titles, sharers, shareTimes);
    EXPECT_TRUE(titles.empty());
    EXPECT_TRUE(sharers.empty());
    EXPECT_TRUE(shareTimes.empty());
}

struct KeywordCase {
    std::string name;
    Text keyword;
    std::vector<ResultRow> expected;
};

TEST(SiteGrammar, RowsWhoseTitleHoldsTheKeyword) {
    const Text page = literalText(fixtures::kResultPage);
    const std::vector<KeywordCase> cases = {
        {"Chinese keyword in two titles", kKeyword, {kRow1, kRow3}},
        {"keyword in one title", "\xC8\xAB\xBC\xAF", {kRow2}},  // 全集
        {"empty keyword keeps every title", "", {kRow1, kRow2, kRow3}},
        {"same case", "1080P", {kRow1}},
        {"keyword filter is case-sensitive", "1080p", {}},
        {"keyword in no title", "\xB2\xBB\xB4\xE6\xD4\xDA", {}},  // 不存在
        {"sharer text is not searched", kSharer1, {}},
    };
    for (const KeywordCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<ResultRow> rows = matchingRows(page, c.keyword);
        EXPECT_EQ(rows.size(), c.expected.size());
        EXPECT_EQ(rows, c.expected);
    }
}

TEST(SiteGrammar, MarkersAreFoundInAnyLetterCase) {
    const std::vector<ResultRow> rows = matchingRows(literalText(fixtures::kUpperCasePage), "ABC");
    EXPECT_EQ(rows, (std::vector<ResultRow>{{"Movie ABC", "Zhao", "2020-01-02"}}));
    EXPECT_TRUE(matchingRows(literalText(fixtures::kUpperCasePage), "abc").empty());
}

// The lists are matched by position; where the sharer or share-time list has
// no entry for a kept title, the row's cell is empty.
TEST(SiteGrammar, ShorterSharerOrTimeListGivesEmptyCells) {
    const Text page = literalText(fixtures::kShortListsPage);
    const ColumnLists lists = extractColumns(page);
    EXPECT_EQ(lists.titles.count(), 3);
    EXPECT_EQ(lists.sharers.count(), 2);
    EXPECT_EQ(lists.shareTimes.count(), 1);
    const std::vector<ResultRow> expected = {
        {"\xBE\xF4\xBC\xA3 \xD2\xBB", "\xBC\xD7", "2016-01-01"},  // 爵迹 一, 甲
        {"\xBE\xF4\xBC\xA3 \xB6\xFE", "\xD2\xD2", ""},            // 爵迹 二, 乙
        {"\xBE\xF4\xBC\xA3 \xC8\xFD", "", ""},                    // 爵迹 三
    };
    EXPECT_EQ(matchingRows(page, kKeyword), expected);
    EXPECT_EQ(rowAt(lists.titles, lists.sharers, lists.shareTimes, 4), ResultRow{});
    EXPECT_EQ(rowAt(lists.titles, lists.sharers, lists.shareTimes, 0), ResultRow{});
}

TEST(SiteGrammar, BrokenMarkerEmptiesOnlyItsColumn) {
    std::string broken = fixtures::kResultPage;
    for (std::size_t at = broken.find("c_ft"); at != std::string::npos;
         at = broken.find("c_ft", at)) {
        broken.replace(at, 4, "c-ft");
    }
    const Text page = literalText(broken);
    const ColumnLists lists = extractColumns(page);
    EXPECT_EQ(lists.titles.count(), 3);
    EXPECT_EQ(lists.sharers.count(), 3);
    EXPECT_TRUE(lists.shareTimes.empty());
    EXPECT_EQ(matchingRows(page, "txt"), (std::vector<ResultRow>{{kTitle3, kSharer3, ""}}));
}

struct PageCountCase {
    std::string name;
    Text page;
    Text expectedText;
    int expectedCount;
};

TEST(SiteGrammar, PageCountFromThePager) {
    const std::vector<PageCountCase> cases = {
        {"result page", literalText(fixtures::kResultPage), "12", 12},
        {"spaces around the number are kept", literalText("<p>第1/ 7 页</p>"), " 7 ", 7},
        {"full-width digits", literalText("第1/１２页"), "\xA3\xB1\xA3\xB2", 12},
        {"no pager", literalText("<p>没有结果</p>"), "", 0},
        {"pager of a later page", literalText("第2/9页"), "", 0},
        {"first pager only", literalText("第1/3页 第1/4页"), "3", 3},
    };
    for (const PageCountCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Text text = pageCountText(c.page);
        EXPECT_EQ(text, c.expectedText);
        EXPECT_EQ(pageCount(text), c.expectedCount);
    }
}

struct FileIdCase {
    std::string name;
    Text page;
    Text title;
    Text expectedFragment;
    Text expectedId;
};

// The fragment runs from the page's first file-view link to the wanted
// title's link; only its last 8 bytes are the id.
TEST(SiteGrammar, FileIdIsTheLastEightBytesOfTheFragment) {
    const Text page = literalText(fixtures::kResultPage);
    const Text throughSecondLink = literalText(
        "1A2B3C4D\" target=\"_blank\" title=\"爵迹 电影 1080P\">爵迹 电影 1080P</a></div>\n"
        "<div class=\"user\"><a href=\"/user/11\" target=\"_blank\"> 张三 </a></div>\n"
        "<div class=\"c_ft\">2016-10-01</div></div>\n"
        "<div class=\"row\"><div class=\"title\"><a href=\"/fileview5E6F7A8B");
    const std::vector<FileIdCase> cases = {
        {"first title", page, kTitle1, "1A2B3C4D", "1A2B3C4D"},
        {"second title", page, kTitle2, throughSecondLink, "5E6F7A8B"},
        {"fragment shorter than eight bytes",
         "<a href=\"/fileview12AB\" target=\"_blank\" title=\"T\">", "T", "12AB", "12AB"},
        {"empty fragment", "<a href=\"/fileview\" target=\"_blank\" title=\"T\">", "T", "", ""},
        {"title not on the page", page, "nothing like it", "", ""},
    };
    for (const FileIdCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Text fragment = fileviewFragment(c.page, c.title);
        EXPECT_EQ(fragment, c.expectedFragment);
        EXPECT_EQ(fileIdOf(fragment), c.expectedId);
    }
}

struct DownloadCase {
    std::string name;
    Text page;
    Text expected;
};

TEST(SiteGrammar, DownloadAddressFollowsTheAdvertisementComment) {
    const std::vector<DownloadCase> cases = {
        {"first address of the detail page", literalText(fixtures::kDetailPage),
         "https://pan.example.com/s/1AbCdEf"},
        {"bare line feed is not the marker", literalText(fixtures::kDetailPageWithLineFeeds), ""},
        {"page without the markers", literalText(fixtures::kResultPage), ""},
    };
    for (const DownloadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(downloadAddress(c.page), c.expected);
    }
}

TEST(SiteGrammar, ShareStillValidWhenTheLinkPageNamesTheTitle) {
    const Text linkPage = literalText(fixtures::kLinkPage);
    EXPECT_TRUE(shareStillValid(linkPage, kTitle1));
    EXPECT_FALSE(shareStillValid(linkPage, kTitle2));
    EXPECT_FALSE(shareStillValid(linkPage, "\xBE\xF4\xBC\xA3 \xB5\xE7\xD3\xB0 1080p"));
    EXPECT_FALSE(shareStillValid("", kTitle1));
}

TEST(SiteGrammar, Addresses) {
    const Text base = "http://share.example";
    EXPECT_EQ(resultPageAddress(base, "%E7%88%B5%E8%BF%B9", 1),
              Text("http://share.example/search-all-%E7%88%B5%E8%BF%B9-1/"));
    EXPECT_EQ(resultPageAddress(base, "abc", 12), Text("http://share.example/search-all-abc-12/"));
    EXPECT_EQ(fileDetailAddress(base, "5E6F7A8B"), Text("http://share.example/fileview5E6F7A8B"));
    EXPECT_EQ(fileDetailAddress(base, ""), Text("http://share.example/fileview"));
    EXPECT_EQ(addressLabel(base), Text("\xCD\xF8\xC5\xCC\xB5\xD8\xD6\xB7\xA3\xBA"
                                       "http://share.example/file-new/"));
}

}  // namespace
}  // namespace quorrin::site
