#include "http/proxy_name.h"

namespace quorrin {

Text proxyName(const Text& proxy, bool secure) {
    if (proxy.empty()) {
        return {};
    }
    return secure ? proxy : Text("http=") + proxy;
}

}  // namespace quorrin
