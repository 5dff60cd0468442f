#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/client_commands.h"
#include "app/windows/link_window.h"
#include "demo/catalog.h"
#include "demo/server.h"
#include "tests/gui/browser_capture.h"
#include "tests/gui/gui_support.h"

// A user's whole road through the real windows and commands, against the
// demo site on a loopback port.
namespace quorrin::gui {
namespace {

const std::string kKeyword = "爵迹";

QStringList rowOf(const demo::Share& share) {
    return {QString::fromStdString(share.title), QString::fromStdString(share.sharer),
            QString::fromStdString(share.shareTime)};
}

// The demo site's rows of pages first..last whose title holds the keyword.
std::vector<QStringList> expectedRows(int first, int last) {
    std::vector<QStringList> rows;
    for (int page = first; page <= last; ++page) {
        for (const demo::Share& share : demo::sharesOnPage(kKeyword, page)) {
            if (share.title.find(kKeyword) != std::string::npos) {
                rows.push_back(rowOf(share));
            }
        }
    }
    return rows;
}

int rowWithTitle(const QTreeWidget& list, const std::string& title) {
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        if (list.topLevelItem(i)->text(0) == QString::fromStdString(title)) {
            return i;
        }
    }
    return -1;
}

class ClientOnDemoSite : public ::testing::Test {
  protected:
    // The client needs the server's port, known once it listens.
    void SetUp() override {
        ASSERT_TRUE(server.start(0));
        owned = std::make_unique<Client>(clientCommands(), Text(server.baseUrl()));
    }

    // Clicks the button and handles events until its command has ended.
    bool clickAndWait(const char* button) {
        QTest::mouseClick(child<QPushButton>(client().window(), button), Qt::LeftButton);
        return waitUntil([&] { return client().runtime.runningWorkers() == 0; });
    }
    QString status() { return child<QLabel>(client().window(), "透明标签1")->text(); }

    demo::Server server;
    std::unique_ptr<Client> owned;
    Client& client() { return *owned; }
};

TEST_F(ClientOnDemoSite, SearchLoadAllAndResolveTheSelectedRow) {
    client().window().show();
    auto* list = child<QTreeWidget>(client().window(), "超级列表框1");
    ASSERT_EQ(child<QLineEdit>(client().window(), "编辑框1")->text(),
              QString::fromStdString(kKeyword));

    ASSERT_TRUE(clickAndWait("按钮1"));
    EXPECT_EQ(listedRows(*list), expectedRows(1, 1));
    EXPECT_EQ(status(), QString::fromUtf8("搜索完成"));

    ASSERT_TRUE(clickAndWait("按钮4"));
    EXPECT_EQ(listedRows(*list), expectedRows(1, demo::pageCountFor(kKeyword)));
    EXPECT_EQ(status(), QString::fromUtf8("加载完成"));

    // A live share on page 2: page 1 is walked past, page 2 leads to it.
    const demo::Share live = demo::sharesOnPage(kKeyword, 2)[0];
    ASSERT_FALSE(live.expired);
    const int row = rowWithTitle(*list, live.title);
    ASSERT_GE(row, 0);
    list->setCurrentItem(list->topLevelItem(row));
    QString shownAddress;
    QString copied;
    const BrowserCapture browser;
    client().runtime.setModalShownHook([&](QDialog* dialog) {
        ASSERT_NE(dynamic_cast<LinkWindow*>(dialog), nullptr);
        shownAddress = child<QLineEdit>(*dialog, "编辑框1")->text();
        child<QPushButton>(*dialog, "按钮1")->click();
        copied = QGuiApplication::clipboard()->text();
        child<QPushButton>(*dialog, "按钮2")->click();
        dialog->close();
    });
    ASSERT_TRUE(clickAndWait("按钮3"));
    const QString address = QString::fromStdString(server.baseUrl() + "/s/" + live.fileId);
    EXPECT_EQ(shownAddress, address);
    EXPECT_EQ(copied, address);
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(address)});
    EXPECT_EQ(status(), QString::fromUtf8("获取完成"));

    // An expired share is reported, and the walk goes on to the last page.
    const demo::Share expired = demo::sharesOnPage(kKeyword, 3)[6];
    ASSERT_TRUE(expired.expired);
    list->setCurrentItem(list->topLevelItem(rowWithTitle(*list, expired.title)));
    QStringList messages;
    client().runtime.setModalShownHook([&](QDialog* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        messages.append(box->windowTitle() + box->text());
        box->button(QMessageBox::Ok)->click();
    });
    ASSERT_TRUE(clickAndWait("按钮3"));
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("信息：该分享已失效")});
    EXPECT_EQ(status(), QString::fromUtf8("获取完成"));
}

// A second click while a command runs waits its turn: each search or
// load-all clears the list before it fills it, so the list ends as after one.
TEST_F(ClientOnDemoSite, DoubleClicksNeitherDoubleNorMixTheRows) {
    client().window().show();
    auto* list = child<QTreeWidget>(client().window(), "超级列表框1");
    for (const char* button : {"按钮1", "按钮4"}) {
        SCOPED_TRACE(button);
        QTest::mouseDClick(child<QPushButton>(client().window(), button), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(client().window(), button), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([&] { return client().runtime.runningWorkers() == 0; }));
    }
    EXPECT_EQ(listedRows(*list), expectedRows(1, demo::pageCountFor(kKeyword)));
    EXPECT_EQ(status(), QString::fromUtf8("加载完成"));
}

// The pictures in the README: the main window after a demo search, and the
// link window with an address the demo site resolved.
TEST_F(ClientOnDemoSite, ScreenshotsAfterADemoSearch) {
    client().window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&client().window()));
    ASSERT_TRUE(clickAndWait("按钮1"));
    ASSERT_TRUE(clickAndWait("按钮4"));
    auto* list = child<QTreeWidget>(client().window(), "超级列表框1");
    const demo::Share live = demo::sharesOnPage(kKeyword, 1)[1];
    const int row = rowWithTitle(*list, live.title);
    ASSERT_GE(row, 0);
    list->setCurrentItem(list->topLevelItem(row));
    ASSERT_FALSE(
        saveScreenshot(client().window(), QStringLiteral("demo_main_window.png")).isEmpty());

    QString linkPicture;
    bool linkExposed = false;
    client().runtime.setModalShownHook([&](QDialog* dialog) {
        linkExposed = QTest::qWaitForWindowExposed(dialog);
        linkPicture = saveScreenshot(*dialog, QStringLiteral("demo_link_window.png"));
        dialog->close();
    });
    ASSERT_TRUE(clickAndWait("按钮3"));
    EXPECT_TRUE(linkExposed);
    EXPECT_FALSE(linkPicture.isEmpty());
}

}  // namespace
}  // namespace quorrin::gui
