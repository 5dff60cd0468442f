#include "app/status_texts.h"

#include "platform/literal.h"

namespace quorrin::status {

const Text& searching() {
    static const Text text = literalText("正在搜索中");
    return text;
}

const Text& searchDone() {
    static const Text text = literalText("搜索完成");
    return text;
}

const Text& searchFailed() {
    static const Text text = literalText("搜索失败");
    return text;
}

const Text& loading() {
    static const Text text = literalText("正在加载中");
    return text;
}

const Text& loadDone() {
    static const Text text = literalText("加载完成");
    return text;
}

const Text& resolving() {
    static const Text text = literalText("正在获取中");
    return text;
}

const Text& resolveDone() {
    static const Text text = literalText("获取完成");
    return text;
}

const Text& shareExpired() {
    static const Text text = literalText("该分享已失效");
    return text;
}

}  // namespace quorrin::status
