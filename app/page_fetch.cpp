#include "app/page_fetch.h"

#include "http/fetch_winhttp.h"
#include "platform/winhttp_curl.h"

namespace quorrin {

Text fetchPage(const CommandContext& context, const Text& url) {
    const WinHttpCurl winHttp(context.stop);
    return fetchWinHttp(url, 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {}, {}, 0,
                        nullptr, nullptr, nullptr, winHttp);
}

}  // namespace quorrin
