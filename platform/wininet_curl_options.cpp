#include <algorithm>
#include <span>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/curl_request_body.h"
#include "platform/curl_request_options.h"
#include "platform/curl_response_head.h"
#include "platform/wininet.h"
#include "platform/wininet_curl_transfer.h"
#include "platform/wininet_proxy.h"

// How a WinInet request becomes libcurl options.
namespace quorrin::wininet_curl {

namespace {

constexpr long kConnectTimeoutMs = 60000;
constexpr long kStallSeconds = 60;  // no byte for this long ends the transfer

bool hasHeader(std::string_view block, std::string_view name) {
    std::size_t start = 0;
    while (start <= block.size()) {
        const std::size_t end = std::min(block.find("\r\n", start), block.size());
        const std::string_view line = block.substr(start, end - start);
        if (line.size() > name.size() && line[name.size()] == ':' &&
            startsWithIgnoringCase(line, name)) {
            return true;
        }
        start = end + 2;
    }
    return false;
}

}  // namespace

CurlSlist headerList(std::string_view block) {
    CurlSlist list;
    std::size_t start = 0;
    while (start < block.size()) {
        const std::size_t end = std::min(block.find("\r\n", start), block.size());
        std::string line(block.substr(start, end - start));
        start = end + 2;
        if (line.empty()) {
            continue;
        }
        const std::size_t valueEnd = line.find_last_not_of(' ');
        if (valueEnd != std::string::npos && line[valueEnd] == ':') {
            // "Name:" alone would remove the header; "Name;" sends it empty.
            line.resize(valueEnd);
            line += ';';
        }
        list.append(line.c_str());
    }
    blockCurlOwnHeaders(list, [block](std::string_view name) { return hasHeader(block, name); });
    return list;
}

namespace {

// Space and control bytes can never stand on a request line, and libcurl
// refuses an address holding them: they travel percent-encoded.
std::string escapedPath(std::string_view path) {
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace

std::string requestUrl(const RequestSettings& s) {
    const bool secure = (s.flags & INTERNET_FLAG_SECURE) != 0;
    std::string url = secure ? "https://" : "http://";
    const bool ipv6 = s.host.find(':') != std::string::npos && !s.host.starts_with('[');
    url += ipv6 ? "[" + s.host + "]" : s.host;
    if (s.port != 0) {
        url += ":" + std::to_string(s.port);
    }
    if (!s.path.starts_with('/')) {
        url += '/';
    }
    return url + escapedPath(s.path);
}

namespace {

void setProxy(CURL* curl, const RequestSettings& s) {
    if (s.accessType == INTERNET_OPEN_TYPE_PRECONFIG) {
        return;  // libcurl then reads the system's proxy variables
    }
    std::string proxy;
    if (s.accessType == INTERNET_OPEN_TYPE_PROXY) {
        proxy =
            proxyForScheme(s.proxyList, (s.flags & INTERNET_FLAG_SECURE) != 0 ? "https" : "http");
        const std::string bypass = noProxyList(s.proxyBypass);
        curl_easy_setopt(curl, CURLOPT_NOPROXY, bypass.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());  // empty: no proxy at all
}

}  // namespace

const char* redirectSchemes(std::uint32_t flags) {
    const bool secure = (flags & INTERNET_FLAG_SECURE) != 0;
    const bool crossAllowed = secure ? (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP) != 0
                                     : (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS) != 0;
    if (crossAllowed) {
        return "http,https";
    }
    return secure ? "https" : "http";
}

bool setRequestOptions(CURL* curl, const RequestSettings& settings, const std::string& url,
                       const CurlSlist& headers, const ByteSet& body) {
    const bool follow = (settings.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, redirectSchemes(settings.flags));
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kCurlMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(
        curl, CURLOPT_HTTP_VERSION,
        settings.version == "HTTP/1.0" ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    if (!settings.agent.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERAGENT, settings.agent.c_str());
    }
    if ((settings.flags & INTERNET_FLAG_NO_COOKIES) == 0) {
        // A cookie jar for this request alone, so cookies set on the way
        // through a redirect chain travel on; none outlives the request.
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    }
    setProxy(curl, settings);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    return setVerbAndBody(
        curl, settings.verb,
        std::span<const char>(body.data(), static_cast<std::size_t>(body.length())));
}

}  // namespace quorrin::wininet_curl
