#include "app/group_link.h"

#include "app/build_settings.h"
#include "platform/literal.h"

namespace quorrin {

bool openGroupLink(WindowRuntime& window) {
    return window.openInBrowser(literalText(build::kGroupUrl));
}

}  // namespace quorrin
