#include "tests/gui/gui_support.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>

namespace quorrin::gui {

bool waitUntil(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 10000);
}

QString saveScreenshot(QWidget& widget, const QString& fileName) {
    // QUORRIN_SCREENSHOT_DIR in the environment sends the pictures elsewhere
    // (scripts/screenshots.sh writes the README's into docs/).
    const QString chosen = qEnvironmentVariable("QUORRIN_SCREENSHOT_DIR");
    const QDir folder(chosen.isEmpty() ? QStringLiteral(QUORRIN_SCREENSHOT_DIR) : chosen);
    if (!folder.mkpath(QStringLiteral("."))) {
        return {};
    }
    const QString path = folder.filePath(fileName);
    const QPixmap picture = widget.grab();
    return !picture.isNull() && picture.save(path, "PNG") ? path : QString();
}

std::vector<QStringList> listedRows(const QTreeWidget& list) {
    std::vector<QStringList> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list.topLevelItem(i);
        rows.push_back({item->text(0), item->text(1), item->text(2)});
    }
    return rows;
}

Client::Client(const std::map<Control, Command>& commands, const Text& siteBase)
    : windows(std::make_unique<ClientWindows>(runtime, state, siteBase, commands)) {}

}  // namespace quorrin::gui
