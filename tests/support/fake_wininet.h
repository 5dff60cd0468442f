#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/wininet.h"

// A WinInet layer for tests: it records every call with its arguments and
// answers from a script, so a test can fail any step and see exactly what a
// caller asked for.
namespace quorrin {

struct FakeWinInetScript {
    bool failOpen = false;
    bool failConnect = false;
    bool failOpenRequest = false;
    bool sendSucceeds = true;
    std::string body{};  // handed out by read(), at most `readChunk` bytes a call
    std::size_t readChunk = 1024;
    // The raw response header block (without its zero); nullopt: no
    // response arrived and the query fails.
    std::optional<std::string> rawHeaders{};
};

struct FakeWinInetLog {
    // "open", "connect", "openRequest", "send", "read", "query", and
    // "close request", "close connection", "close session", in call order.
    std::vector<std::string> calls;
    Text agent;
    std::uint32_t accessType = 0;
    Text proxyList;
    Text proxyBypass;
    Text host;
    int port = 0;
    Text verb;
    Text path;
    Text version;
    std::uint32_t flags = 0;
    Text sentHeaders;
    ByteSet sentBody;
    std::vector<std::size_t> readBufferSizes;
    std::vector<std::size_t> queryBufferSizes;
};

class FakeWinInet final : public WinInet {
  public:
    explicit FakeWinInet(FakeWinInetScript script = {});

    [[nodiscard]] const FakeWinInetLog& log() const;

    [[nodiscard]] std::unique_ptr<InternetSession> open(const Text& agent, std::uint32_t accessType,
                                                        const Text& proxyList,
                                                        const Text& proxyBypass) const override;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace quorrin
