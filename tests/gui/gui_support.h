#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

#include "app/program_state.h"
#include "app/windows/client_windows.h"
#include "platform/qt/qt_window_runtime.h"

// Failures print Qt texts as text, not as lists of bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quorrin::gui {

// Finds a control by its object name (UTF-8).
template <typename Widget>
Widget* child(const QObject& root, const char* name) {
    return root.findChild<Widget*>(QString::fromUtf8(name));
}

// Handles window events until the condition holds; false after 10 s.
bool waitUntil(const std::function<bool()>& condition);

// Writes a picture of the widget as it would show on screen into the build
// folder, or into $QUORRIN_SCREENSHOT_DIR when set; answers the file's path,
// or an empty string on failure.
QString saveScreenshot(QWidget& widget, const QString& fileName);

// The list's rows as shown: the first three columns of each top-level item.
std::vector<QStringList> listedRows(const QTreeWidget& list);

inline const char* const kTestSiteBase = "http://share.test:8080";

// The runtime, the program state and the windows, with the commands a test
// binds to the buttons.
struct Client {
    explicit Client(const std::map<Control, Command>& commands,
                    const Text& siteBase = kTestSiteBase);

    QtWindowRuntime runtime;
    ProgramState state;
    std::unique_ptr<ClientWindows> windows;
    MainWindow& window() { return windows->mainWindow(); }
};

}  // namespace quorrin::gui
