#include "platform/wininet_curl.h"

#include <algorithm>
#include <cstring>

#include "platform/curl_global.h"
#include "platform/wininet_curl_transfer.h"

namespace quorrin {

namespace {

using wininet_curl::RequestSettings;
using wininet_curl::Response;

class CurlRequest final : public InternetRequest {
  public:
    explicit CurlRequest(RequestSettings settings) : settings_(std::move(settings)) {}

    bool send(const Text& headers, const ByteSet& body) override {
        response_ = wininet_curl::transfer(settings_, headers, body);
        readOffset_ = 0;
        return response_.complete;
    }

    std::uint32_t read(std::span<char> buffer) override {
        const std::size_t count = std::min(
            buffer.size(), response_.body.size() - std::min(readOffset_, response_.body.size()));
        if (count == 0) {
            return 0;
        }
        std::memcpy(buffer.data(), response_.body.data() + readOffset_, count);
        readOffset_ += count;
        return static_cast<std::uint32_t>(count);
    }

    bool queryRawHeaders(std::span<char> buffer, std::uint32_t& length) override {
        if (!response_.headersArrived) {
            return false;
        }
        const std::string& block = response_.headerBlock;
        if (block.size() + 1 > buffer.size()) {
            length = static_cast<std::uint32_t>(block.size() + 1);
            return false;
        }
        std::memcpy(buffer.data(), block.data(), block.size());
        buffer[block.size()] = '\0';
        length = static_cast<std::uint32_t>(block.size());
        return true;
    }

  private:
    const RequestSettings settings_;
    Response response_;
    std::size_t readOffset_ = 0;
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
