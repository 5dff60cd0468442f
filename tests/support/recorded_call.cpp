#include "tests/support/recorded_call.h"

#include <string>

#include "platform/codepage.h"

namespace quorrin::testing {
namespace {

using Kind = RecordedCall::Kind;

// Code page 936 to UTF-8, so that recorded texts read like the source.
std::string utf8Of(const Text& text) {
    if (text.empty()) {
        return {};
    }
    const int units = multiByteToWideChar(kCodePageGbk, 0, text.c_str(), -1, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    multiByteToWideChar(kCodePageGbk, 0, text.c_str(), -1, wide.data(), units);
    const int bytes = wideCharToMultiByte(kCodePageUtf8, 0, wide.c_str(), -1, nullptr, 0);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    wideCharToMultiByte(kCodePageUtf8, 0, wide.c_str(), -1, utf8.data(), bytes);
    utf8.resize(utf8.find('\0'));
    return utf8;
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
