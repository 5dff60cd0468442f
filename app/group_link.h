#pragma once

#include "platform/window_runtime.h"

namespace quorrin {

// The click handler of 按钮2 ("一键加入交流群"): opens the chat-group
// invitation address of the build settings in the browser. Answers whether
// it was handed on (only an http or https address is).
bool openGroupLink(WindowRuntime& window);

}  // namespace quorrin
