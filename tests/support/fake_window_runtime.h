#pragma once

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/window_runtime.h"
#include "platform/worker_group.h"
#include "tests/support/recorded_call.h"

namespace quorrin::testing {

// A window runtime without windows: it records every call in order, keeps
// the controls' texts and visibility, the list rows and a selection, and
// answers modal windows and message boxes at once (after running the hook a
// test set). Thread-safe, so commands may run on real worker threads.
//
// Starting state: every text empty, every control visible except the
// status label 透明标签1 (hidden, as in the main window), no rows, no
// selection. Setting up through setText/addRow/selectRow records nothing.
class FakeWindowRuntime final : public WindowRuntime {
  public:
    static constexpr int kColumns = kResultColumns;

    enum class Workers {
        runInline,   // startWorker runs the routine before it returns
        ownThreads,  // each routine gets a thread; waitForWorkers() joins them
        dropAll      // the routine is destroyed unrun, like a runtime that is shutting down
    };

    explicit FakeWindowRuntime(Workers workers = Workers::runInline);
    ~FakeWindowRuntime() override;
    void setWorkers(Workers workers);

    // --- setting up (not recorded) ---
    void setText(Control control, const Text& text);
    void setVisible(Control control, bool visible);
    void addRow(std::vector<Text> cells);  // extra cells beyond kColumns are dropped
    void selectRow(int row);               // -1, or a row that does not exist, selects nothing

    // --- hooks, run on the caller's thread with no lock held, so they may
    // call back into the fake (e.g. selectRow while a command waits) ---
    // Stands for the user closing the modal window; runModalWindow returns
    // after it.
    void onModalWindow(std::function<void(ModalWindowId)> hook);
    // Stands for the user dismissing the message box.
    void onMessageBox(std::function<void(const Text& text, const Text& caption)> hook);

    // --- reading ---
    [[nodiscard]] std::vector<RecordedCall> calls() const;
    [[nodiscard]] std::vector<std::string> callLog() const;  // describe() of each call
    // The texts of the recorded calls of one kind, in order; with a control,
    // only of the calls on that control.
    [[nodiscard]] std::vector<Text> textsOf(RecordedCall::Kind kind,
                                            std::optional<Control> control = {}) const;
    void clearCalls();
    [[nodiscard]] Text text(Control control) const;
    [[nodiscard]] bool visible(Control control) const;
    [[nodiscard]] std::vector<std::vector<Text>> rows() const;  // each row kColumns cells
    [[nodiscard]] int selection() const;
    [[nodiscard]] Text clipboard() const;

    // Joins every worker started so far (and those they start).
    void waitForWorkers();

    // --- WindowRuntime ---
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
    void record(RecordedCall call);

    mutable std::mutex mutex_;
    Workers workers_;
    // In blocks, so a long command's thousands of calls are never moved to
    // a larger buffer as the record grows.
    std::deque<RecordedCall> calls_;
    std::map<Control, Text> texts_;
    std::map<Control, bool> hidden_;
    std::vector<std::vector<Text>> rows_;
    int selection_ = -1;
    Text clipboard_;
    std::function<void(ModalWindowId)> modalHook_;
    std::function<void(const Text&, const Text&)> messageHook_;
    WorkerGroup threads_;  // last member: joined first, while the rest still exists
};

}  // namespace quorrin::testing
