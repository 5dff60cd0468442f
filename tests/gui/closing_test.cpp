#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "platform/literal.h"
#include "tests/gui/gui_support.h"

// Closing the main window while a worker waits on the window thread must
// neither hang nor let a command touch the window or the state afterwards.
namespace quorrin::gui {
namespace {

enum class Blocker { linkWindow, messageBox, busyWriting };

struct ClosingCase {
    const char* name;
    Blocker blocker;
};

struct AfterClose {
    std::atomic<bool> blocked{false};
    std::atomic<bool> ended{false};
    std::atomic<bool> stopSeen{false};
    std::atomic<bool> queuedRan{false};
    std::atomic<bool> leftOpen{false};
    Text keyword = "unset";
    int row = -2;
    int selected = -2;
};

TEST(Closing, MainWindowClosesWhileAWorkerWaitsOnTheWindowThread) {
    const ClosingCase cases[] = {
        {"worker in the link window", Blocker::linkWindow},
        {"worker in a message box", Blocker::messageBox},
        {"worker writing to the window in a loop", Blocker::busyWriting},
    };
    for (const ClosingCase& row : cases) {
        SCOPED_TRACE(row.name);
        AfterClose seen;
        const Command blocking = [&](CommandContext& context) {
            WindowRuntime& w = context.window;
            seen.blocked = true;
            if (row.blocker == Blocker::linkWindow) {
                w.runModalWindow(ModalWindowId::linkWindow);
            } else if (row.blocker == Blocker::messageBox) {
                w.showMessageBox(literalText("该分享已失效"));
            } else {
                while (!context.stop.stop_requested()) {
                    w.setControlText(Control::透明标签1, literalText("正在加载中"));
                }
            }
            seen.stopSeen = context.stop.stop_requested();
            seen.keyword = w.controlText(Control::编辑框1);
            seen.row = w.insertRow();
            seen.selected = w.selectedRow();
            seen.ended = true;
        };
        Client client({{Control::按钮3, blocking},
                       {Control::按钮1, [&](CommandContext&) { seen.queuedRan = true; }}});
        MainWindow& window = client.window();
        window.show();

        QTest::mouseClick(child<QPushButton>(window, "按钮3"), Qt::LeftButton);
        if (row.blocker == Blocker::busyWriting) {
            ASSERT_TRUE(waitUntil([&] { return seen.blocked.load(); }));
            // A click while the command runs waits its turn.
            QTest::mouseClick(child<QPushButton>(window, "按钮1"), Qt::LeftButton);
            window.close();
        } else {
            // The window thread sits in the modal window's loop; the user
            // closes the main window from there.
            client.runtime.setModalShownHook([&](QDialog* dialog) {
                QTest::mouseClick(child<QPushButton>(window, "按钮1"), Qt::LeftButton);
                window.close();
                // Should closing leave the window open, answer it later so
                // that the test fails instead of hanging.
                QTimer::singleShot(5000, dialog, [&seen, dialog] {
                    seen.leftOpen = true;
                    dialog->reject();
                });
            });
            ASSERT_TRUE(waitUntil([&] { return window.isHidden(); }));
        }
        QElapsedTimer clock;
        clock.start();
        client.windows->shutDown();

        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_FALSE(seen.leftOpen.load());
        EXPECT_EQ(client.runtime.runningWorkers(), 0);
        EXPECT_TRUE(seen.ended.load());
        EXPECT_TRUE(seen.stopSeen.load());
        EXPECT_FALSE(seen.queuedRan.load());
        // Calls into the closing window answer at once and harmlessly.
        EXPECT_EQ(seen.keyword, Text());
        EXPECT_EQ(seen.row, -1);
        EXPECT_EQ(seen.selected, -1);
    }
}

}  // namespace
}  // namespace quorrin::gui
