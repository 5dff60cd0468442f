#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_context.h"
#include "app/program_state.h"
#include "app/run_resolve_download.h"
#include "platform/literal.h"
#include "tests/app/fixtures/site_builder.h"
#include "tests/support/fake_window_runtime.h"
#include "tests/support/loopback_server.h"

namespace quorrin {
namespace {

using fixtures::detailPageUtf8;
using fixtures::linkPageUtf8;
using fixtures::resultPageUtf8;
using fixtures::SiteRow;
using testing::FakeWindowRuntime;
using testing::RecordedCall;

const Text kResolving = "\xD5\xFD\xD4\xDA\xBB\xF1\xC8\xA1\xD6\xD0";        // 正在获取中
const Text kResolveDone = "\xBB\xF1\xC8\xA1\xCD\xEA\xB3\xC9";              // 获取完成
const Text kExpired = "\xB8\xC3\xB7\xD6\xCF\xED\xD2\xD1\xCA\xA7\xD0\xA7";  // 该分享已失效

std::string pagePath(int page) {
    return "/search-all-abc-" + std::to_string(page) + "/";
}

// What a run left behind: the window's calls and the server's requests.
struct ResolveRun {
    LoopbackServer server;
    FakeWindowRuntime window;
    ProgramState state;
    std::vector<Text> linkTextsShown;  // linkText each time the link window opened

