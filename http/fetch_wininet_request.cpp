#include "http/fetch_wininet_request.h"

#include "http/fetch_wininet.h"
#include "http/url_parts.h"
#include "platform/text_ops.h"
#include "platform/wininet.h"
#include "text/text_between.h"

namespace quorrin::wininet_fetch {

Text userAgent(const Text& extraHeaders) {
    if (findText(extraHeaders, "User-Agent:", 1, true) == -1) {
        return kWinInetDefaultAgent;
    }
    // The marker cut is case-sensitive, so a "user-agent:" line falls back
    // to the text after the first colon.
    const Text agent = trimBothEnds(textBetween(extraHeaders + "\r\n", "User-Agent:", "\r\n"));
    return agent.empty() ? textAfterColon(extraHeaders) : agent;
}

std::uint32_t requestFlags(bool cookiesSupplied, bool noRedirect, bool secure) {
    std::uint32_t flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
    if (cookiesSupplied) {
        flags |= INTERNET_FLAG_NO_COOKIES;
    }
    if (noRedirect) {
        flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    }
    flags |= secure ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    return flags;
}

Text headerBlock(const Text& extraHeaders, const Text& url, const Text& cookies) {
    Text block = extraHeaders;
    if (block.empty()) {
        block = "Accept: */*";
    } else if (findText(block, "Accept:") == -1) {
        block += "\r\nAccept: */*";
    }
    if (findText(block, "Referer:") == -1) {
        block += "\r\nReferer: " + url;
    }
    if (findText(block, "Accept-Language:") == -1) {
        block += "\r\nAccept-Language: zh-cn";
    }
    if (findText(block, "Content-Type:") == -1) {
        block += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (!cookies.empty()) {
        block += findText(cookies, "Cookie:") != -1 ? "\r\n" + cookies : "\r\nCookie: " + cookies;
    }
    return block;
}

}  // namespace quorrin::wininet_fetch
