#include "platform/qt/qt_window_runtime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "platform/qt/qt_text.h"

namespace quorrin {
namespace {

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

// On a worker thread there is nothing of its own to process.
void processWindowEvents() {
    if (onApplicationThread()) {
        QCoreApplication::processEvents();
    }
}

QString textOf(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    return {};
}

void setTextOf(QWidget* widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    }
}

// A second check of the address in Qt's own parsing, so that what reaches
// the desktop is exactly an http or https address with a host.
bool isWebUrl(const QUrl& url) {
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

}  // namespace

QtWindowRuntime::QtWindowRuntime()
    : context_(std::make_unique<QObject>()),
      previousHandler_(setPendingEventsHandler(&processWindowEvents)) {
    rowBatch_.setInterval(kRowBatchInterval);
    QObject::connect(&rowBatch_, &QTimer::timeout, context_.get(), [this] { onRowBatchTick(); });
}

QtWindowRuntime::~QtWindowRuntime() {
    beginClosing();
    waitForWorkers();
    setPendingEventsHandler(previousHandler_);
}

void QtWindowRuntime::bindControl(Control control, QWidget* widget) {
    controls_[control] = widget;
}

void QtWindowRuntime::bindList(QTreeWidget* list) {
    flushRows();
    list_ = list;
}

void QtWindowRuntime::setModalWindowFactory(ModalWindowId window, ModalWindowFactory factory) {
    factories_[window] = std::move(factory);
}

void QtWindowRuntime::setModalShownHook(std::function<void(QDialog*)> hook) {
    shownHook_ = std::move(hook);
}

void QtWindowRuntime::beginClosing() {
    closing_.store(true);
    // Copied: rejecting a window lets its exec() return later, which edits
    // the list.
    const std::vector<QPointer<QDialog>> open = openModals_;
    for (const QPointer<QDialog>& dialog : open) {
        if (dialog) {
            dialog->reject();
        }
    }
}

bool QtWindowRuntime::waitForWorkers(std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    while (workers_.running() > 0) {
        if (Clock::now() >= deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        (void)workers_.waitFor(std::chrono::milliseconds(5));
    }
    workers_.joinAll();
    return true;
}

bool QtWindowRuntime::onWindowThreadNow() const {
    return QThread::currentThread() == context_->thread();
}

void QtWindowRuntime::onWindowThread(const std::function<void()>& action) {
    if (closing_.load()) {
        return;
    }
    if (onWindowThreadNow()) {
        action();
        return;
    }
    // Closing may begin between the check above and the call being handled;
    // the window thread keeps handling events until the workers end, so the
    // call is answered either way.
    QMetaObject::invokeMethod(
        context_.get(),
        [this, &action] {
            if (!closing_.load()) {
                action();
            }
        },
        Qt::BlockingQueuedConnection);
}

Text QtWindowRuntime::controlText(Control control) {
    Text result;
    onWindowThread([&] { result = fromQString(textOf(controls_[control].data())); });
    return result;
}

void QtWindowRuntime::setControlText(Control control, const Text& text) {
    onWindowThread([&] {
        flushRows();
        setTextOf(controls_[control].data(), toQString(text));
    });
}

void QtWindowRuntime::setControlVisible(Control control, bool visible) {
    onWindowThread([&] {
        flushRows();
        if (QWidget* widget = controls_[control].data()) {
            widget->setVisible(visible);
        }
    });
}

QTreeWidgetItem* QtWindowRuntime::rowItem(int row) const {
    if (!list_ || row < 0) {
        return nullptr;
    }
    const int listed = list_->topLevelItemCount();
    if (row < listed) {
        return list_->topLevelItem(row);
    }
    const auto pending = static_cast<std::size_t>(row - listed);
    return pending < pendingRows_.size() ? pendingRows_[pending].get() : nullptr;
}

void QtWindowRuntime::flushRows(bool keepNewest) {
    const std::size_t kept = keepNewest && !pendingRows_.empty() ? 1 : 0;
    if (kept == 0) {
        rowBatch_.stop();
    }
    if (pendingRows_.size() == kept) {
        return;
    }
    const auto handed = pendingRows_.end() - static_cast<std::ptrdiff_t>(kept);
    if (list_) {
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(handed - pendingRows_.begin()));
        for (auto row = pendingRows_.begin(); row != handed; ++row) {
            items.append(row->release());  // owned by the list from here
        }
        list_->addTopLevelItems(items);
    }
    pendingRows_.erase(pendingRows_.begin(), handed);
}

void QtWindowRuntime::onRowBatchTick() {
    // A worker that added no row for a whole tick has written the cells of
    // its newest one, or is busy elsewhere.
    flushRows(rowAddedSinceTick_);
    rowAddedSinceTick_ = false;
}

void QtWindowRuntime::deleteAllRows() {
    onWindowThread([&] {
        rowBatch_.stop();
        pendingRows_.clear();
        if (list_) {
            list_->clear();
        }
    });
}

int QtWindowRuntime::insertRow() {
    int index = -1;
    const bool fromWorker = !onWindowThreadNow();
    onWindowThread([&] {
        if (!list_) {
            return;
        }
        pendingRows_.push_back(std::make_unique<QTreeWidgetItem>());
        index = list_->topLevelItemCount() + static_cast<int>(pendingRows_.size()) - 1;
        if (!fromWorker) {
            flushRows();
            return;
        }
        rowAddedSinceTick_ = true;
        if (!rowBatch_.isActive()) {
            rowBatch_.start();
        }
    });
    return index;
}

void QtWindowRuntime::setCellText(int row, int column, const Text& text) {
    onWindowThread([&] {
        QTreeWidgetItem* item = rowItem(row);
        if (item != nullptr && column >= 0 && column < list_->columnCount()) {
            item->setText(column, toQString(text));
        }
    });
}

Text QtWindowRuntime::cellText(int row, int column) {
    Text result;
    onWindowThread([&] {
        flushRows();
        const QTreeWidgetItem* item = rowItem(row);
        if (item != nullptr && column >= 0 && column < list_->columnCount()) {
            result = fromQString(item->text(column));
        }
    });
    return result;
}

int QtWindowRuntime::selectedRow() {
    int row = -1;
    onWindowThread([&] {
        flushRows();
        if (!list_) {
            return;
        }
        const QList<QTreeWidgetItem*> selected = list_->selectedItems();
        if (!selected.isEmpty()) {
            row = list_->indexOfTopLevelItem(selected.first());
        }
    });
    return row;
}

void QtWindowRuntime::execModal(QDialog& dialog) {
    if (closing_.load()) {
        return;
    }
    dialog.setWindowModality(Qt::ApplicationModal);
    openModals_.emplace_back(&dialog);
    if (shownHook_) {
        // Fires inside exec(), once the window is open.
        QTimer::singleShot(0, &dialog, [this, &dialog] { shownHook_(&dialog); });
    }
    dialog.exec();
    std::erase_if(openModals_, [&](const QPointer<QDialog>& open) {
        return open.isNull() || open.data() == &dialog;
    });
}

void QtWindowRuntime::runModalWindow(ModalWindowId window) {
    onWindowThread([&] {
        flushRows();
        const auto found = factories_.find(window);
        if (found == factories_.end()) {
            return;
        }
        if (std::unique_ptr<QDialog> dialog = found->second()) {
            execModal(*dialog);
        }
    });
}

void QtWindowRuntime::doShowMessageBox(const Text& text, const Text& caption) {
    onWindowThread([&] {
        flushRows();
        QMessageBox box(QMessageBox::NoIcon, toQString(caption), toQString(text), QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        execModal(box);
    });
}

void QtWindowRuntime::setClipboardText(const Text& text) {
    onWindowThread([&] {
        flushRows();
        QGuiApplication::clipboard()->setText(toQString(text));
    });
}

void QtWindowRuntime::doOpenInBrowser(const Text& address) {
    onWindowThread([&] {
        flushRows();
        const QUrl url(toQString(address), QUrl::StrictMode);
        if (isWebUrl(url)) {
            QDesktopServices::openUrl(url);
        }
    });
}

void QtWindowRuntime::startWorker(std::function<void()> routine) {
    // Once the program is ending nothing new starts.
    if (!closing_.load()) {
        workers_.start(std::move(routine));
    }
}

void QtWindowRuntime::processPendingEvents() {
    processWindowEvents();
}

}  // namespace quorrin
