#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_context.h"
#include "app/program_state.h"
#include "app/run_search.h"
#include "platform/literal.h"
#include "tests/support/fake_window_runtime.h"
#include "tests/support/loopback_server.h"

namespace quorrin {
namespace {

using testing::FakeWindowRuntime;

// A UTF-8 result page as the site sends it: three rows, the second without
// the keyword, the third written with percent escapes (爵迹 as UTF-8).
const std::string kPage =
    "<html><head><meta charset=\"utf-8\"></head><body>\n"
    "<a href=\"/fileview11111111\" target=\"_blank\" title=\"爵迹 电影\">爵迹 电影</a>\n"
    "<div><a href=\"/u/1\" target=\"_blank\">张三</a></div><div class=\"c_ft\">2016-10-01</div>\n"
    "<a href=\"/fileview22222222\" target=\"_blank\" title=\"小时代 全集\">小时代</a>\n"
    "<div><a href=\"/u/2\" target=\"_blank\">李四</a></div><div class=\"c_ft\">2016-09-30</div>\n"
    "<a href=\"/fileview33333333\" target=\"_blank\" title=\"%E7%88%B5%E8%BF%B9 原著\">x</a>\n"
    "<div><a href=\"/u/3\" target=\"_blank\">王五</a></div><div class=\"c_ft\">2016-09-29</div>\n"
    "<div class=\"pager\">第1/3页 好评率100%</div></body></html>\n";

const Text kJueJi = "\xBE\xF4\xBC\xA3";                              // 爵迹
const Text kSearching = "\xD5\xFD\xD4\xDA\xCB\xD1\xCB\xF7\xD6\xD0";  // 正在搜索中
const Text kSearchDone = "\xCB\xD1\xCB\xF7\xCD\xEA\xB3\xC9";         // 搜索完成
const Text kSearchFailed = "\xCB\xD1\xCB\xF7\xCA\xA7\xB0\xDC";       // 搜索失败

struct SearchRun {
    FakeWindowRuntime window;
    ProgramState state;

    void run(const std::string& siteBase, const Text& keyword) {
        window.setText(Control::编辑框1, keyword);
        CommandContext context{window, state, Text(siteBase), {}};
        runSearch(context);
    }
    std::vector<Text> statusTexts() const {
        return window.textsOf(testing::RecordedCall::Kind::setControlText, Control::透明标签1);
    }
};

TEST(RunSearch, SendsTheSearchRequestAndListsTheMatchingRows) {
    LoopbackServer server;
    server.enqueue(okReply(kPage));
    SearchRun search;
    search.run(server.baseUrl(), kJueJi + " a/b");

    ASSERT_EQ(server.requestCount(), 1U);
    const RecordedRequest request = server.requests().front();
    EXPECT_EQ(request.requestLine, "GET /search-all-%E7%88%B5%E8%BF%B9%20a%2Fb-1/ HTTP/1.1");
    const std::string address = server.url("/search-all-%E7%88%B5%E8%BF%B9%20a%2Fb-1/");
    EXPECT_EQ(request.headerBlock,
              "Host: 127.0.0.1:" + std::to_string(server.port()) +
                  "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"
                  "\r\nAccept: */*\r\nReferer: " +
                  address +
                  "\r\nAccept-Language: zh-cn"
                  "\r\nContent-Type: application/x-www-form-urlencoded\r\n");

    // The keyword "爵迹 a/b" is in no title: the list is empty, and the label
    // says the search is over.
    EXPECT_TRUE(search.window.rows().empty());
    EXPECT_TRUE(search.window.visible(Control::透明标签1));
    EXPECT_EQ(search.statusTexts(), (std::vector<Text>{kSearching, kSearchDone}));
}

TEST(RunSearch, DecodesThePageAndKeepsItForLoadAll) {
    LoopbackServer server;
    server.enqueue(okReply(kPage));
    SearchRun search;
    search.window.addRow({"stale", "row", "here"});
    search.run(server.baseUrl(), kJueJi);

    const Text decodedTitle3 = kJueJi + literalText(" 原著");
    const std::vector<std::vector<Text>> expected = {
        {literalText("爵迹 电影"), literalText("张三"), "2016-10-01"},
        {decodedTitle3, literalText("王五"), "2016-09-29"},
    };
    EXPECT_EQ(search.window.rows(), expected);
    EXPECT_EQ(search.state.titles,
              (TextArray{literalText("爵迹 电影"), literalText("小时代 全集"), decodedTitle3}));
    EXPECT_EQ(search.state.sharers.count(), 3);
    EXPECT_EQ(search.state.shareTimes.count(), 3);
    // The stored page is the decoded one: code page 936, escapes resolved,
    // and a "%" that begins no escape left as it stands.
    std::string decoded = kPage;
    decoded.replace(decoded.find("%E7%88%B5%E8%BF%B9"), 18, "爵迹");
    EXPECT_EQ(search.state.firstPageHtml, literalText(decoded));
    EXPECT_NE(search.state.firstPageHtml.str().find(literalText("第1/3页 好评率100%").str()),
              std::string::npos);
    EXPECT_EQ(search.statusTexts(), (std::vector<Text>{kSearching, kSearchDone, kSearchDone}));
}

TEST(RunSearch, EmptyKeywordListsEveryTitle) {
    LoopbackServer server;
    server.enqueue(okReply(kPage));
    SearchRun search;
    search.run(server.baseUrl(), "");

    ASSERT_EQ(server.requestCount(), 1U);
    EXPECT_EQ(server.requests().front().target, "/search-all--1/");
    EXPECT_EQ(search.window.rows().size(), 3U);
}

TEST(RunSearch, FailedFetchClearsTheListAndSaysSo) {
    SearchRun search;
    search.window.addRow({"stale", "row", "here"});
    search.state.titles = {"old"};
    search.run("http://127.0.0.1:" + std::to_string(closedLoopbackPort()), kJueJi);

    EXPECT_TRUE(search.window.rows().empty());
    EXPECT_TRUE(search.state.firstPageHtml.empty());
    EXPECT_TRUE(search.state.titles.empty());
    EXPECT_EQ(search.statusTexts(), (std::vector<Text>{kSearching, kSearchFailed}));
}

}  // namespace
}  // namespace quorrin
