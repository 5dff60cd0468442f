#pragma once

#include "platform/text.h"

// The texts the commands write into the status label and the message box.
namespace quorrin::status {

[[nodiscard]] const Text& searching();     // "正在搜索中"
[[nodiscard]] const Text& searchDone();    // "搜索完成"
[[nodiscard]] const Text& searchFailed();  // "搜索失败"
[[nodiscard]] const Text& loading();       // "正在加载中"
[[nodiscard]] const Text& loadDone();      // "加载完成"
[[nodiscard]] const Text& resolving();     // "正在获取中"
[[nodiscard]] const Text& resolveDone();   // "获取完成"
[[nodiscard]] const Text& shareExpired();  // "该分享已失效"

}  // namespace quorrin::status
