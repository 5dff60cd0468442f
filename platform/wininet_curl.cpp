#include "platform/wininet_curl.h"

#include "platform/curl_global.h"
#include "platform/wininet_curl_transfer.h"

namespace quorrin {

namespace {

using wininet_curl::RequestSettings;

class CurlRequest final : public InternetRequest {
  public:
    explicit CurlRequest(RequestSettings settings) : settings_(std::move(settings)) {}

    bool send(const Text& headers, const ByteSet& body) override {
        exchange_.reset();  // a second send starts over, like a resent request
        exchange_ = std::make_unique<wininet_curl::Exchange>(settings_, headers, body);
        return exchange_->responseArrived();
    }

    std::uint32_t read(std::span<char> buffer) override {
        return exchange_ ? exchange_->read(buffer) : 0;
    }

    bool queryRawHeaders(std::span<char> buffer, std::uint32_t& length) override {
        if (!exchange_ || !exchange_->responseArrived()) {
            return false;
        }
        return copyRawHeaders(exchange_->headerBlock(), buffer, length);
    }

  private:
    const RequestSettings settings_;
    std::unique_ptr<wininet_curl::Exchange> exchange_;
};

class CurlConnection final : public InternetConnection {
  public:
    explicit CurlConnection(RequestSettings settings) : settings_(std::move(settings)) {}

    std::unique_ptr<InternetRequest> openRequest(const Text& verb, const Text& path,
                                                 const Text& version,
                                                 std::uint32_t flags) const override {
        RequestSettings settings = settings_;
        // WinInet's defaults for what the caller leaves out.
        settings.verb = verb.empty() ? "GET" : verb.str();
        settings.path = path.empty() ? "/" : path.str();
        settings.version = version.empty() ? "HTTP/1.1" : version.str();
        settings.flags = flags;
        return std::make_unique<CurlRequest>(std::move(settings));
    }

  private:
    const RequestSettings settings_;
};

class CurlSession final : public InternetSession {
  public:
    explicit CurlSession(RequestSettings settings) : settings_(std::move(settings)) {}

    std::unique_ptr<InternetConnection> connect(const Text& host, int port) const override {
        if (host.empty() || port < 0 || port > 65535) {
            return nullptr;
        }
        RequestSettings settings = settings_;
        settings.host = host.str();
        settings.port = port;
        return std::make_unique<CurlConnection>(std::move(settings));
    }

  private:
    const RequestSettings settings_;
};

}  // namespace

std::unique_ptr<InternetSession> WinInetCurl::open(const Text& agent, std::uint32_t accessType,
                                                   const Text& proxyList,
                                                   const Text& proxyBypass) const {
    if (!ensureCurlInitialised()) {
        return nullptr;
    }
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
        accessType != INTERNET_OPEN_TYPE_PROXY) {
        return nullptr;
    }
    RequestSettings settings;
    settings.agent = agent.str();
    settings.accessType = accessType;
    settings.proxyList = proxyList.str();
    settings.proxyBypass = proxyBypass.str();
    settings.stop = stop_;
    return std::make_unique<CurlSession>(std::move(settings));
}

const WinInet& defaultWinInet() {
    // Holds nothing that changes: one instance serves every thread.
    static const WinInetCurl instance;
    return instance;
}

}  // namespace quorrin
