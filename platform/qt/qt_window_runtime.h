#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/pending_events.h"
#include "platform/window_runtime.h"
#include "platform/worker_group.h"

namespace quorrin {

// The window runtime on Qt Widgets. Create it on the window thread once the
// QApplication exists. A call from a worker is carried to the window thread
// and waited for; modal windows and message boxes open on the window thread
// while the calling worker waits.
//
// Rows a worker adds are gathered and handed to the list together, on a
// timer tick every kRowBatchInterval and before any call other than
// insertRow, setCellText and controlText (so a status text or a message box
// never shows ahead of the rows before it). A tick keeps back the newest row
// while the worker is still adding rows, as its cells may yet be written.
// Adding rows one by one makes the list lay out and repaint itself after
// each call, and writing a cell of a listed row far below the visible ones
// measures every row in between; both grow with the rows already listed.
// Batched, what a row costs the window thread no longer grows with the list
// (a worker that stalls for a whole tick between inserting a row and writing
// its cells still pays that measuring once).
// Reads see the gathered rows at once; calls made on the window thread
// itself act on the list immediately.
//
// Closing: once beginClosing() has run, calls from workers return at once
// with harmless answers (empty text, row -1), no modal window or message box
// opens and the open ones are closed, so no worker stays blocked on the
// window thread. The window thread then waits for the workers in
// waitForWorkers(), which keeps handling events, so a call a worker posted
// just before closing is still answered rather than deadlocking.
class QtWindowRuntime final : public WindowRuntime {
  public:
    using ModalWindowFactory = std::function<std::unique_ptr<QDialog>()>;

    static constexpr std::chrono::milliseconds kRowBatchInterval{20};

    QtWindowRuntime();
    // Begins closing and waits for every worker.
    ~QtWindowRuntime() override;

    // The widgets behind the control identities: QLineEdit, QLabel or a
    // button for texts, any widget for visibility. Unbound controls read as
    // empty and ignore writes.
    void bindControl(Control control, QWidget* widget);
    void bindList(QTreeWidget* list);
    // Builds a fresh second window each time a command loads it.
    void setModalWindowFactory(ModalWindowId window, ModalWindowFactory factory);

    // Runs on the window thread each time a modal window or message box has
    // opened, with that window; tests answer it from here.
    void setModalShownHook(std::function<void(QDialog*)> hook);

    // Window thread only.
    void beginClosing();
    // Window thread only: handles events until every worker has ended or the
    // timeout has passed; answers whether all have ended.
    bool waitForWorkers(std::chrono::milliseconds timeout = std::chrono::hours(24));
    [[nodiscard]] int runningWorkers() const { return workers_.running(); }

    [[nodiscard]] Text controlText(Control control) override;
    void setControlText(Control control, const Text& text) override;
    void setControlVisible(Control control, bool visible) override;
    void deleteAllRows() override;
    [[nodiscard]] int insertRow() override;
    void setCellText(int row, int column, const Text& text) override;
    [[nodiscard]] Text cellText(int row, int column) override;
    [[nodiscard]] int selectedRow() override;
    void runModalWindow(ModalWindowId window) override;
    void setClipboardText(const Text& text) override;
    void startWorker(std::function<void()> routine) override;
    void processPendingEvents() override;

  protected:
    void doShowMessageBox(const Text& text, const Text& caption) override;
    void doOpenInBrowser(const Text& address) override;

  private:
    // Runs `action` on the window thread and waits for it; skips it once
    // closing has begun.
    void onWindowThread(const std::function<void()>& action);
    [[nodiscard]] bool onWindowThreadNow() const;
    void execModal(QDialog& dialog);
    [[nodiscard]] QTreeWidgetItem* rowItem(int row) const;
    // Window thread: hands the gathered rows to the list, all of them or
    // all but the newest.
    void flushRows(bool keepNewest = false);
    void onRowBatchTick();

    std::unique_ptr<QObject> context_;  // lives on the window thread; target of worker calls
    std::atomic<bool> closing_{false};
    std::map<Control, QPointer<QWidget>> controls_;
    QPointer<QTreeWidget> list_;
    // Rows inserted by workers and not yet in the list; they follow its rows.
    std::vector<std::unique_ptr<QTreeWidgetItem>> pendingRows_;
    QTimer rowBatch_;
    bool rowAddedSinceTick_ = false;
    std::map<ModalWindowId, ModalWindowFactory> factories_;
    std::vector<QPointer<QDialog>> openModals_;
    std::function<void(QDialog*)> shownHook_;
    PendingEventsHandler previousHandler_ = nullptr;
    WorkerGroup workers_;
};

}  // namespace quorrin