    ResolveRun() {
        window.setText(Control::编辑框1, "abc");
        window.onModalWindow([this](ModalWindowId) { linkTextsShown.push_back(state.linkText); });
    }
    void listRows(const std::vector<std::string>& titles, int selected) {
        for (const std::string& title : titles) {
            window.addRow({literalText(title), "", ""});
        }
        window.selectRow(selected);
    }
    void run(int pages) {
        state.pageCountText = Text(std::to_string(pages));
        CommandContext context{window, state, Text(server.baseUrl()), {}};
        runResolveDownload(context);
    }
    std::vector<std::string> targets() const { return server.requestTargets(); }
    std::vector<Text> statusTexts() const {
        return window.textsOf(RecordedCall::Kind::setControlText);
    }
    std::vector<Text> messages() const {
        return window.textsOf(RecordedCall::Kind::showMessageBox);
    }
    // A share page at /s/<id> naming `title`, and the detail page leading to it.
    void share(const std::string& fileId, const std::string& pageText) {
        server.reply("/fileview" + fileId, okReply(detailPageUtf8(server.url("/s/" + fileId))));
        server.reply("/s/" + fileId, okReply(linkPageUtf8(pageText)));
    }
};

TEST(RunResolveDownload, WalksToThePageThatHoldsTheTitleAndShowsTheAddress) {
    ResolveRun r;
    r.server.reply(pagePath(1), okReply(resultPageUtf8({{"aaaaaaa1", "abc 其他"}})));
    r.server.reply(pagePath(2), okReply(resultPageUtf8({{"aaaaaaa2", "abc 别的"}})));
    r.server.reply(
        pagePath(3),
        okReply(resultPageUtf8({{"aaaaaaa3", "abc 前一个"}, {"5a5b5c5d", "abc 爵迹 原声"}})));
    r.share("5a5b5c5d", "abc 爵迹 原声 免费下载");
    r.listRows({"abc 前一个", "abc 爵迹 原声"}, 1);
    r.run(4);

    EXPECT_EQ(r.targets(), (std::vector<std::string>{pagePath(1), pagePath(2), pagePath(3),
                                                     "/fileview5a5b5c5d", "/s/5a5b5c5d"}));
    EXPECT_EQ(r.state.selectedTitle, literalText("abc 爵迹 原声"));
    EXPECT_EQ(r.state.fileId, "5a5b5c5d");
    EXPECT_EQ(r.linkTextsShown, (std::vector<Text>{Text(r.server.url("/s/5a5b5c5d"))}));
    EXPECT_TRUE(r.messages().empty());
    // Once the link window has closed the label says the command is over.
    EXPECT_EQ(r.statusTexts(), (std::vector<Text>{kResolving, kResolveDone}));
}

TEST(RunResolveDownload, AnExpiredShareIsReportedAndTheNextPageTried) {
    ResolveRun r;
    r.server.reply(pagePath(1), okReply(resultPageUtf8({{"11111111", "abc 电影"}})));
    r.server.reply(pagePath(2), okReply(resultPageUtf8({{"22222222", "abc 电影"}})));
    r.share("11111111", "分享的文件已经被取消了");
    r.share("22222222", "abc 电影");
    r.listRows({"abc 电影"}, 0);
    r.run(2);

    EXPECT_EQ(r.targets(),
              (std::vector<std::string>{pagePath(1), "/fileview11111111", "/s/11111111",
                                        pagePath(2), "/fileview22222222", "/s/22222222"}));
    EXPECT_EQ(r.messages(), (std::vector<Text>{kExpired}));
    EXPECT_EQ(r.linkTextsShown, (std::vector<Text>{Text(r.server.url("/s/22222222"))}));
    EXPECT_EQ(r.statusTexts(), (std::vector<Text>{kResolving, kResolveDone}));
}

TEST(RunResolveDownload, WithoutASelectionNothingIsFetched) {
    ResolveRun r;
    r.server.reply(pagePath(1), okReply(resultPageUtf8({{"11111111", "abc 电影"}})));
    r.share("11111111", "abc 电影");
    r.listRows({"abc 电影"}, -1);
    r.run(3);

    EXPECT_EQ(r.server.requestCount(), 0U);
    EXPECT_TRUE(r.linkTextsShown.empty());
    EXPECT_EQ(r.statusTexts(), (std::vector<Text>{kResolving, kResolveDone}));
}

TEST(RunResolveDownload, BeforeAnyLoadAllThereAreNoPagesToWalk) {
    ResolveRun r;
    r.listRows({"abc 电影"}, 0);
    r.state.pageCountText = Text();
    CommandContext context{r.window, r.state, Text(r.server.baseUrl()), {}};
    runResolveDownload(context);

    EXPECT_EQ(r.server.requestCount(), 0U);
    EXPECT_EQ(r.statusTexts(), (std::vector<Text>{kResolving, kResolveDone}));
}

TEST(RunResolveDownload, ASelectionChangedMidWayIsLookedForOnLaterPages) {
    ResolveRun r;
    r.server.reply(pagePath(1), okReply(resultPageUtf8({{"11111111", "abc 一"}})));
    r.server.reply(pagePath(2), okReply(resultPageUtf8({{"22222222", "abc 二"}})));
    r.share("11111111", "expired");
    r.share("22222222", "abc 二");
    r.listRows({"abc 一", "abc 二"}, 0);
    // The user picks the other row while the expired-share message is up.
    r.window.onMessageBox([&r](const Text&, const Text&) { r.window.selectRow(1); });
    r.run(2);

    EXPECT_EQ(r.state.selectedTitle, literalText("abc 二"));
    EXPECT_EQ(r.linkTextsShown, (std::vector<Text>{Text(r.server.url("/s/22222222"))}));
}

TEST(RunResolveDownload, AQuotePlaceholderInTheTitleLeavesTheFileIdEmpty) {
    ResolveRun r;
    // The title holds "#引号"; the page holds it as it stands, but the
    // file-view marker looks for a double quote in its place.
    r.server.reply(pagePath(1), okReply(resultPageUtf8({{"11111111", "abc #引号x"}})));
    r.server.reply("/fileview", okReply(detailPageUtf8("")));
    r.listRows({"abc #引号x"}, 0);
    r.run(1);

    EXPECT_TRUE(r.state.fileviewFragment.empty());
    EXPECT_TRUE(r.state.fileId.empty());
    EXPECT_EQ(r.targets(), (std::vector<std::string>{pagePath(1), "/fileview"}));
    EXPECT_EQ(r.messages(), (std::vector<Text>{kExpired}));
}

TEST(RunResolveDownload, ADownloadAddressThatIsNotWebIsNotFetched) {
    ResolveRun r;
    r.server.reply(pagePath(1), okReply(resultPageUtf8({{"11111111", "abc 电影"}})));
    r.server.reply("/fileview11111111", okReply(detailPageUtf8("file:///etc/passwd")));
    r.listRows({"abc 电影"}, 0);
    r.run(1);

    EXPECT_EQ(r.targets(), (std::vector<std::string>{pagePath(1), "/fileview11111111"}));
    EXPECT_EQ(r.state.downloadAddress, "file:///etc/passwd");
    EXPECT_TRUE(r.state.linkPageHtml.empty());
    EXPECT_TRUE(r.linkTextsShown.empty());
    EXPECT_EQ(r.messages(), (std::vector<Text>{kExpired}));
}

}  // namespace
}  // namespace quorrin
