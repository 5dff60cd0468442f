#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include "app/command_dispatcher.h"
#include "platform/qt/qt_window_runtime.h"
#include "platform/text.h"

namespace quorrin {

// The client's main window: the keyword, the three command buttons, the
// group button, the status label and the result list. It binds its controls
// to the runtime so that commands reach them by identity; its click handlers
// only hand the click to the dispatcher (or open the group address).
class MainWindow final : public QWidget {
  public:
    MainWindow(QtWindowRuntime& runtime, CommandDispatcher& dispatcher, const Text& siteBase,
               QWidget* parent = nullptr);

  protected:
    // Closing stops the commands and releases workers blocked on the window
    // before the window goes away.
    void closeEvent(QCloseEvent* event) override;

  private:
    QPushButton* addButton(Control control, const char* text, QRect place);

    QtWindowRuntime& runtime_;
    CommandDispatcher& dispatcher_;
};

}  // namespace quorrin
