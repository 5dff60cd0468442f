#include <gtest/gtest.h>

#include <QObject>
#include <QTimer>
#include <atomic>
#include <string>

#include "platform/pending_events.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window_runtime.h"
#include "tests/gui/gui_support.h"

namespace quorrin::gui {
namespace {

struct CrossingCase {
    const char* name;
    QString wide;
    std::string bytes;  // code page 936
    QString back;       // what the bytes read as again
};

TEST(TextCrossing, CodePage936AndUtf16MeetOnlyHere) {
    const CrossingCase cases[] = {
        {"empty", QString(), "", QString()},
        {"ASCII", QStringLiteral("http://a.b/?x=1"), "http://a.b/?x=1",
         QStringLiteral("http://a.b/?x=1")},
        {"Chinese", QString::fromUtf8("爵迹"), "\xBE\xF4\xBC\xA3", QString::fromUtf8("爵迹")},
        {"full-width colon", QString::fromUtf8("信息："), "\xD0\xC5\xCF\xA2\xA3\xBA",
         QString::fromUtf8("信息：")},
        {"euro sign", QString::fromUtf8("€"), "\x80", QString::fromUtf8("€")},
        {"emoji has no code-page character", QString::fromUtf8("a😀b"), "a?b",
         QStringLiteral("a?b")},
        {"zero character ends the text", QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"),
         "ab", QStringLiteral("ab")},
    };
    for (const CrossingCase& row : cases) {
        SCOPED_TRACE(row.name);
        const Text narrow = fromQString(row.wide);
        EXPECT_EQ(narrow.str(), row.bytes);
        EXPECT_EQ(toQString(narrow), row.back);
    }
}

// Pending events are the window thread's; a worker asking for them gets
// nothing processed, not even events of its own thread.
TEST(QtWindowRuntime, PendingEventsAreProcessedOnTheWindowThreadOnly) {
    Client client({});
    bool windowEventRan = false;
    QTimer::singleShot(0, [&] { windowEventRan = true; });
    processPendingEvents();
    EXPECT_TRUE(windowEventRan);

    std::atomic<bool> workerEventRan{false};
    std::atomic<bool> done{false};
    client.runtime.startWorker([&] {
        QObject local;
        QMetaObject::invokeMethod(
            &local, [&] { workerEventRan = true; }, Qt::QueuedConnection);
        processPendingEvents();
        client.runtime.processPendingEvents();
        done = true;
    });
    ASSERT_TRUE(waitUntil([&] { return done.load(); }));
    EXPECT_FALSE(workerEventRan.load());
}

TEST(QtWindowRuntime, ListCallsFromAWorkerKeepTheIndexRules) {
    Client client({});
    QtWindowRuntime& runtime = client.runtime;
    struct {
        int first = -2, second = -2, selectedBefore = -2, selectedAfter = -2;
        Text cell, beyondRows = "x", beyondColumns = "x", negative = "x";
    } seen;
    std::atomic<bool> done{false};
    runtime.startWorker([&] {
        runtime.deleteAllRows();
        seen.first = runtime.insertRow();
        seen.second = runtime.insertRow();
        runtime.setCellText(seen.second, 1, Text("sharer"));
        runtime.setCellText(seen.second, 3, Text("no such column"));
        seen.selectedBefore = runtime.selectedRow();
        seen.cell = runtime.cellText(1, 1);
        seen.beyondRows = runtime.cellText(2, 0);
        seen.beyondColumns = runtime.cellText(1, 3);
        seen.negative = runtime.cellText(-1, 0);
        done = true;
    });
    ASSERT_TRUE(waitUntil([&] { return done.load(); }));
    auto* list = child<QTreeWidget>(client.window(), "超级列表框1");
    list->setCurrentItem(list->topLevelItem(1));
    done = false;
    runtime.startWorker([&] {
        seen.selectedAfter = runtime.selectedRow();
        runtime.deleteAllRows();
        done = true;
    });
    ASSERT_TRUE(waitUntil([&] { return done.load(); }));

    EXPECT_EQ(seen.first, 0);
    EXPECT_EQ(seen.second, 1);
    EXPECT_EQ(seen.selectedBefore, -1);
    EXPECT_EQ(seen.selectedAfter, 1);
    EXPECT_EQ(seen.cell, Text("sharer"));
    EXPECT_EQ(seen.beyondRows, Text());
    EXPECT_EQ(seen.beyondColumns, Text());
    EXPECT_EQ(seen.negative, Text());
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace quorrin::gui
