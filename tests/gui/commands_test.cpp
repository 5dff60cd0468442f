#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTreeWidget>
#include <atomic>
#include <thread>

#include "app/build_settings.h"
#include "platform/literal.h"
#include "tests/gui/browser_capture.h"
#include "tests/gui/gui_support.h"

namespace quorrin::gui {
namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// What a probe command saw, written by the worker and read by the test once
// `done` is set.
struct Seen {
    std::atomic<bool> done{false};
    std::thread::id thread;
    Text keyword;
    int firstRow = -2;
    int secondRow = -2;
    Text missingCell = "unset";
    int selected = -2;
    Text selectedTitle;
};

TEST(MainWindowCommands, ClickRunsTheCommandOffTheWindowThreadAndItsWritesArrive) {
    Seen seen;
    Client client({{Control::按钮1, [&](CommandContext& context) {
                        WindowRuntime& w = context.window;
                        seen.thread = std::this_thread::get_id();
                        seen.keyword = w.controlText(Control::编辑框1);
                        w.setControlVisible(Control::透明标签1, true);
                        w.setControlText(Control::透明标签1, literalText("正在搜索中"));
                        w.deleteAllRows();
                        seen.firstRow = w.insertRow();
                        w.setCellText(seen.firstRow, 0, literalText("爵迹 第一部"));
                        w.setCellText(seen.firstRow, 1, Text("sharer"));
                        w.setCellText(seen.firstRow, 2, Text("2016-09-30"));
                        seen.secondRow = w.insertRow();
                        w.setCellText(seen.secondRow, 0, literalText("爵迹 第二部"));
                        seen.missingCell = w.cellText(5, 0);
                        seen.selected = w.selectedRow();
                        w.setControlText(Control::透明标签1, literalText("搜索完成"));
                        seen.done = true;
                    }}});
    MainWindow& window = client.window();
    window.show();
    auto* list = child<QTreeWidget>(window, "超级列表框1");
    list->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("old row")}));

    QTest::mouseClick(child<QPushButton>(window, "按钮1"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return seen.done.load(); }));
    ASSERT_TRUE(client.runtime.waitForWorkers(std::chrono::seconds(10)));

    EXPECT_NE(seen.thread, std::this_thread::get_id());
    EXPECT_EQ(seen.keyword, literalText("爵迹"));
    EXPECT_EQ(seen.firstRow, 0);
    EXPECT_EQ(seen.secondRow, 1);
    EXPECT_EQ(seen.missingCell, Text());
    EXPECT_EQ(seen.selected, -1);
    const auto* status = child<QLabel>(window, "透明标签1");
    EXPECT_FALSE(status->isHidden());
    EXPECT_EQ(status->text(), utf8("搜索完成"));
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), utf8("爵迹 第一部"));
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("sharer"));
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("2016-09-30"));
    EXPECT_EQ(list->topLevelItem(1)->text(0), utf8("爵迹 第二部"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QString());
}

TEST(MainWindowCommands, WorkerReadsTheRowTheUserSelected) {
    Seen seen;
    Client client({{Control::按钮3, [&](CommandContext& context) {
                        seen.selected = context.window.selectedRow();
                        seen.selectedTitle = context.window.cellText(seen.selected, 0);
                        seen.done = true;
                    }}});
    MainWindow& window = client.window();
    window.show();
    auto* list = child<QTreeWidget>(window, "超级列表框1");
    for (const char* title : {"first", "second", "third"}) {
        list->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromUtf8(title)}));
    }
    list->setCurrentItem(list->topLevelItem(1));

    QTest::mouseClick(child<QPushButton>(window, "按钮3"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return seen.done.load(); }));

    EXPECT_EQ(seen.selected, 1);
    EXPECT_EQ(seen.selectedTitle, Text("second"));
}

TEST(MainWindowCommands, MessageBoxOpensOnTheWindowThreadWhileTheWorkerWaits) {
    std::atomic<bool> afterBox{false};
    Client client({{Control::按钮3, [&](CommandContext& context) {
                        context.window.showMessageBox(literalText("该分享已失效"));
                        afterBox = true;
                    }}});
    QString caption;
    QString text;
    bool modalWithoutOwner = false;
    bool workerWaited = false;
    client.runtime.setModalShownHook([&](QDialog* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        modalWithoutOwner = box->parentWidget() == nullptr &&
                            box->windowModality() == Qt::ApplicationModal && box->isVisible() &&
                            QThread::currentThread() == qApp->thread();
        workerWaited = !afterBox.load();
        box->button(QMessageBox::Ok)->click();
    });
    client.window().show();

    QTest::mouseClick(child<QPushButton>(client.window(), "按钮3"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return afterBox.load(); }));

    EXPECT_EQ(caption, utf8("信息："));
    EXPECT_EQ(text, utf8("该分享已失效"));
    EXPECT_TRUE(modalWithoutOwner);
    EXPECT_TRUE(workerWaited);
}

TEST(MainWindowCommands, GroupButtonOpensTheGroupAddress) {
    BrowserCapture browser;
    Client client({});
    client.window().show();

    QTest::mouseClick(child<QPushButton>(client.window(), "按钮2"), Qt::LeftButton);

    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened[0], QUrl(QString::fromUtf8(build::kGroupUrl)));
}

}  // namespace
}  // namespace quorrin::gui
