#include <gtest/gtest.h>

#include <QMetaObject>
#include <QStringList>
#include <QTreeWidget>
#include <atomic>
#include <vector>

#include "platform/literal.h"
#include "platform/qt/qt_window_runtime.h"
#include "tests/gui/gui_support.h"

// Rows a worker adds reach the list in batches; these tests hold the batches
// to what a worker and the user can tell apart: reads, indexes, and the order
// of rows and status texts.
namespace quorrin::gui {
namespace {

// Called from a worker: the list's own row count, read on the window thread.
int rowCountSeenByWindow(QTreeWidget& list) {
    int count = -1;
    QMetaObject::invokeMethod(
        &list, [&] { count = list.topLevelItemCount(); }, Qt::BlockingQueuedConnection);
    return count;
}

TEST(QtWindowRuntimeRows, WorkerRowsAreListedBeforeTheNextStatusTextAndReadBack) {
    Client client({});
    QtWindowRuntime& runtime = client.runtime;
    auto* list = child<QTreeWidget>(client.window(), "超级列表框1");
    list->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("old row")}));
    struct {
        std::vector<int> indexes;
        Text second, beyondRows = "x", unwritten = "x";
        int listedAfterStatus = -1;
    } seen;
    std::atomic<bool> done{false};
    runtime.startWorker([&] {
        for (const char* title : {"title 1", "title 2", "title 3"}) {
            const int row = runtime.insertRow();
            seen.indexes.push_back(row);
            runtime.setCellText(row, 0, Text(title));
            runtime.setCellText(row, 2, Text("2016-09-30"));
        }
        runtime.setControlText(Control::透明标签1, literalText("加载完成"));
        seen.listedAfterStatus = rowCountSeenByWindow(*list);
        seen.second = runtime.cellText(2, 0);
        seen.beyondRows = runtime.cellText(4, 0);
        seen.unwritten = runtime.cellText(3, 1);
        done = true;
    });
    ASSERT_TRUE(waitUntil([&] { return done.load(); }));

    EXPECT_EQ(seen.indexes, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(seen.second, Text("title 2"));
    EXPECT_EQ(seen.beyondRows, Text());
    EXPECT_EQ(seen.unwritten, Text());
    EXPECT_EQ(seen.listedAfterStatus, 4);
    const QString time = QStringLiteral("2016-09-30");
    EXPECT_EQ(listedRows(*list),
              (std::vector<QStringList>{{QStringLiteral("old row"), QString(), QString()},
                                        {QStringLiteral("title 1"), QString(), time},
                                        {QStringLiteral("title 2"), QString(), time},
                                        {QStringLiteral("title 3"), QString(), time}}));
}

TEST(QtWindowRuntimeRows, DeletingAllRowsDropsRowsNotYetListed) {
    Client client({});
    QtWindowRuntime& runtime = client.runtime;
    auto* list = child<QTreeWidget>(client.window(), "超级列表框1");
    int keptIndex = -2;
    std::atomic<bool> done{false};
    runtime.startWorker([&] {
        runtime.setCellText(runtime.insertRow(), 0, Text("gone"));
        runtime.deleteAllRows();
        keptIndex = runtime.insertRow();
        runtime.setCellText(keptIndex, 1, Text("kept"));
        runtime.setControlText(Control::透明标签1, literalText("加载完成"));
        done = true;
    });
    ASSERT_TRUE(waitUntil([&] { return done.load(); }));

    EXPECT_EQ(keptIndex, 0);
    EXPECT_EQ(listedRows(*list),
              (std::vector<QStringList>{{QString(), QStringLiteral("kept"), QString()}}));
}

TEST(QtWindowRuntimeRows, RowsOfAWorkerThatCallsNothingMoreAreListedSoon) {
    Client client({});
    QtWindowRuntime& runtime = client.runtime;
    auto* list = child<QTreeWidget>(client.window(), "超级列表框1");
    std::atomic<bool> done{false};
    runtime.startWorker([&] {
        for (const char* title : {"first", "second"}) {
            runtime.setCellText(runtime.insertRow(), 0, Text(title));
        }
        done = true;
    });
    ASSERT_TRUE(waitUntil([&] { return done.load() && list->topLevelItemCount() == 2; }));

    EXPECT_EQ(listedRows(*list),
              (std::vector<QStringList>{{QStringLiteral("first"), QString(), QString()},
                                        {QStringLiteral("second"), QString(), QString()}}));
}

TEST(QtWindowRuntimeRows, RowsAddedOnTheWindowThreadAreListedAtOnce) {
    Client client({});
    QtWindowRuntime& runtime = client.runtime;
    auto* list = child<QTreeWidget>(client.window(), "超级列表框1");

    const int row = runtime.insertRow();
    runtime.setCellText(row, 1, Text("sharer"));

    EXPECT_EQ(row, 0);
    EXPECT_EQ(listedRows(*list),
              (std::vector<QStringList>{{QString(), QStringLiteral("sharer"), QString()}}));
}

}  // namespace
}  // namespace quorrin::gui
