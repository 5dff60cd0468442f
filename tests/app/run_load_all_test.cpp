#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_context.h"
#include "app/program_state.h"
#include "app/run_load_all.h"
#include "platform/literal.h"
#include "tests/app/fixtures/site_builder.h"
#include "tests/support/fake_window_runtime.h"
#include "tests/support/loopback_server.h"

namespace quorrin {
namespace {

using fixtures::resultPageUtf8;
using fixtures::SiteRow;
using testing::FakeWindowRuntime;

const Text kLoading = "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xD6\xD0";  // 正在加载中
const Text kLoadDone = "\xBC\xD3\xD4\xD8\xCD\xEA\xB3\xC9";         // 加载完成
const std::string kJueJiEncoded = "%E7%88%B5%E8%BF%B9";            // 爵迹 as UTF-8 escapes

std::string pagePath(const std::string& encodedKeyword, int page) {
    return "/search-all-" + encodedKeyword + "-" + std::to_string(page) + "/";
}

// Page n holds a row "爵迹 n" and a row without the keyword.
std::string numberedPage(int n) {
    return resultPageUtf8({{"0000000" + std::to_string(n), "爵迹 " + std::to_string(n)},
                           {"1000000" + std::to_string(n), "其他 " + std::to_string(n)}});
}

struct LoadAllRun {
    FakeWindowRuntime window;
    ProgramState state;

    void run(const std::string& siteBase) {
        CommandContext context{window, state, Text(siteBase), {}};
        runLoadAll(context);
    }
    std::vector<Text> titles() const {
        std::vector<Text> cells;
        for (const auto& row : window.rows()) {
            cells.push_back(row[0]);
        }
        return cells;
    }
    std::vector<Text> statusTexts() const {
        return window.textsOf(testing::RecordedCall::Kind::setControlText);
    }
};

TEST(RunLoadAll, FetchesEveryAnnouncedPageInOrderOverWinHttp) {
    LoopbackServer server;
    for (int n = 1; n <= 5; ++n) {
        server.reply(pagePath(kJueJiEncoded, n), okReply(numberedPage(n)));
    }
    LoadAllRun loadAll;
    loadAll.state.firstPageHtml = literalText(resultPageUtf8({}, 5));
    loadAll.window.setText(Control::编辑框1, literalText("爵迹"));
    loadAll.window.addRow({"stale", "", ""});
    loadAll.run(server.baseUrl());

    // Page 1 is fetched again, and every page goes through the WinHttp
    // fetch (its default agent), one after the other.
    EXPECT_EQ(server.requestTargets(),
              (std::vector<std::string>{pagePath(kJueJiEncoded, 1), pagePath(kJueJiEncoded, 2),
                                        pagePath(kJueJiEncoded, 3), pagePath(kJueJiEncoded, 4),
                                        pagePath(kJueJiEncoded, 5)}));
    for (const RecordedRequest& request : server.requests()) {
        EXPECT_EQ(request.header("User-Agent"),
                  "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)");
    }
    EXPECT_EQ(loadAll.titles(), (std::vector<Text>{literalText("爵迹 1"), literalText("爵迹 2"),
                                                   literalText("爵迹 3"), literalText("爵迹 4"),
                                                   literalText("爵迹 5")}));
    EXPECT_EQ(loadAll.state.pageCountText, "5");
    EXPECT_EQ(loadAll.state.titles, (TextArray{literalText("爵迹 5"), literalText("其他 5")}));
    EXPECT_EQ(loadAll.statusTexts(), (std::vector<Text>{kLoading, kLoadDone}));
}

TEST(RunLoadAll, AFailedPageLeavesTheRowsOfTheOthers) {
    LoopbackServer server;
    server.reply(pagePath(kJueJiEncoded, 1), okReply(numberedPage(1)));
    ScriptedReply dropped = okReply(numberedPage(2));
    dropped.dropAt = 0;
    server.reply(pagePath(kJueJiEncoded, 2), dropped);
    server.reply(pagePath(kJueJiEncoded, 3), okReply(numberedPage(3)));
    LoadAllRun loadAll;
    loadAll.state.firstPageHtml = literalText(resultPageUtf8({}, 3));
    loadAll.window.setText(Control::编辑框1, literalText("爵迹"));
    loadAll.run(server.baseUrl());

    EXPECT_EQ(server.requestCount(), 3U);
    EXPECT_EQ(loadAll.titles(), (std::vector<Text>{literalText("爵迹 1"), literalText("爵迹 3")}));
    EXPECT_EQ(loadAll.statusTexts(), (std::vector<Text>{kLoading, kLoadDone}));
}

TEST(RunLoadAll, ANewKeywordGetsAsManyPagesAsTheLastSearchAnnounced) {
    LoopbackServer server;
    for (int n = 1; n <= 2; ++n) {
        server.reply(pagePath("abc", n),
                     okReply(resultPageUtf8(
                         {{"2000000" + std::to_string(n), "abc " + std::to_string(n)}}, 9)));
    }
    LoadAllRun loadAll;
    loadAll.state.firstPageHtml = literalText(resultPageUtf8({}, 2));  // the old keyword's page
    loadAll.window.setText(Control::编辑框1, "abc");
    loadAll.run(server.baseUrl());

    EXPECT_EQ(server.requestTargets(),
              (std::vector<std::string>{pagePath("abc", 1), pagePath("abc", 2)}));
    EXPECT_EQ(loadAll.titles(), (std::vector<Text>{"abc 1", "abc 2"}));
    EXPECT_EQ(loadAll.state.pageCountText, "2");
}

TEST(RunLoadAll, BeforeAnySearchOnlyClearsTheListAndSaysDone) {
    LoopbackServer server;
    LoadAllRun loadAll;
    loadAll.window.addRow({"stale", "", ""});
    loadAll.run(server.baseUrl());

    EXPECT_EQ(server.requestCount(), 0U);
    EXPECT_TRUE(loadAll.window.rows().empty());
    EXPECT_TRUE(loadAll.state.pageCountText.empty());
    EXPECT_EQ(loadAll.statusTexts(), (std::vector<Text>{kLoading, kLoadDone}));
}

}  // namespace
}  // namespace quorrin
