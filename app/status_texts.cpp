#include "app/status_texts.h"

#include "platform/literal.h"

namespace quorrin::status {
namespace {

struct Texts {
    Text searching = literalText("正在搜索中");
    Text searchDone = literalText("搜索完成");
    Text searchFailed = literalText("搜索失败");
    Text loading = literalText("正在加载中");
    Text loadDone = literalText("加载完成");
    Text resolving = literalText("正在获取中");
    Text resolveDone = literalText("获取完成");
    Text shareExpired = literalText("该分享已失效");
};

// Turned into code page 936 once, on first use of any of them.
const Texts& texts() {
    static const Texts all;
    return all;
}

}  // namespace

const Text& searching() {
    return texts().searching;
}
const Text& searchDone() {
    return texts().searchDone;
}
const Text& searchFailed() {
    return texts().searchFailed;
}
const Text& loading() {
    return texts().loading;
}
const Text& loadDone() {
    return texts().loadDone;
}
const Text& resolving() {
    return texts().resolving;
}
const Text& resolveDone() {
    return texts().resolveDone;
}
const Text& shareExpired() {
    return texts().shareExpired;
}

}  // namespace quorrin::status
