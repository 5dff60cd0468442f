#include "tests/support/fake_window_runtime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/literal.h"

// The fake stands in for the real list in every command test, so it must
// keep the list's index rules exactly.
namespace quorrin {
namespace {

using ::testing::ElementsAre;
using testing::FakeWindowRuntime;

TEST(FakeWindowRuntime, ListKeepsTheIndexRulesOfTheReportList) {
    FakeWindowRuntime window;
    window.addRow({"kept", "old"});
    window.selectRow(0);

    window.deleteAllRows();
    const int first = window.insertRow();
    const int second = window.insertRow();
    window.setCellText(second, 2, Text("time"));
    window.setCellText(second, 3, Text("no such column"));
    window.setCellText(7, 0, Text("no such row"));
    const int noneSelected = window.selectedRow();
    const Text missingRow = window.cellText(-1, 0);
    const Text missingColumn = window.cellText(0, 3);

    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(noneSelected, -1);
    EXPECT_EQ(missingRow, Text());
    EXPECT_EQ(missingColumn, Text());
    EXPECT_EQ(window.rows(), (std::vector<std::vector<Text>>{{"", "", ""}, {"", "", "time"}}));
    EXPECT_THAT(window.callLog(),
                ElementsAre("deleteAllRows()", "insertRow() -> 0", "insertRow() -> 1",
                            "setCellText(1, 2, \"time\")", "setCellText(1, 3, \"no such column\")",
                            "setCellText(7, 0, \"no such row\")", "selectedRow() -> -1",
                            "cellText(-1, 0) -> \"\"", "cellText(0, 3) -> \"\""));
}

TEST(FakeWindowRuntime, HooksStandForTheUserAndMayChangeTheSelection) {
    FakeWindowRuntime window;
    window.addRow({"a"});
    window.addRow({"b"});
    window.selectRow(0);
    window.onMessageBox([&](const Text&, const Text&) { window.selectRow(1); });
    std::vector<ModalWindowId> shown;
    window.onModalWindow([&](ModalWindowId id) { shown.push_back(id); });

    const Text before = window.cellText(window.selectedRow(), 0);
    window.showMessageBox(literalText("该分享已失效"));
    const Text after = window.cellText(window.selectedRow(), 0);
    window.runModalWindow(ModalWindowId::linkWindow);

    EXPECT_EQ(before, Text("a"));
    EXPECT_EQ(after, Text("b"));
    EXPECT_EQ(shown, std::vector<ModalWindowId>{ModalWindowId::linkWindow});
    const std::vector<testing::RecordedCall> calls = window.calls();
    ASSERT_EQ(calls.size(), 6U);
    EXPECT_EQ(calls[2].text.str(), "\xB8\xC3\xB7\xD6\xCF\xED\xD2\xD1\xCA\xA7\xD0\xA7");
    EXPECT_EQ(calls[2].caption.str(), "\xD0\xC5\xCF\xA2\xA3\xBA");  // 信息：
    EXPECT_THAT(window.callLog(),
                ElementsAre("selectedRow() -> 0", "cellText(0, 0) -> \"a\"",
                            "showMessageBox(\"该分享已失效\", \"信息：\")", "selectedRow() -> 1",
                            "cellText(1, 0) -> \"b\"", "runModalWindow(LinkWindow)"));
}

TEST(FakeWindowRuntime, ControlsStartLikeTheMainWindow) {
    FakeWindowRuntime window;

    EXPECT_FALSE(window.visible(Control::透明标签1));
    EXPECT_TRUE(window.visible(Control::编辑框1));
    window.setControlVisible(Control::透明标签1, true);
    window.setControlText(Control::透明标签1, literalText("正在搜索中"));

    EXPECT_TRUE(window.visible(Control::透明标签1));
    EXPECT_EQ(window.text(Control::透明标签1), literalText("正在搜索中"));
    EXPECT_THAT(window.callLog(), ElementsAre("setControlVisible(透明标签1, true)",
                                              "setControlText(透明标签1, \"正在搜索中\")"));
}

}  // namespace
}  // namespace quorrin
