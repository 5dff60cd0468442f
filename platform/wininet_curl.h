#pragma once

#include <stop_token>

#include "platform/wininet.h"

// The WinInet operations on libcurl: HTTP/1.1 (or 1.0 when asked), only http
// and https, redirects included, TLS certificates verified, and a request
// header block sent as given, with no header of libcurl's own beyond Host
// (and Content-Length when there is a body). The whole exchange happens in
// send(); reading and the header query then serve what arrived.
namespace quorrin {

class WinInetCurl final : public WinInet {
  public:
    WinInetCurl() = default;
    // A stop request on `stop` ends a transfer under way at once, and any
    // later one before it starts.
    explicit WinInetCurl(std::stop_token stop) : stop_(std::move(stop)) {}

    [[nodiscard]] std::unique_ptr<InternetSession> open(const Text& agent, std::uint32_t accessType,
                                                        const Text& proxyList,
                                                        const Text& proxyBypass) const override;

  private:
    std::stop_token stop_;
};

// The implementation every caller gets unless it brings its own; it cannot
// be cancelled.
[[nodiscard]] const WinInet& defaultWinInet();

}  // namespace quorrin
