#include "platform/winhttp_curl_transfer.h"

#include <algorithm>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/curl_holder.h"
#include "platform/curl_request_body.h"
#include "platform/curl_request_options.h"
#include "platform/curl_response_head.h"

namespace quorrin::winhttp_curl {
namespace {

constexpr long kReceiveBuffer = 64L << 10;
// The most a body's announced length reserves up front; a longer body grows
// as it arrives, so a false length cannot claim memory by itself.
constexpr curl_off_t kMaxReserve = curl_off_t{64} << 20;

struct Collected {
    CURL* curl = nullptr;
    Exchange exchange;
    CurlResponseHead head;
    // Ends the exchange at the blank line of the final response (a HEAD
    // that carries a body).
    bool endAfterHeaders = false;
    bool endedAfterHeaders = false;
};

size_t onHeaderLine(char* data, size_t size, size_t count, void* user) {
    using Line = CurlResponseHead::Line;
    auto& c = *static_cast<Collected*>(user);
    const Line line = c.head.take(std::string_view(data, size * count));
    if (line == Line::Status) {
        // A response passed over may have left body bytes of its own.
        c.exchange.body.clear();
    }
    if (line == Line::PassedOverEnd || line == Line::FinalEnd) {
        c.exchange.responded = line == Line::FinalEnd;
        if (c.exchange.responded && c.endAfterHeaders) {
            c.endedAfterHeaders = true;
            return 0;  // ends the transfer; reported as a write error
        }
    }
    return size * count;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto& c = *static_cast<Collected*>(user);
    std::string& body = c.exchange.body;
    if (body.empty()) {
        // One buffer of the announced size instead of a chain of doublings.
        curl_off_t announced = -1;
        if (curl_easy_getinfo(c.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
            announced > 0) {
            body.reserve(static_cast<std::size_t>(std::min(announced, kMaxReserve)));
        }
    }
    body.append(data, size * count);
    return size * count;
}

bool hasHeader(const Settings& s, std::string_view name) {
    return std::any_of(s.headers.begin(), s.headers.end(),
                       [&](const auto& header) { return equalsIgnoringCase(header.first, name); });
}

// The caller's lines as they are, then empty entries that stop libcurl from
// adding headers of its own: only Host (and Content-Length with a body) is
// left to it.
CurlSlist headerList(const Settings& s) {
    CurlSlist list;
    for (const auto& [name, value] : s.headers) {
        // "Name:" alone would remove the header; "Name;" sends it empty.
        list.append((value.empty() ? name + ";" : name + ": " + value).c_str());
    }
    blockCurlOwnHeaders(list, [&s](std::string_view name) { return hasHeader(s, name); });
    return list;
}

std::string requestUrl(const Settings& s) {
    std::string url = s.secure ? "https://" : "http://";
    const bool ipv6 = s.host.find(':') != std::string::npos && !s.host.starts_with('[');
    url += ipv6 ? "[" + s.host + "]" : s.host;
    url += ':';
    url += std::to_string(s.port);
    if (!s.objectName.starts_with('/')) {
        url += '/';
    }
    url += s.objectName;
    return url;
}

void setLogins(CURL* curl, const Settings& s) {
    if (s.server.set) {
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(curl, CURLOPT_USERNAME, s.server.userName.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, s.server.password.c_str());
    }
    if (s.proxyLogin.set) {
        curl_easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, s.proxyLogin.userName.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, s.proxyLogin.password.c_str());
    }
}

// WinHttp limits each wait on its own; libcurl knows a limit for setting up
// the connection and a least speed. The second, one byte a second for as
// long as the send or receive limit, ends a peer that stays silent so long.
void setTimeouts(CURL* curl, const Settings& s) {
    const long setUp = std::max(s.resolveMs, 0) + std::max(s.connectMs, 0);
    if (s.resolveMs > 0 && s.connectMs > 0) {
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, setUp);
    } else if (s.connectMs > 0) {
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(s.connectMs));
    }
    const int silenceMs = std::max(s.sendMs, s.receiveMs);
    if (silenceMs > 0) {
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>((silenceMs + 999) / 1000));
    }
}

}  // namespace

Exchange perform(const Settings& settings, std::span<const char> body) {
    Collected collected;
    collected.head = CurlResponseHead(!settings.redirectsDisabled);
    const CurlHolder holder;
    if (!holder || settings.stop.stop_requested()) {
        return collected.exchange;
    }
    CURL* curl = holder.get();
    collected.curl = curl;
    const std::string url = requestUrl(settings);
    const CurlSlist list = headerList(settings);

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // As WinHttp by default: never from https down to http.
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, settings.secure ? "https" : "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, settings.redirectsDisabled ? 0L : 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kCurlMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // Larger reads than libcurl's 16 KB: a page of a megabyte arrives in a
    // few system calls rather than dozens.
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    curl_easy_setopt(curl, CURLOPT_PROXY, settings.proxy.c_str());  // empty: none at all
    // Only the proxy list decides; no host is exempted by the environment.
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "");
    if (!settings.cookiesDisabled) {
        // A cookie store for this request alone, so cookies set on the way
        // through a redirect chain travel on; none outlives the request.
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    }
    setTimeouts(curl, settings);
    setLogins(curl, settings);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list.get());
    collected.endAfterHeaders = setVerbAndBody(curl, settings.verb, body);
    setTransferCallbacks(curl, onHeaderLine, onBody, &collected, settings.stop);

    const CURLcode result = curl_easy_perform(curl);
    long requestSize = 0;
    curl_easy_getinfo(curl, CURLINFO_REQUEST_SIZE, &requestSize);
    Exchange& exchange = collected.exchange;
    exchange.headerBlock = collected.head.takeBlock();
    exchange.complete =
        exchange.responded &&
        (result == CURLE_OK || (result == CURLE_WRITE_ERROR && collected.endedAfterHeaders));
    exchange.sent = exchange.responded || requestSize > 0;
    return std::move(exchange);
}

}  // namespace quorrin::winhttp_curl
