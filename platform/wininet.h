#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>

#include "platform/text.h"

// The WinInet operations the page fetch uses, synchronous, as an interface
// so that tests can put a fake in its place. Each handle is an object and
// closing it is destroying it; a failed open answers nullptr. All texts go
// to the implementation byte for byte.
namespace quorrin {

// Values of the Windows constants, so flag words compare equal to the
// platform's.
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PROXY = 3;

inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000U;
inline constexpr std::uint32_t INTERNET_FLAG_SECURE = 0x00800000U;
inline constexpr std::uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000U;
inline constexpr std::uint32_t INTERNET_FLAG_NO_COOKIES = 0x00080000U;
inline constexpr std::uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000U;
inline constexpr std::uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP = 0x00008000U;
inline constexpr std::uint32_t INTERNET_FLAG_NEED_FILE = 0x00000010U;

// An open request (HttpOpenRequest). Destroying it closes it.
class InternetRequest {
  public:
    virtual ~InternetRequest() = default;

    // HttpSendRequest: sends the request with `headers` (lines separated by
    // CRLF) and `body` and waits for the response's header block. False when
    // no response arrived; what did arrive can still be read and queried.
    virtual bool send(const Text& headers, const ByteSet& body) = 0;

    // InternetReadFile: copies up to buffer.size() bytes of the response
    // body. 0 at the end of the body and on any failure.
    virtual std::uint32_t read(std::span<char> buffer) = 0;

    // HttpQueryInfo with HTTP_QUERY_RAW_HEADERS_CRLF: the status line and
    // header lines of the final response, each closed by CRLF, then a blank
    // line and a zero byte. On success `length` becomes the byte count
    // without the zero. Fails when no response arrived, and when the block
    // and its zero do not fit in `buffer`; then `length` becomes the size
    // needed, the zero included, and the buffer is left untouched.
    virtual bool queryRawHeaders(std::span<char> buffer, std::uint32_t& length) = 0;

  protected:
    InternetRequest() = default;
    InternetRequest(const InternetRequest&) = default;
    InternetRequest& operator=(const InternetRequest&) = default;
};

// How queryRawHeaders hands out a response's header `block` once it has
// one: the size check, the zero byte and both lengths.
inline bool copyRawHeaders(std::string_view block, std::span<char> buffer, std::uint32_t& length) {
    if (block.size() + 1 > buffer.size()) {
        length = static_cast<std::uint32_t>(block.size() + 1);
        return false;
    }
    std::memcpy(buffer.data(), block.data(), block.size());
    buffer[block.size()] = '\0';
    length = static_cast<std::uint32_t>(block.size());
    return true;
}

// A connection to one host and port (InternetConnect with the HTTP service).
class InternetConnection {
  public:
    virtual ~InternetConnection() = default;

    // HttpOpenRequest: `verb` ("GET", "POST", "HEAD"), `path` with its query,
    // `version` ("HTTP/1.1"), and a flag word of INTERNET_FLAG_ values. No
    // referrer and no accept types: the implementation adds neither.
    [[nodiscard]] virtual std::unique_ptr<InternetRequest> openRequest(
        const Text& verb, const Text& path, const Text& version, std::uint32_t flags) const = 0;

  protected:
    InternetConnection() = default;
    InternetConnection(const InternetConnection&) = default;
    InternetConnection& operator=(const InternetConnection&) = default;
};

// An Internet handle (InternetOpen, synchronous).
class InternetSession {
  public:
    virtual ~InternetSession() = default;

    // InternetConnect: `port` 0 means the default port of the request's
    // scheme.
    [[nodiscard]] virtual std::unique_ptr<InternetConnection> connect(const Text& host,
                                                                      int port) const = 0;

  protected:
    InternetSession() = default;
    InternetSession(const InternetSession&) = default;
    InternetSession& operator=(const InternetSession&) = default;
};

class WinInet {
  public:
    virtual ~WinInet() = default;

    // InternetOpen: `agent` becomes the User-Agent; `accessType` is one of
    // the INTERNET_OPEN_TYPE_ values; `proxyList` uses the proxy-list syntax
    // ("host:port", or "http=host:port https=host:port", entries separated
    // by spaces or ";") and `proxyBypass` lists hosts reached directly.
    [[nodiscard]] virtual std::unique_ptr<InternetSession> open(const Text& agent,
                                                                std::uint32_t accessType,
                                                                const Text& proxyList,
                                                                const Text& proxyBypass) const = 0;

  protected:
    WinInet() = default;
    WinInet(const WinInet&) = default;
    WinInet& operator=(const WinInet&) = default;
};

}  // namespace quorrin
