#include "platform/window_runtime.h"

#include "platform/literal.h"
#include "platform/web_address.h"

namespace quorrin {

std::string_view controlName(Control control) {
    switch (control) {
        case Control::标签1:
            return "标签1";
        case Control::编辑框1:
            return "编辑框1";
        case Control::按钮1:
            return "按钮1";
        case Control::透明标签1:
            return "透明标签1";
        case Control::按钮3:
            return "按钮3";
        case Control::按钮2:
            return "按钮2";
        case Control::按钮4:
            return "按钮4";
    }
    return "";
}

std::string_view modalWindowName(ModalWindowId window) {
    switch (window) {
        case ModalWindowId::linkWindow:
            return "LinkWindow";
    }
    return "";
}

Text defaultMessageCaption() {
    return literalText("信息：");
}

bool WindowRuntime::openInBrowser(const Text& address) {
    if (!isWebAddress(address)) {
        return false;
    }
    doOpenInBrowser(address);
    return true;
}

}  // namespace quorrin
