#include "tests/support/recorded_call.h"

#include <string>

#include "platform/codepage.h"

namespace quorrin::testing {
namespace {

using Kind = RecordedCall::Kind;

// Code page 936 to UTF-8, so that recorded texts read like the source.
std::string utf8Of(const Text& text) {
    return fromUtf16(kCodePageUtf8, toUtf16(kCodePageGbk, text.view()));
}

std::string quoted(const Text& text) {
    return "\"" + utf8Of(text) + "\"";
}

std::string nameOf(const RecordedCall& call) {
    return call.control ? std::string(controlName(*call.control)) : std::string();
}

}  // namespace

std::string describe(const RecordedCall& call) {
    const std::string cell = std::to_string(call.row) + ", " + std::to_string(call.column);
    switch (call.kind) {
        case Kind::controlText:
            return "controlText(" + nameOf(call) + ") -> " + quoted(call.text);
        case Kind::setControlText:
            return "setControlText(" + nameOf(call) + ", " + quoted(call.text) + ")";
        case Kind::setControlVisible:
            return "setControlVisible(" + nameOf(call) + ", " + (call.visible ? "true" : "false") +
                   ")";
        case Kind::deleteAllRows:
            return "deleteAllRows()";
        case Kind::insertRow:
            return "insertRow() -> " + std::to_string(call.answer);
        case Kind::setCellText:
            return "setCellText(" + cell + ", " + quoted(call.text) + ")";
        case Kind::cellText:
            return "cellText(" + cell + ") -> " + quoted(call.text);
        case Kind::selectedRow:
            return "selectedRow() -> " + std::to_string(call.answer);
        case Kind::runModalWindow:
            return "runModalWindow(" +
                   std::string(call.window ? modalWindowName(*call.window) : "") + ")";
        case Kind::showMessageBox:
            return "showMessageBox(" + quoted(call.text) + ", " + quoted(call.caption) + ")";
        case Kind::setClipboardText:
            return "setClipboardText(" + quoted(call.text) + ")";
        case Kind::openInBrowser:
            return "openInBrowser(" + quoted(call.text) + ")";
        case Kind::startWorker:
            return "startWorker()";
        case Kind::processPendingEvents:
            return "processPendingEvents()";
    }
    return "?";
}

}  // namespace quorrin::testing
