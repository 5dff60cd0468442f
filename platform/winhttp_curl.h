#pragma once

#include <stop_token>

#include "platform/winhttp.h"

// The WinHttp operations on libcurl: HTTP/1.1, only http and https (on
// redirects too, and never from https down to http), TLS certificates
// verified, and the request header block sent as added, with no header of
// libcurl's own beyond Host (and Content-Length when there is a body). Texts
// for the wire (header lines, user names, passwords) go out in code page
// 936, the ANSI code page here, so the bytes a caller wrote arrive
// unchanged; response header bytes are read back the same way. The object
// name goes out as UTF-8 with spaces, control bytes and non-ASCII bytes
// percent-escaped. The whole exchange happens in send(); receiving and
// reading then serve what arrived.
namespace quorrin {

class WinHttpCurl final : public WinHttp {
  public:
    WinHttpCurl() = default;
    // A stop request on `stop` ends a transfer under way within about a
    // second, and any later one before it starts.
    explicit WinHttpCurl(std::stop_token stop) : stop_(std::move(stop)) {}

    [[nodiscard]] bool checkPlatform() const override;
    [[nodiscard]] std::optional<UrlComponents> crackUrl(const std::u16string& url) const override;
    [[nodiscard]] std::unique_ptr<WinHttpSession> open(
        std::uint32_t accessType, const std::u16string& proxyName) const override;

  private:
    std::stop_token stop_;
};

// The implementation every caller gets unless it brings its own; it cannot
// be cancelled.
[[nodiscard]] const WinHttp& defaultWinHttp();

}  // namespace quorrin
