#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Kept apart from the other helpers: moc reads this file, and it must not
// see headers of ours.
namespace quorrin::gui {

// Takes the place of the desktop's browser: every address the program
// hands on lands in `opened`. It also claims schemes the program must never
// hand on, so a fault could not start anything on this machine.
class BrowserCapture : public QObject {
    Q_OBJECT
  public:
    BrowserCapture();
    ~BrowserCapture() override;
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

}  // namespace quorrin::gui
