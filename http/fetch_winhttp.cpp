#include "http/fetch_winhttp.h"

#include <memory>

#include "http/cookies.h"
#include "http/fetch_winhttp_request.h"
#include "http/fetch_winhttp_response.h"
#include "platform/literal.h"
#include "platform/text_ops.h"
#include "text/regex_matcher.h"

namespace quorrin {
namespace {

using namespace winhttp_fetch;

// Ends a call with a numbered failure text; the handles close as the call's
// locals go, request first, then connection, then session.
Text failed(Text* statusText, std::string_view failureText) {
    if (statusText != nullptr) {
        *statusText = literalText(failureText);
    }
    return {};
}

void setIf(Text* target, const Text& value) {
    if (target != nullptr) {
        *target = value;
    }
}

}  // namespace

Text fetchWinHttp(const Text& url, int method, const Text& postData, Text* cookies,
                  Text* returnedCookies, const Text& extraHeaders, Text* returnedHeaders,
                  bool noRedirect, const Text& userName, const Text& password, const Text& proxy,
                  const Text& proxyUserName, const Text& proxyPassword, int timeoutSeconds,
                  Text* redirectLocation, Text* statusText, ByteSet* bodyBytes,
                  const WinHttp& winHttp) {
    // Holds a COM initialisation of this thread until the call returns.
    RegexMatcher matcher;
    if (!winHttp.checkPlatform()) {
        return failed(statusText, "700 当前系统不支持WinHttp服务!");
    }
    const std::optional<UrlComponents> parts = winHttp.crackUrl(utf16(url));
    if (!parts) {
        return failed(statusText, "701 解析URL地址失败!");
    }
    const bool secure = parts->scheme == INTERNET_SCHEME_HTTPS;
    const std::unique_ptr<WinHttpSession> session =
        winHttp.open(proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                     utf16(proxyName(proxy, secure)));
    if (!session) {
        return failed(statusText, "702 创建WinHttp会话失败!");
    }
    const std::unique_ptr<WinHttpConnection> connection =
        session->connect(parts->hostName, parts->port);
    if (!connection) {
        return failed(statusText, "703 创建WinHttp连接失败!");
    }
    const std::unique_ptr<WinHttpRequest> request = connection->openRequest(
        verbFor(method), objectName(*parts), secure ? WINHTTP_FLAG_SECURE : 0);
    if (!request) {
        return failed(statusText, "704 创建WinHttp请求失败!");
    }
    const int timeout = timeoutMs(timeoutSeconds);
    if (!request->setTimeouts(timeout, timeout, timeout, timeout)) {
        return failed(statusText, "705 设置超时时间失败!");
    }
    if (!userName.empty() && !password.empty() &&
        !request->setCredentials(WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                                 utf16(userName), utf16(password))) {
        return failed(statusText, "707 设置代理凭证失败!");
    }
    if (!proxyUserName.empty() && !proxyPassword.empty() &&
        !request->setCredentials(WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC,
                                 utf16(proxyUserName), utf16(proxyPassword))) {
        return failed(statusText, "707 设置代理凭证失败!");
    }
    // Without a cookie string of the caller's, WinHttp neither stores nor
    // sends cookies; with one, the caller's string travels in the Cookie line
    // and the received cookies are merged into it below.
    const bool cookieOptionSet =
        cookies == nullptr
            ? request->setOption(WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_COOKIES)
            : request->setOption(WINHTTP_OPTION_ENABLE_FEATURE, WINHTTP_ENABLE_SSL_REVOCATION);
    if (!cookieOptionSet) {
        return failed(statusText, "708 禁止自动设置Cookies失败!");
    }
    if (noRedirect &&
        !request->setOption(WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS)) {
        return failed(statusText, "709 重定向设置失败!");
    }
    const Text headers = headerBlock(extraHeaders, cookies != nullptr ? *cookies : Text());
    if (!request->addHeaders(utf16(headers),
                             WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)) {
        return failed(statusText, "710 设置协议头失败!");
    }
    const ByteSet sent = toBytes(postData);
    if (!request->send(std::span<const char>(sent.data(), sent.str().size()))) {
        return failed(statusText, "711 发送请求失败!");
    }

    if (!request->receiveResponse()) {
        return failed(statusText, "712 服务器未响应!");
    }
    Body body = readBody(*request);
    if (body.readFailed) {
        setIf(statusText, literalText("713 读取数据失败!"));
    }
    const std::optional<Text> raw = rawHeaderText(*request);
    if (!raw) {
        return {};
    }
    setIf(returnedHeaders, *raw);
    setIf(statusText, statusOf(*raw));
    const Text aligned = withCookieNamesAligned(*raw);
    setIf(returnedHeaders, aligned);
    Harvest harvested = harvest(aligned);
    setIf(returnedCookies, harvested.cookies);
    if (harvested.location) {
        setIf(redirectLocation, *harvested.location);
    }
    if (cookies != nullptr) {
        (void)mergeCookies(*cookies, harvested.cookies);
        setIf(returnedCookies, harvested.cookies);
    }
    Text page = pageText(body.bytes, matcher);
    if (bodyBytes != nullptr) {
        *bodyBytes = std::move(body.bytes);
    }
    return page;
}

}  // namespace quorrin
