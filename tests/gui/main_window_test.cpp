#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "tests/gui/gui_support.h"

namespace quorrin::gui {
namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

QString textOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        return button->text();
    }
    return QStringLiteral("<no text>");
}

struct ControlRow {
    const char* name;
    const char* kind;
    QRect place;
    const char* text;
    bool hidden;
};

TEST(MainWindow, ShowsEveryControlAtItsPlaceWithItsText) {
    Client client({});
    MainWindow& window = client.window();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quorrin"));
    EXPECT_EQ(window.pos(), QPoint(50, 50));
    EXPECT_EQ(window.size(), QSize(810, 441));

    const ControlRow rows[] = {
        {"标签1", "QLabel", {24, 8, 528, 24}, "网盘地址：http://share.test:8080/file-new/", false},
        {"编辑框1", "QLineEdit", {16, 40, 424, 32}, "爵迹", false},
        {"按钮1", "QPushButton", {456, 40, 80, 32}, "搜索", false},
        {"透明标签1", "QLabel", {536, 40, 176, 32}, "", true},
        {"按钮3", "QPushButton", {632, 40, 120, 32}, "选中想下载的点击我", false},
        {"按钮2", "QPushButton", {648, 0, 104, 32}, "一键加入交流群", false},
        {"按钮4", "QPushButton", {720, 88, 80, 32}, "加载全部", false},
    };
    for (const ControlRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QWidget* control = child<QWidget>(window, row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(control->metaObject()->className(), row.kind);
        EXPECT_EQ(control->geometry(), row.place);
        EXPECT_EQ(textOf(control), utf8(row.text));
        EXPECT_EQ(control->isHidden(), row.hidden);
    }
}

TEST(MainWindow, ResultListIsAThreeColumnReportWithSingleRowSelection) {
    Client client({});
    const auto* list = child<QTreeWidget>(client.window(), "超级列表框1");
    ASSERT_NE(list, nullptr);

    EXPECT_EQ(list->geometry(), QRect(16, 80, 704, 296));
    ASSERT_EQ(list->columnCount(), 3);
    const QTreeWidgetItem* header = list->headerItem();
    EXPECT_EQ(header->text(0), utf8("结果"));
    EXPECT_EQ(header->text(1), utf8("分享人"));
    EXPECT_EQ(header->text(2), utf8("分享时间"));
    EXPECT_EQ(list->columnWidth(0), 400);
    EXPECT_EQ(list->columnWidth(1), 100);
    EXPECT_EQ(list->columnWidth(2), 150);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST(MainWindow, MenuIsDefinedButHidden) {
    Client client({});
    MainWindow& window = client.window();
    window.show();

    const auto* menu = child<QMenu>(window, "菜单");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), utf8("菜单"));
    EXPECT_FALSE(menu->menuAction()->isVisible());
    EXPECT_FALSE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), utf8("打开下载地址"));
    EXPECT_FALSE(menu->actions()[0]->isVisible());
    EXPECT_EQ(window.findChild<QMenuBar*>(), nullptr);
}

}  // namespace
}  // namespace quorrin::gui
