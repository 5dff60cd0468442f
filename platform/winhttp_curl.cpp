#include "platform/winhttp_curl.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/codepage.h"
#include "platform/curl_global.h"
#include "platform/winhttp_curl_headers.h"
#include "platform/winhttp_curl_transfer.h"
#include "platform/winhttp_url.h"
#include "platform/wininet_proxy.h"

namespace quorrin {
namespace {

using winhttp_curl::Exchange;
using winhttp_curl::Settings;

constexpr int kMaxPort = 65535;

// A request line holds no space, control byte or raw non-ASCII byte.
std::string escapedObjectName(const std::u16string& objectName) {
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : fromUtf16(kCodePageUtf8, objectName)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped.empty() ? "/" : escaped;
}

bool isTokenByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// Only what can stand between "//" and the port in an address: no "/", "@",
// "#", space or control byte that could make the host read as another one.
bool isPlainHost(const std::string& host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               (c >= '0' && c <= '9') ||
               std::string_view("-._:[]").find(c) != std::string_view::npos;
    });
}

class CurlRequest final : public WinHttpRequest {
  public:
    explicit CurlRequest(Settings settings) : settings_(std::move(settings)) {}

    bool setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
        if (std::min({resolveMs, connectMs, sendMs, receiveMs}) < -1) {
            return false;
        }
        settings_.resolveMs = resolveMs;
        settings_.connectMs = connectMs;
        settings_.sendMs = sendMs;
        settings_.receiveMs = receiveMs;
        return true;
    }

    bool setCredentials(std::uint32_t target, std::uint32_t scheme, const std::u16string& userName,
                        const std::u16string& password) override {
        if (scheme != WINHTTP_AUTH_SCHEME_BASIC) {
            return false;
        }
        const winhttp_curl::Credentials login{true, fromUtf16(kCodePageGbk, userName),
                                              fromUtf16(kCodePageGbk, password)};
        if (target == WINHTTP_AUTH_TARGET_SERVER) {
            settings_.server = login;
        } else if (target == WINHTTP_AUTH_TARGET_PROXY) {
            settings_.proxyLogin = login;
        } else {
            return false;
        }
        return true;
    }

    bool setOption(std::uint32_t option, std::uint32_t value) override {
        if (option == WINHTTP_OPTION_DISABLE_FEATURE) {
            if (value == 0 ||
                (value & ~(WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS)) != 0) {
                return false;
            }
            settings_.cookiesDisabled |= (value & WINHTTP_DISABLE_COOKIES) != 0;
            settings_.redirectsDisabled |= (value & WINHTTP_DISABLE_REDIRECTS) != 0;
            return true;
        }
        // Certificates are always verified; revocation lists are left to the
        // TLS library's own settings.
        return option == WINHTTP_OPTION_ENABLE_FEATURE && value == WINHTTP_ENABLE_SSL_REVOCATION;
    }

    bool addHeaders(const std::u16string& lines, std::uint32_t flags) override {
        return winhttp_curl::addHeaderLines(settings_.headers, fromUtf16(kCodePageGbk, lines),
                                            flags);
    }

    bool send(std::span<const char> body) override {
        exchange_ = winhttp_curl::perform(settings_, body);
        readOffset_ = 0;
        rawHeaders_ = toUtf16(kCodePageGbk, exchange_.headerBlock);
        return exchange_.sent;
    }

    bool receiveResponse() override { return exchange_.responded; }

    bool queryDataAvailable(std::uint32_t& count) override {
        if (!exchange_.responded) {
            return false;
        }
        const std::size_t remaining = exchange_.body.size() - readOffset_;
        if (remaining == 0 && !exchange_.complete) {
            return false;  // the connection ended before the body did
        }
        // The whole body is in memory already, so all of it is available.
        count = static_cast<std::uint32_t>(
            std::min<std::size_t>(remaining, std::numeric_limits<std::uint32_t>::max()));
        return true;
    }

    bool readData(std::span<char> buffer, std::uint32_t& read) override {
        if (!exchange_.responded) {
            return false;
        }
        const std::size_t remaining = exchange_.body.size() - readOffset_;
        if (remaining == 0 && !exchange_.complete && !buffer.empty()) {
            return false;
        }
        const std::size_t count = std::min(remaining, buffer.size());
        std::memcpy(buffer.data(), exchange_.body.data() + readOffset_, count);
        readOffset_ += count;
        if (readOffset_ == exchange_.body.size()) {
            // Read through: the bytes now live with the caller alone.
            std::string().swap(exchange_.body);
            readOffset_ = 0;
        }
        read = static_cast<std::uint32_t>(count);
        return true;
    }

    bool queryRawHeaders(std::span<char> buffer, std::uint32_t& lengthBytes) override {
        if (!exchange_.responded) {
            return false;
        }
        return copyRawHeaders(rawHeaders_, buffer, lengthBytes);
    }

  private:
    Settings settings_;
    Exchange exchange_;
    std::u16string rawHeaders_;
    std::size_t readOffset_ = 0;
};

