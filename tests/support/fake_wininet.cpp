#include "tests/support/fake_wininet.h"

#include <algorithm>
#include <cstring>

namespace quorrin {

struct FakeWinInet::State {
    FakeWinInetScript script;
    FakeWinInetLog log;
    std::size_t readOffset = 0;
};

namespace {

using State = FakeWinInet::State;

class FakeRequest final : public InternetRequest {
  public:
    explicit FakeRequest(std::shared_ptr<State> state) : state_(std::move(state)) {}
    ~FakeRequest() override { state_->log.calls.emplace_back("close request"); }
    FakeRequest(const FakeRequest&) = delete;
    FakeRequest& operator=(const FakeRequest&) = delete;

    bool send(const Text& headers, const ByteSet& body) override {
        state_->log.calls.emplace_back("send");
        state_->log.sentHeaders = headers;
        state_->log.sentBody = body;
        return state_->script.sendSucceeds;
    }

    std::uint32_t read(std::span<char> buffer) override {
        state_->log.calls.emplace_back("read");
        state_->log.readBufferSizes.push_back(buffer.size());
        const std::string& body = state_->script.body;
        const std::size_t count =
            std::min({buffer.size(), state_->script.readChunk, body.size() - state_->readOffset});
        std::memcpy(buffer.data(), body.data() + state_->readOffset, count);
        state_->readOffset += count;
        return static_cast<std::uint32_t>(count);
    }

    bool queryRawHeaders(std::span<char> buffer, std::uint32_t& length) override {
        state_->log.calls.emplace_back("query");
        state_->log.queryBufferSizes.push_back(buffer.size());
        if (!state_->script.rawHeaders) {
            return false;
        }
        return copyRawHeaders(*state_->script.rawHeaders, buffer, length);
    }

  private:
    std::shared_ptr<State> state_;
};

class FakeConnection final : public InternetConnection {
  public:
    explicit FakeConnection(std::shared_ptr<State> state) : state_(std::move(state)) {}
    ~FakeConnection() override { state_->log.calls.emplace_back("close connection"); }
    FakeConnection(const FakeConnection&) = delete;
    FakeConnection& operator=(const FakeConnection&) = delete;

    std::unique_ptr<InternetRequest> openRequest(const Text& verb, const Text& path,
                                                 const Text& version,
                                                 std::uint32_t flags) const override {
        state_->log.calls.emplace_back("openRequest");
        state_->log.verb = verb;
        state_->log.path = path;
        state_->log.version = version;
        state_->log.flags = flags;
        if (state_->script.failOpenRequest) {
            return nullptr;
        }
        return std::make_unique<FakeRequest>(state_);
    }

  private:
    std::shared_ptr<State> state_;
};

class FakeSession final : public InternetSession {
  public:
    explicit FakeSession(std::shared_ptr<State> state) : state_(std::move(state)) {}
    ~FakeSession() override { state_->log.calls.emplace_back("close session"); }
    FakeSession(const FakeSession&) = delete;
    FakeSession& operator=(const FakeSession&) = delete;

    std::unique_ptr<InternetConnection> connect(const Text& host, int port) const override {
        state_->log.calls.emplace_back("connect");
        state_->log.host = host;
        state_->log.port = port;
        if (state_->script.failConnect) {
            return nullptr;
        }
        return std::make_unique<FakeConnection>(state_);
    }

  private:
    std::shared_ptr<State> state_;
};

}  // namespace

FakeWinInet::FakeWinInet(FakeWinInetScript script) : state_(std::make_shared<State>()) {
    state_->script = std::move(script);
}

const FakeWinInetLog& FakeWinInet::log() const {
    return state_->log;
}

std::unique_ptr<InternetSession> FakeWinInet::open(const Text& agent, std::uint32_t accessType,
                                                   const Text& proxyList,
                                                   const Text& proxyBypass) const {
    state_->log.calls.emplace_back("open");
    state_->log.agent = agent;
    state_->log.accessType = accessType;
    state_->log.proxyList = proxyList;
    state_->log.proxyBypass = proxyBypass;
    if (state_->script.failOpen) {
        return nullptr;
    }
    return std::make_unique<FakeSession>(state_);
}

}  // namespace quorrin
