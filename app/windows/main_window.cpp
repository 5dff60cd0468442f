#include "app/windows/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QString>

#include "app/group_link.h"
#include "app/site_grammar.h"
#include "platform/qt/qt_text.h"

namespace quorrin {
namespace {

QString nameOf(Control control) {
    const std::string_view name = controlName(control);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

MainWindow::MainWindow(QtWindowRuntime& runtime, CommandDispatcher& dispatcher,
                       const Text& siteBase, QWidget* parent)
    : QWidget(parent), runtime_(runtime), dispatcher_(dispatcher) {
    setWindowTitle(QStringLiteral("Quorrin"));
    move(50, 50);
    resize(810, 441);

    auto* siteLabel = new QLabel(toQString(site::addressLabel(siteBase)), this);
    siteLabel->setObjectName(nameOf(Control::标签1));
    siteLabel->setTextFormat(Qt::PlainText);
    siteLabel->setGeometry(24, 8, 528, 24);
    runtime_.bindControl(Control::标签1, siteLabel);

    auto* keyword = new QLineEdit(QStringLiteral("爵迹"), this);
    keyword->setObjectName(nameOf(Control::编辑框1));
    keyword->setGeometry(16, 40, 424, 32);
    runtime_.bindControl(Control::编辑框1, keyword);

    addButton(Control::按钮1, "搜索", QRect(456, 40, 80, 32));

    // Status label: a QLabel paints no background of its own, so it is
    // transparent; hidden until a search shows it.
    auto* status = new QLabel(this);
    status->setObjectName(nameOf(Control::透明标签1));
    status->setTextFormat(Qt::PlainText);
    status->setGeometry(536, 40, 176, 32);
    status->hide();
    runtime_.bindControl(Control::透明标签1, status);

    addButton(Control::按钮3, "选中想下载的点击我", QRect(632, 40, 120, 32));
    addButton(Control::按钮2, "一键加入交流群", QRect(648, 0, 104, 32));

    auto* results = new QTreeWidget(this);
    results->setObjectName(QStringLiteral("超级列表框1"));
    results->setGeometry(16, 80, 704, 296);
    results->setColumnCount(kResultColumns);
    results->setHeaderLabels(
        {QStringLiteral("结果"), QStringLiteral("分享人"), QStringLiteral("分享时间")});
    results->setColumnWidth(0, 400);
    results->setColumnWidth(1, 100);
    results->setColumnWidth(2, 150);
    results->setRootIsDecorated(false);
    results->setSelectionMode(QAbstractItemView::SingleSelection);
    results->setSelectionBehavior(QAbstractItemView::SelectRows);
    results->header()->setStretchLastSection(false);
    runtime_.bindList(results);

    addButton(Control::按钮4, "加载全部", QRect(720, 88, 80, 32));

    // Defined by the window but hidden: never shown in a menu bar, never
    // popped up, and its item is bound to nothing.
    auto* menu = new QMenu(QStringLiteral("菜单"), this);
    menu->setObjectName(QStringLiteral("菜单"));
    menu->menuAction()->setVisible(false);
    QAction* openAddress = menu->addAction(QStringLiteral("打开下载地址"));
    openAddress->setObjectName(QStringLiteral("打开下载地址"));
    openAddress->setVisible(false);

    // The window's "created" event needs no work: the controls above are
    // complete before the window is shown.
}

QPushButton* MainWindow::addButton(Control control, const char* text, QRect place) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setObjectName(nameOf(control));
    button->setGeometry(place);
    runtime_.bindControl(control, button);
    if (control == Control::按钮2) {
        connect(button, &QPushButton::clicked, this, [this] { openGroupLink(runtime_); });
    } else {
        connect(button, &QPushButton::clicked, this,
                [this, control] { dispatcher_.click(control); });
    }
    return button;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    dispatcher_.requestStop();
    runtime_.beginClosing();
    QWidget::closeEvent(event);
}

}  // namespace quorrin
