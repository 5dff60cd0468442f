#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/winhttp.h"

// A scripted WinHttp for tests: it fails at the step it is told to, serves
// the body chunks and raw headers it is given, and records every call and
// argument, the closing of each handle included.
namespace quorrin {

enum class WinHttpStep {
    none,
    checkPlatform,
    crackUrl,
    open,
    connect,
    openRequest,
    setTimeouts,
    serverCredentials,
    proxyCredentials,
    cookieOption,    // the first option call: disabling cookies or enabling revocation checks
    redirectOption,  // disabling redirects
    addHeaders,
    send,
    receiveResponse,
    queryDataAvailable,  // fails after the first chunk has been read
    readData,            // fails on the last chunk
    queryHeaders,        // the second, sized query fails
};

struct FakeWinHttpScript {
    WinHttpStep failAt = WinHttpStep::none;
    std::vector<std::string> chunks;
    std::u16string rawHeaders = u"HTTP/1.1 200 OK\r\n\r\n";
};

struct FakeWinHttpLog {
    std::vector<std::string> calls;
    std::u16string url;
    std::uint32_t accessType = 0;
    std::u16string proxyName;
    std::u16string host;
    int port = -1;
    std::u16string verb;
    std::u16string objectName;
    std::uint32_t requestFlags = 0;
    std::array<int, 4> timeouts{};
    std::vector<std::tuple<std::uint32_t, std::u16string, std::u16string>> credentials;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> options;
    std::u16string headers;
    std::uint32_t headerFlags = 0;
    std::string body;
    std::vector<int> comCountsAtSend;  // the thread's COM initialisations when sending
};

class FakeWinHttp final : public WinHttp {
  public:
    explicit FakeWinHttp(FakeWinHttpScript script = {});

    [[nodiscard]] const FakeWinHttpLog& log() const { return *log_; }

    [[nodiscard]] bool checkPlatform() const override;
    [[nodiscard]] std::optional<UrlComponents> crackUrl(const std::u16string& url) const override;
    [[nodiscard]] std::unique_ptr<WinHttpSession> open(
        std::uint32_t accessType, const std::u16string& proxyName) const override;

  private:
    std::shared_ptr<const FakeWinHttpScript> script_;
    std::shared_ptr<FakeWinHttpLog> log_;
};

}  // namespace quorrin
