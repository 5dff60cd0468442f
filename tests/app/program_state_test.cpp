#include "app/program_state.h"

#include <gtest/gtest.h>

#include "app/build_settings.h"
#include "app/group_link.h"
#include "platform/web_address.h"
#include "tests/support/fake_window_runtime.h"

namespace quorrin {
namespace {

using testing::FakeWindowRuntime;

TEST(ProgramState, ReleaseEmptiesEveryTextAndArray) {
    ProgramState state{
        .pageCountText = "5",
        .firstPageHtml = "first",
        .loadPageHtml = "load",
        .titles = {"t1", "t2"},
        .sharers = {"s1"},
        .shareTimes = {"d1", "d2", "d3"},
        .resolvePageHtml = "resolve",
        .selectedTitle = "title",
        .fileviewFragment = "fragment",
        .fileId = "12345678",
        .detailPageHtml = "detail",
        .downloadAddress = "http://pan.example/s/1",
        .linkPageHtml = "link page",
        .linkText = "http://pan.example/s/1",
    };

    releaseProgramState(state);

    EXPECT_EQ(state, ProgramState());
    EXPECT_EQ(state.titles.count(), 0);
    EXPECT_EQ(state.sharers.count(), 0);
    EXPECT_EQ(state.shareTimes.count(), 0);
}

TEST(GroupLink, OpensTheBuildsGroupAddressInTheBrowser) {
    FakeWindowRuntime window;
    const Text groupUrl(build::kGroupUrl);
    ASSERT_TRUE(isWebAddress(groupUrl)) << "the build's group address is not http or https";

    EXPECT_TRUE(openGroupLink(window));

    ASSERT_EQ(window.calls().size(), 1U);
    EXPECT_EQ(window.calls()[0].kind, testing::RecordedCall::Kind::openInBrowser);
    EXPECT_EQ(window.calls()[0].text, groupUrl);
}

}  // namespace
}  // namespace quorrin