class CurlConnection final : public WinHttpConnection {
  public:
    CurlConnection(Settings settings, std::string proxyList)
        : settings_(std::move(settings)), proxyList_(std::move(proxyList)) {}

    std::unique_ptr<WinHttpRequest> openRequest(const std::u16string& verb,
                                                const std::u16string& objectName,
                                                std::uint32_t flags) const override {
        Settings settings = settings_;
        settings.verb = verb.empty() ? "GET" : fromUtf16(kCodePageUtf8, verb);
        if (!std::all_of(settings.verb.begin(), settings.verb.end(), isTokenByte)) {
            return nullptr;
        }
        settings.objectName = escapedObjectName(objectName);
        settings.secure = (flags & WINHTTP_FLAG_SECURE) != 0;
        if (settings.port == 0) {
            settings.port = settings.secure ? 443 : 80;
        }
        settings.proxy = proxyForScheme(proxyList_, settings.secure ? "https" : "http");
        return std::make_unique<CurlRequest>(std::move(settings));
    }

  private:
    const Settings settings_;
    const std::string proxyList_;
};

class CurlSession final : public WinHttpSession {
  public:
    CurlSession(std::string proxyList, std::stop_token stop)
        : proxyList_(std::move(proxyList)), stop_(std::move(stop)) {}

    std::unique_ptr<WinHttpConnection> connect(const std::u16string& host,
                                               int port) const override {
        Settings settings;
        settings.host = fromUtf16(kCodePageUtf8, host);
        if (!isPlainHost(settings.host) || port < 0 || port > kMaxPort) {
            return nullptr;
        }
        settings.port = port;
        settings.stop = stop_;
        return std::make_unique<CurlConnection>(std::move(settings), proxyList_);
    }

  private:
    const std::string proxyList_;
    const std::stop_token stop_;
};

}  // namespace

bool WinHttpCurl::checkPlatform() const {
    return ensureCurlInitialised();
}

std::optional<UrlComponents> WinHttpCurl::crackUrl(const std::u16string& url) const {
    return crackHttpUrl(url);
}

std::unique_ptr<WinHttpSession> WinHttpCurl::open(std::uint32_t accessType,
                                                  const std::u16string& proxyName) const {
    if (!ensureCurlInitialised()) {
        return nullptr;
    }
    if (accessType == WINHTTP_ACCESS_TYPE_NO_PROXY) {
        return std::make_unique<CurlSession>(std::string(), stop_);
    }
    if (accessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && !proxyName.empty()) {
        return std::make_unique<CurlSession>(fromUtf16(kCodePageUtf8, proxyName), stop_);
    }
    return nullptr;
}

const WinHttp& defaultWinHttp() {
    // Holds nothing that changes: one instance serves every thread.
    static const WinHttpCurl instance;
    return instance;
}

}  // namespace quorrin
