#include "tests/support/fake_winhttp.h"

#include <algorithm>
#include <cstring>

#include "platform/com_apartment.h"
#include "platform/winhttp_url.h"

namespace quorrin {
namespace {

using Script = std::shared_ptr<const FakeWinHttpScript>;
using Log = std::shared_ptr<FakeWinHttpLog>;

class FakeRequest final : public WinHttpRequest {
  public:
    FakeRequest(Script script, Log log) : script_(std::move(script)), log_(std::move(log)) {}
    ~FakeRequest() override { log_->calls.emplace_back("close request"); }
    FakeRequest(const FakeRequest&) = delete;
    FakeRequest& operator=(const FakeRequest&) = delete;

    bool setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
        log_->calls.emplace_back("setTimeouts");
        log_->timeouts = {resolveMs, connectMs, sendMs, receiveMs};
        return !failing(WinHttpStep::setTimeouts);
    }
    bool setCredentials(std::uint32_t target, std::uint32_t scheme, const std::u16string& userName,
                        const std::u16string& password) override {
        log_->calls.emplace_back("setCredentials");
        log_->credentials.emplace_back(target, userName, password);
        const WinHttpStep step = target == WINHTTP_AUTH_TARGET_SERVER
                                     ? WinHttpStep::serverCredentials
                                     : WinHttpStep::proxyCredentials;
        return scheme == WINHTTP_AUTH_SCHEME_BASIC && !failing(step);
    }
    bool setOption(std::uint32_t option, std::uint32_t value) override {
        log_->calls.emplace_back("setOption");
        log_->options.emplace_back(option, value);
        const bool redirect =
            option == WINHTTP_OPTION_DISABLE_FEATURE && value == WINHTTP_DISABLE_REDIRECTS;
        return !failing(redirect ? WinHttpStep::redirectOption : WinHttpStep::cookieOption);
    }
    bool addHeaders(const std::u16string& lines, std::uint32_t flags) override {
        log_->calls.emplace_back("addHeaders");
        log_->headers = lines;
        log_->headerFlags = flags;
        return !failing(WinHttpStep::addHeaders);
    }
    bool send(std::span<const char> body) override {
        log_->calls.emplace_back("send");
        log_->body.assign(body.begin(), body.end());
        log_->comCountsAtSend.push_back(comInitCount());
        return !failing(WinHttpStep::send);
    }
    bool receiveResponse() override {
        log_->calls.emplace_back("receiveResponse");
        return !failing(WinHttpStep::receiveResponse);
    }
    bool queryDataAvailable(std::uint32_t& count) override {
        log_->calls.emplace_back("queryDataAvailable");
        if (failing(WinHttpStep::queryDataAvailable) && next_ > 0) {
            return false;
        }
        count = next_ < script_->chunks.size()
                    ? static_cast<std::uint32_t>(script_->chunks[next_].size())
                    : 0;
        return true;
    }
    bool readData(std::span<char> buffer, std::uint32_t& read) override {
        log_->calls.emplace_back("readData");
        if (next_ >= script_->chunks.size() ||
            (failing(WinHttpStep::readData) && next_ + 1 == script_->chunks.size())) {
            return false;
        }
        const std::string& chunk = script_->chunks[next_++];
        const std::size_t n = std::min(chunk.size(), buffer.size());
        std::memcpy(buffer.data(), chunk.data(), n);
        read = static_cast<std::uint32_t>(n);
        return true;
    }
    bool queryRawHeaders(std::span<char> buffer, std::uint32_t& lengthBytes) override {
        log_->calls.emplace_back("queryHeaders");
        const std::u16string& text = script_->rawHeaders;
        // The size query still answers; the sized one fails.
        if (failing(WinHttpStep::queryHeaders) && buffer.size() >= rawHeadersSize(text)) {
            return false;
        }
        return copyRawHeaders(text, buffer, lengthBytes);
    }

  private:
    [[nodiscard]] bool failing(WinHttpStep step) const { return script_->failAt == step; }

    Script script_;
    Log log_;
    std::size_t next_ = 0;
};

class FakeConnection final : public WinHttpConnection {
  public:
    FakeConnection(Script script, Log log) : script_(std::move(script)), log_(std::move(log)) {}
    ~FakeConnection() override { log_->calls.emplace_back("close connection"); }
    FakeConnection(const FakeConnection&) = delete;
    FakeConnection& operator=(const FakeConnection&) = delete;

    std::unique_ptr<WinHttpRequest> openRequest(const std::u16string& verb,
                                                const std::u16string& objectName,
                                                std::uint32_t flags) const override {
        log_->calls.emplace_back("openRequest");
        log_->verb = verb;
        log_->objectName = objectName;
        log_->requestFlags = flags;
        if (script_->failAt == WinHttpStep::openRequest) {
            return nullptr;
        }
        return std::make_unique<FakeRequest>(script_, log_);
    }

  private:
    Script script_;
    Log log_;
};

class FakeSession final : public WinHttpSession {
  public:
    FakeSession(Script script, Log log) : script_(std::move(script)), log_(std::move(log)) {}
    ~FakeSession() override { log_->calls.emplace_back("close session"); }
    FakeSession(const FakeSession&) = delete;
    FakeSession& operator=(const FakeSession&) = delete;

    std::unique_ptr<WinHttpConnection> connect(const std::u16string& host,
                                               int port) const override {
        log_->calls.emplace_back("connect");
        log_->host = host;
        log_->port = port;
        if (script_->failAt == WinHttpStep::connect) {
            return nullptr;
        }
        return std::make_unique<FakeConnection>(script_, log_);
    }

  private:
    Script script_;
    Log log_;
};

}  // namespace

FakeWinHttp::FakeWinHttp(FakeWinHttpScript script)
    : script_(std::make_shared<const FakeWinHttpScript>(std::move(script))),
      log_(std::make_shared<FakeWinHttpLog>()) {}

bool FakeWinHttp::checkPlatform() const {
    log_->calls.emplace_back("checkPlatform");
    return script_->failAt != WinHttpStep::checkPlatform;
}

std::optional<UrlComponents> FakeWinHttp::crackUrl(const std::u16string& url) const {
    log_->calls.emplace_back("crackUrl");
    log_->url = url;
    if (script_->failAt == WinHttpStep::crackUrl) {
        return std::nullopt;
    }
    return crackHttpUrl(url);
}

std::unique_ptr<WinHttpSession> FakeWinHttp::open(std::uint32_t accessType,
                                                  const std::u16string& proxyName) const {
    log_->calls.emplace_back("open");
    log_->accessType = accessType;
    log_->proxyName = proxyName;
    if (script_->failAt == WinHttpStep::open) {
        return nullptr;
    }
    return std::make_unique<FakeSession>(script_, log_);
}

}  // namespace quorrin
