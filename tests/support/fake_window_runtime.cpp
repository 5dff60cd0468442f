#include "tests/support/fake_window_runtime.h"

#include <string>
#include <utility>

namespace quorrin::testing {
namespace {

using Kind = RecordedCall::Kind;

RecordedCall callOf(Kind kind) {
    RecordedCall call;
    call.kind = kind;
    return call;
}

}  // namespace

void FakeWindowRuntime::setWorkers(Workers workers) {
    const std::scoped_lock lock(mutex_);
    workers_ = workers;
}

FakeWindowRuntime::FakeWindowRuntime(Workers workers) : workers_(workers) {
    hidden_[Control::透明标签1] = true;
}

FakeWindowRuntime::~FakeWindowRuntime() {
    waitForWorkers();
}

void FakeWindowRuntime::setText(Control control, const Text& text) {
    const std::scoped_lock lock(mutex_);
    texts_[control] = text;
}

void FakeWindowRuntime::setVisible(Control control, bool visible) {
    const std::scoped_lock lock(mutex_);
    hidden_[control] = !visible;
}

void FakeWindowRuntime::addRow(std::vector<Text> cells) {
    cells.resize(kColumns);
    const std::scoped_lock lock(mutex_);
    rows_.push_back(std::move(cells));
}

void FakeWindowRuntime::selectRow(int row) {
    const std::scoped_lock lock(mutex_);
    selection_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
}

void FakeWindowRuntime::onModalWindow(std::function<void(ModalWindowId)> hook) {
    const std::scoped_lock lock(mutex_);
    modalHook_ = std::move(hook);
}

void FakeWindowRuntime::onMessageBox(std::function<void(const Text&, const Text&)> hook) {
    const std::scoped_lock lock(mutex_);
    messageHook_ = std::move(hook);
}

std::vector<RecordedCall> FakeWindowRuntime::calls() const {
    const std::scoped_lock lock(mutex_);
    return {calls_.begin(), calls_.end()};
}

std::vector<std::string> FakeWindowRuntime::callLog() const {
    std::vector<std::string> log;
    for (const RecordedCall& call : calls()) {
        log.push_back(describe(call));
    }
    return log;
}

std::vector<Text> FakeWindowRuntime::textsOf(RecordedCall::Kind kind,
                                             std::optional<Control> control) const {
    std::vector<Text> texts;
    for (const RecordedCall& call : calls()) {
        if (call.kind == kind && (!control || call.control == control)) {
            texts.push_back(call.text);
        }
    }
    return texts;
}

void FakeWindowRuntime::clearCalls() {
    const std::scoped_lock lock(mutex_);
    calls_.clear();
}

Text FakeWindowRuntime::text(Control control) const {
    const std::scoped_lock lock(mutex_);
    const auto found = texts_.find(control);
    return found == texts_.end() ? Text() : found->second;
}

bool FakeWindowRuntime::visible(Control control) const {
    const std::scoped_lock lock(mutex_);
    const auto found = hidden_.find(control);
    return found == hidden_.end() || !found->second;
}

std::vector<std::vector<Text>> FakeWindowRuntime::rows() const {
    const std::scoped_lock lock(mutex_);
    return rows_;
}

int FakeWindowRuntime::selection() const {
    const std::scoped_lock lock(mutex_);
    return selection_;
}

Text FakeWindowRuntime::clipboard() const {
    const std::scoped_lock lock(mutex_);
    return clipboard_;
}

void FakeWindowRuntime::waitForWorkers() {
    threads_.joinAll();
}

void FakeWindowRuntime::record(RecordedCall call) {
    const std::scoped_lock lock(mutex_);
    calls_.push_back(std::move(call));
}

Text FakeWindowRuntime::controlText(Control control) {
    RecordedCall call = callOf(Kind::controlText);
    call.control = control;
    Text answer = text(control);
    call.text = answer;
    record(std::move(call));
    return answer;
}

void FakeWindowRuntime::setControlText(Control control, const Text& text) {
    setText(control, text);
    RecordedCall call = callOf(Kind::setControlText);
    call.control = control;
    call.text = text;
    record(std::move(call));
}

void FakeWindowRuntime::setControlVisible(Control control, bool visible) {
    setVisible(control, visible);
    RecordedCall call = callOf(Kind::setControlVisible);
    call.control = control;
    call.visible = visible;
    record(std::move(call));
}

void FakeWindowRuntime::deleteAllRows() {
    {
        const std::scoped_lock lock(mutex_);
        rows_.clear();
        selection_ = -1;
    }
    RecordedCall call = callOf(Kind::deleteAllRows);
    record(std::move(call));
}

int FakeWindowRuntime::insertRow() {
    int index = 0;
    {
        const std::scoped_lock lock(mutex_);
        index = static_cast<int>(rows_.size());
        rows_.emplace_back(kColumns);
    }
    RecordedCall call = callOf(Kind::insertRow);
    call.answer = index;
    record(std::move(call));
    return index;
}

void FakeWindowRuntime::setCellText(int row, int column, const Text& text) {
    {
        const std::scoped_lock lock(mutex_);
        if (row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 && column < kColumns) {
            rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
        }
    }
    RecordedCall call = callOf(Kind::setCellText);
    call.row = row;
    call.column = column;
    call.text = text;
    record(std::move(call));
}

Text FakeWindowRuntime::cellText(int row, int column) {
    Text cell;
    {
        const std::scoped_lock lock(mutex_);
        if (row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 && column < kColumns) {
            cell = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
        }
    }
    RecordedCall call = callOf(Kind::cellText);
    call.row = row;
    call.column = column;
    call.text = cell;
    record(std::move(call));
    return cell;
}

int FakeWindowRuntime::selectedRow() {
    const int row = selection();
    RecordedCall call = callOf(Kind::selectedRow);
    call.answer = row;
    record(std::move(call));
    return row;
}

void FakeWindowRuntime::runModalWindow(ModalWindowId window) {
    RecordedCall call = callOf(Kind::runModalWindow);
    call.window = window;
    record(std::move(call));
    std::function<void(ModalWindowId)> hook;
    {
        const std::scoped_lock lock(mutex_);
        hook = modalHook_;
    }
    if (hook) {
        hook(window);
    }
}

void FakeWindowRuntime::doShowMessageBox(const Text& text, const Text& caption) {
    RecordedCall call = callOf(Kind::showMessageBox);
    call.text = text;
    call.caption = caption;
    record(std::move(call));
    std::function<void(const Text&, const Text&)> hook;
    {
        const std::scoped_lock lock(mutex_);
        hook = messageHook_;
    }
    if (hook) {
        hook(text, caption);
    }
}

void FakeWindowRuntime::setClipboardText(const Text& text) {
    {
        const std::scoped_lock lock(mutex_);
        clipboard_ = text;
    }
    RecordedCall call = callOf(Kind::setClipboardText);
    call.text = text;
    record(std::move(call));
}

void FakeWindowRuntime::doOpenInBrowser(const Text& address) {
    RecordedCall call = callOf(Kind::openInBrowser);
    call.text = address;
    record(std::move(call));
}

void FakeWindowRuntime::startWorker(std::function<void()> routine) {
    RecordedCall call = callOf(Kind::startWorker);
    record(std::move(call));
    Workers workers = Workers::runInline;
    {
        const std::scoped_lock lock(mutex_);
        workers = workers_;
    }
    switch (workers) {
        case Workers::runInline:
            routine();
            break;
        case Workers::ownThreads:
            threads_.start(std::move(routine));
            break;
        case Workers::dropAll:
            break;
    }
}

void FakeWindowRuntime::processPendingEvents() {
    RecordedCall call = callOf(Kind::processPendingEvents);
    record(std::move(call));
}

}  // namespace quorrin::testing
