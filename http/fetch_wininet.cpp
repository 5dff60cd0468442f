#include "http/fetch_wininet.h"

#include <array>
#include <memory>

#include "http/cookies.h"
#include "http/fetch_wininet_request.h"
#include "http/fetch_wininet_response.h"
#include "http/proxy_name.h"
#include "http/url_parts.h"
#include "platform/text_ops.h"

namespace quorrin {

ByteSet fetchWinInet(const Text& url, int method, const Text& postData, Text* cookies,
                     Text* returnedCookies, Text* extraHeaders, Text* returnedHeaders,
                     bool noRedirect, ByteSet* postBytes, const Text& proxy,
                     const WinInet& winInet) {
    static constexpr std::array<const char*, 3> kVerbs = {"GET", "POST", "HEAD"};
    if (method < 0 || method > 2) {
        method = 0;
    }
    const Text verb = kVerbs[static_cast<std::size_t>(method)];
    const bool secure = toLower(leftText(url, 8)) == Text("https://");
    const Text extra = extraHeaders != nullptr ? *extraHeaders : Text{};

    const std::uint32_t accessType =
        proxy.empty() ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY;
    std::unique_ptr<InternetSession> session =
        winInet.open(wininet_fetch::userAgent(extra), accessType, proxyName(proxy, secure), {});
    if (!session) {
        return {};
    }
    std::unique_ptr<InternetConnection> connection = session->connect(urlHost(url), urlPort(url));
    if (!connection) {
        return {};
    }
    const std::uint32_t flags = wininet_fetch::requestFlags(cookies != nullptr, noRedirect, secure);
    std::unique_ptr<InternetRequest> request =
        connection->openRequest(verb, urlPath(url), "HTTP/1.1", flags);
    if (!request) {
        return {};  // the connection closes before the session, as on every path
    }

    const Text headers =
        wininet_fetch::headerBlock(extra, url, cookies != nullptr ? *cookies : Text{});
    if (extraHeaders != nullptr) {
        *extraHeaders = headers;
    }
    ByteSet body;
    if (method != 0) {
        if (postBytes == nullptr) {
            body = toBytes(postData);
        } else {
            if (postBytes->empty()) {
                *postBytes = toBytes(postData);
            }
            body = *postBytes;
        }
    }
    request->send(headers, body);  // a failed send shows as an empty body
    ByteSet result = wininet_fetch::readBody(*request);
    const Text responseHeaders = wininet_fetch::responseHeaders(*request);
    if (returnedHeaders != nullptr) {
        *returnedHeaders = responseHeaders;
    }
    request.reset();
    connection.reset();
    session.reset();

    Text harvested = wininet_fetch::harvestCookies(responseHeaders);
    if (cookies != nullptr) {
        harvested = mergeCookies(*cookies, harvested);
    }
    if (returnedCookies != nullptr) {
        *returnedCookies = harvested;
    }
    return result;
}

}  // namespace quorrin
