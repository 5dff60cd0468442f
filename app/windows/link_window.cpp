#include "app/windows/link_window.h"

#include <QPushButton>

#include "platform/qt/qt_text.h"

namespace quorrin {

LinkWindow::LinkWindow(WindowRuntime& runtime, const ProgramState& state, QWidget* parent)
    : QDialog(parent), runtime_(runtime), state_(state) {
    setWindowTitle(QString());
    move(50, 50);
    resize(304, 141);

    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("编辑框1"));
    address_->setGeometry(8, 8, 280, 32);

    auto* copy = new QPushButton(QStringLiteral("复制链接"), this);
    copy->setObjectName(QStringLiteral("按钮1"));
    copy->setGeometry(24, 64, 80, 32);
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this,
            [this] { runtime_.setClipboardText(fromQString(address_->text())); });

    auto* open = new QPushButton(QStringLiteral("打开链接"), this);
    open->setObjectName(QStringLiteral("按钮2"));
    open->setGeometry(168, 64, 80, 32);
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this] { runtime_.openInBrowser(state_.linkText); });

    // The "created" event: the controls exist, the user cannot act yet.
    address_->setText(toQString(state_.linkText));
}

}  // namespace quorrin
