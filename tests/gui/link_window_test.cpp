#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <string>

#include "app/windows/link_window.h"
#include "platform/literal.h"
#include "tests/gui/browser_capture.h"
#include "tests/gui/gui_support.h"

namespace quorrin::gui {
namespace {

const char* const kAddress = "https://pan.example.com/s/1AbCdEfG";

struct LinkControlRow {
    const char* name;
    QRect place;
    const char* text;
};

TEST(LinkWindow, ShowsTheAddressInItsControls) {
    QtWindowRuntime runtime;
    ProgramState state;
    state.linkText = Text(kAddress);
    LinkWindow window(runtime, state);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.windowTitle(), QString());
    EXPECT_EQ(window.parentWidget(), nullptr);
    EXPECT_EQ(window.pos(), QPoint(50, 50));
    EXPECT_EQ(window.size(), QSize(304, 141));
    const LinkControlRow rows[] = {
        {"编辑框1", {8, 8, 280, 32}, kAddress},
        {"按钮1", {24, 64, 80, 32}, "复制链接"},
        {"按钮2", {168, 64, 80, 32}, "打开链接"},
    };
    for (const LinkControlRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QWidget* control = child<QWidget>(window, row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), row.place);
        const auto* edit = qobject_cast<const QLineEdit*>(control);
        const auto* button = qobject_cast<const QPushButton*>(control);
        EXPECT_EQ(edit != nullptr ? edit->text() : button->text(), QString::fromUtf8(row.text));
    }
}

// The copy button copies what the box holds now; the open button opens the
// resolved address whatever the user typed.
TEST(LinkWindow, CopyTakesTheEditedBoxOpenTakesTheResolvedAddress) {
    BrowserCapture browser;
    QtWindowRuntime runtime;
    ProgramState state;
    state.linkText = Text(kAddress);
    LinkWindow window(runtime, state);
    window.show();
    auto* box = child<QLineEdit>(window, "编辑框1");
    box->end(false);
    QTest::keyClicks(box, QStringLiteral("?pwd=1234"));

    QTest::mouseClick(child<QPushButton>(window, "按钮1"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(window, "按钮2"), Qt::LeftButton);

    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(kAddress) + "?pwd=1234");
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened[0], QUrl(QString::fromUtf8(kAddress)));
}

TEST(LinkWindow, OpenHandsOnHttpAndHttpsAddresses) {
    struct OpenCase {
        const char* name;
        const char* address;  // UTF-8
        const char* opened;   // as the browser receives it
    };
    const OpenCase cases[] = {
        {"https with query", "https://pan.example.com/s/1Ab?pwd=x1y2",
         "https://pan.example.com/s/1Ab?pwd=x1y2"},
        {"http with port", "http://127.0.0.1:8080/s/1", "http://127.0.0.1:8080/s/1"},
        {"scheme in capitals", "HTTPS://PAN.EXAMPLE.COM/s/1", "https://pan.example.com/s/1"},
        {"Chinese path", "https://pan.example.com/s/爵迹", "https://pan.example.com/s/爵迹"},
    };
    for (const OpenCase& row : cases) {
        SCOPED_TRACE(row.name);
        BrowserCapture browser;
        QtWindowRuntime runtime;
        ProgramState state;
        state.linkText = literalText(row.address);
        LinkWindow window(runtime, state);
        window.show();

        QTest::mouseClick(child<QPushButton>(window, "按钮2"), Qt::LeftButton);

        ASSERT_EQ(browser.opened.size(), 1);
        EXPECT_EQ(browser.opened[0].toString(), QString::fromUtf8(row.opened));
    }
}

TEST(LinkWindow, OpenHandsOnNothingButHttpAndHttps) {
    const char* const refused[] = {
        "javascript:alert(document.cookie)",
        "file:///etc/passwd",
        "/usr/bin/xterm",
        "netdisk://open?id=1",
        "ftp://example.com/x",
        "",
    };
    for (const char* address : refused) {
        SCOPED_TRACE(address);
        BrowserCapture browser;
        QtWindowRuntime runtime;
        ProgramState state;
        state.linkText = Text(address);
        LinkWindow window(runtime, state);
        window.show();

        QTest::mouseClick(child<QPushButton>(window, "按钮2"), Qt::LeftButton);

        EXPECT_TRUE(browser.opened.isEmpty());
    }
}

TEST(LinkWindow, CommandLoadsItModallyAndContinuesWhenItCloses) {
    std::atomic<bool> returned{false};
    Client client({{Control::按钮3, [&](CommandContext& context) {
                        context.state.linkText = Text(kAddress);
                        context.window.runModalWindow(ModalWindowId::linkWindow);
                        returned = true;
                    }}});
    QString shownAddress;
    bool modal = false;
    bool workerWaited = false;
    client.runtime.setModalShownHook([&](QDialog* dialog) {
        ASSERT_NE(dynamic_cast<LinkWindow*>(dialog), nullptr);
        shownAddress = child<QLineEdit>(*dialog, "编辑框1")->text();
        modal = dialog->isModal() && dialog->parentWidget() == nullptr;
        workerWaited = !returned.load();
        dialog->close();
    });
    client.window().show();

    QTest::mouseClick(child<QPushButton>(client.window(), "按钮3"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return returned.load(); }));

    EXPECT_EQ(shownAddress, QString::fromUtf8(kAddress));
    EXPECT_TRUE(modal);
    EXPECT_TRUE(workerWaited);
}

}  // namespace
}  // namespace quorrin::gui
