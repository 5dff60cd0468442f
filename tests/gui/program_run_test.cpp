#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "app/windows/program_start.h"
#include "tests/gui/gui_support.h"

// The program's own message loop: closing the main window while a worker
// waits in the link window ends the loop, the worker and the run.
namespace quorrin::gui {
namespace {

TEST(ProgramRun, ClosingTheMainWindowEndsTheLoopAndEveryWorker) {
    QtWindowRuntime runtime;
    ProgramState state;
    std::atomic<bool> ended{false};
    std::atomic<bool> stopSeen{false};
    const std::map<Control, Command> commands = {{Control::按钮3, [&](CommandContext& context) {
                                                      context.window.runModalWindow(
                                                          ModalWindowId::linkWindow);
                                                      stopSeen = context.stop.stop_requested();
                                                      ended = true;
                                                  }}};
    MainWindow* shownWindow = nullptr;
    runtime.setModalShownHook([&](QDialog*) { shownWindow->close(); });
    // Should the loop not end by itself, end it so the test fails, not hangs.
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::quit();
    });
    watchdog.start(10000);

    runClient(runtime, state, Text(kTestSiteBase), commands, [&](MainWindow& window) {
        shownWindow = &window;
        QTimer::singleShot(0, &window, [&window] {
            QTest::mouseClick(child<QPushButton>(window, "按钮3"), Qt::LeftButton);
        });
    });

    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(ended.load());
    EXPECT_TRUE(stopSeen.load());
    EXPECT_EQ(runtime.runningWorkers(), 0);
}

}  // namespace
}  // namespace quorrin::gui
