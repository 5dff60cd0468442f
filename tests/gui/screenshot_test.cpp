#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QTest>

#include "app/windows/link_window.h"
#include "platform/literal.h"
#include "tests/gui/gui_support.h"

// Pictures of both windows for a reviewer: build/<folder>/tests/gui/screenshots.
namespace quorrin::gui {
namespace {

TEST(Screenshots, BothWindowsAreWrittenAsPng) {
    Client client({});
    MainWindow& window = client.window();
    QtWindowRuntime& runtime = client.runtime;
    runtime.setControlVisible(Control::透明标签1, true);
    runtime.setControlText(Control::透明标签1, literalText("搜索完成"));
    const char* const rows[][3] = {
        {"爵迹 临界天下 1080P 国语中字", "分享达人", "2016-09-30"},
        {"爵迹 原著小说 全集", "书虫小王", "2015-12-01"},
        {"Jue Ji OST.zip", "music_fan", "2016-10-08"},
    };
    for (const auto& cells : rows) {
        const int index = runtime.insertRow();
        for (int column = 0; column < 3; ++column) {
            runtime.setCellText(index, column, literalText(cells[column]));
        }
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    client.state.linkText = Text("https://pan.example.com/s/1AbCdEfG");
    LinkWindow link(runtime, client.state);
    link.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&link));

    const QString mainPath = saveScreenshot(window, QStringLiteral("main_window.png"));
    const QString linkPath = saveScreenshot(link, QStringLiteral("link_window.png"));

    ASSERT_FALSE(mainPath.isEmpty());
    ASSERT_FALSE(linkPath.isEmpty());
    EXPECT_EQ(QImage(mainPath).size(), window.grab().size());
    EXPECT_EQ(QImage(linkPath).size(), link.grab().size());
}

}  // namespace
}  // namespace quorrin::gui
