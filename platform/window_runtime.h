#pragma once

#include <functional>
#include <string_view>

#include "platform/text.h"

// What the client relies on from its window toolkit. The commands are written
// against this class only, so they run in tests without any window; one
// implementation sits on Qt (platform/qt), one records calls (tests/support).
// Every text crosses it in code page 936.
namespace quorrin {

// The main window's controls that carry a text or can be shown and hidden.
// They keep the names of the window definition.
enum class Control {
    标签1,      // label showing the site's address
    编辑框1,    // the keyword
    按钮1,      // "搜索"
    透明标签1,  // status label, starts hidden
    按钮3,      // "选中想下载的点击我"
    按钮2,      // "一键加入交流群"
    按钮4,      // "加载全部"
};

// The name a control is known by: its object name in the window, and its
// name in a recorded call.
[[nodiscard]] std::string_view controlName(Control control);

// Second windows that a command loads as modal dialogs.
enum class ModalWindowId {
    linkWindow,
};

[[nodiscard]] std::string_view modalWindowName(ModalWindowId window);

// Caption of a message box when the caller gives none: "信息：".
[[nodiscard]] Text defaultMessageCaption();

// The columns of the main window's report list.
inline constexpr int kResultColumns = 3;

class WindowRuntime {
  public:
    WindowRuntime() = default;
    WindowRuntime(const WindowRuntime&) = delete;
    WindowRuntime& operator=(const WindowRuntime&) = delete;
    virtual ~WindowRuntime() = default;

    // Text of an edit box, label, transparent label or button.
    [[nodiscard]] virtual Text controlText(Control control) = 0;
    virtual void setControlText(Control control, const Text& text) = 0;
    virtual void setControlVisible(Control control, bool visible) = 0;

    // The main window's report list (超级列表框1), kResultColumns columns
    // (结果, 分享人, 分享时间). Rows and columns count from 0. insertRow adds a row at the end and
    // answers its index; a cell of a row or column that does not exist reads as empty text and is
    // not written; selectedRow answers -1 when no row is selected.
    virtual void deleteAllRows() = 0;
    [[nodiscard]] virtual int insertRow() = 0;
    virtual void setCellText(int row, int column, const Text& text) = 0;
    [[nodiscard]] virtual Text cellText(int row, int column) = 0;
    [[nodiscard]] virtual int selectedRow() = 0;

    // Loads a second window as a modal dialog; returns when it has closed.
    virtual void runModalWindow(ModalWindowId window) = 0;

    // A message box with one OK button, no owner window, modal to the whole
    // program; returns when it is dismissed.
    void showMessageBox(const Text& text) { doShowMessageBox(text, defaultMessageCaption()); }
    void showMessageBox(const Text& text, const Text& caption) { doShowMessageBox(text, caption); }

    // Puts the text on the clipboard as plain text.
    virtual void setClipboardText(const Text& text) = 0;

    // Opens an address in the default browser and returns at once. Only
    // http and https addresses are opened: the address may come from a
    // third-party page, and a file path or another scheme would run or open
    // something on this machine. Answers whether the address was handed on.
    bool openInBrowser(const Text& address);

    // Runs the routine on a new thread; nobody keeps its handle.
    virtual void startWorker(std::function<void()> routine) = 0;

    // Lets the window thread handle its pending events; does nothing on a
    // worker thread.
    virtual void processPendingEvents() = 0;

  protected:
    virtual void doShowMessageBox(const Text& text, const Text& caption) = 0;
    virtual void doOpenInBrowser(const Text& address) = 0;
};

}  // namespace quorrin
