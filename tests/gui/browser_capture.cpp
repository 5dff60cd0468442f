#include "tests/gui/browser_capture.h"

#include <QDesktopServices>

namespace quorrin::gui {
namespace {

const char* const kSchemes[] = {"http", "https", "file", "javascript", "ftp", "netdisk"};

}  // namespace

BrowserCapture::BrowserCapture() {
    for (const char* scheme : kSchemes) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
}

BrowserCapture::~BrowserCapture() {
    for (const char* scheme : kSchemes) {
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
}

}  // namespace quorrin::gui
