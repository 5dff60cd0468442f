#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The WinHttp operations the page fetch uses, synchronous, as an interface
// so that tests can put a fake in its place. Texts cross as UTF-16. Each
// handle is an object and closing it is destroying it; an open that fails
// answers nullptr, every other operation answers false on failure.
namespace quorrin {

// Values of the Windows constants, so that arguments compare equal to the
// platform's.
inline constexpr int INTERNET_SCHEME_HTTP = 1;
inline constexpr int INTERNET_SCHEME_HTTPS = 2;
inline constexpr std::uint32_t WINHTTP_ACCESS_TYPE_NO_PROXY = 1;
inline constexpr std::uint32_t WINHTTP_ACCESS_TYPE_NAMED_PROXY = 3;
inline constexpr std::uint32_t WINHTTP_FLAG_SECURE = 0x00800000U;
inline constexpr std::uint32_t WINHTTP_AUTH_TARGET_SERVER = 0;
inline constexpr std::uint32_t WINHTTP_AUTH_TARGET_PROXY = 1;
inline constexpr std::uint32_t WINHTTP_AUTH_SCHEME_BASIC = 1;
inline constexpr std::uint32_t WINHTTP_OPTION_DISABLE_FEATURE = 63;
inline constexpr std::uint32_t WINHTTP_OPTION_ENABLE_FEATURE = 79;
inline constexpr std::uint32_t WINHTTP_DISABLE_COOKIES = 1;
inline constexpr std::uint32_t WINHTTP_DISABLE_REDIRECTS = 2;
inline constexpr std::uint32_t WINHTTP_ENABLE_SSL_REVOCATION = 1;
inline constexpr std::uint32_t WINHTTP_ADDREQ_FLAG_ADD_IF_NEW = 0x10000000U;
inline constexpr std::uint32_t WINHTTP_ADDREQ_FLAG_ADD = 0x20000000U;
inline constexpr std::uint32_t WINHTTP_ADDREQ_FLAG_REPLACE = 0x80000000U;

// What WinHttpCrackUrl answers: the parts as they stand in the address, the
// port being the scheme's default when the address names none.
struct UrlComponents {
    int scheme = 0;  // INTERNET_SCHEME_HTTP or INTERNET_SCHEME_HTTPS
    std::u16string schemeName;
    std::u16string hostName;
    int port = 0;
    std::u16string urlPath;    // from the "/" after the host up to "?" or "#"
    std::u16string extraInfo;  // from that "?" or "#" to the end
};

// An open request (WinHttpOpenRequest). Destroying it closes it.
class WinHttpRequest {
  public:
    virtual ~WinHttpRequest() = default;

    // Milliseconds for resolving, connecting, sending and receiving; 0 or
    // -1 means no limit, anything below -1 is refused.
    virtual bool setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) = 0;
    // Basic credentials for the server or the proxy (WINHTTP_AUTH_TARGET_).
    virtual bool setCredentials(std::uint32_t target, std::uint32_t scheme,
                                const std::u16string& userName, const std::u16string& password) = 0;
    // WINHTTP_OPTION_DISABLE_FEATURE with WINHTTP_DISABLE_ bits, or
    // WINHTTP_OPTION_ENABLE_FEATURE with WINHTTP_ENABLE_SSL_REVOCATION.
    virtual bool setOption(std::uint32_t option, std::uint32_t value) = 0;
    // Header lines separated by CRLF, with WINHTTP_ADDREQ_FLAG_ values: ADD
    // adds a line, REPLACE replaces the line of the same name (ADD | REPLACE:
    // replace it or add it), ADD_IF_NEW adds only a name not yet present.
    // A line without a name and a colon is refused.
    virtual bool addHeaders(const std::u16string& lines, std::uint32_t flags) = 0;
    // Sends the request with `body` as its content.
    virtual bool send(std::span<const char> body) = 0;
    // Waits for the final response's header block.
    virtual bool receiveResponse() = 0;
    // How many body bytes can be read now; 0 at the end of the body.
    virtual bool queryDataAvailable(std::uint32_t& count) = 0;
    // Copies up to buffer.size() body bytes; `read` gets their number.
    virtual bool readData(std::span<char> buffer, std::uint32_t& read) = 0;
    // WINHTTP_QUERY_RAW_HEADERS_CRLF: the final response's status line and
    // header lines as UTF-16 (little-endian) bytes, each line closed by CRLF
    // and the block by a blank line, then a zero unit. When the block and
    // its zero do not fit, `lengthBytes` receives the size needed in bytes;
    // on success it receives the size without the zero.
    virtual bool queryRawHeaders(std::span<char> buffer, std::uint32_t& lengthBytes) = 0;

  protected:
    WinHttpRequest() = default;
    WinHttpRequest(const WinHttpRequest&) = default;
    WinHttpRequest& operator=(const WinHttpRequest&) = default;
};

// The bytes queryRawHeaders needs for a header `block`: its units and a
// zero unit.
[[nodiscard]] inline std::size_t rawHeadersSize(std::u16string_view block) {
    return (block.size() + 1) * 2;
}

// How queryRawHeaders hands out a response's header `block` once it has
// one: the size check, the little-endian units, the zero unit and both
// lengths.
inline bool copyRawHeaders(std::u16string_view block, std::span<char> buffer,
                           std::uint32_t& lengthBytes) {
    const std::size_t needed = rawHeadersSize(block);
    if (buffer.size() < needed) {
        lengthBytes = static_cast<std::uint32_t>(needed);
        return false;
    }
    std::size_t at = 0;
    for (const char16_t unit : block) {
        buffer[at++] = static_cast<char>(unit & 0xFF);
        buffer[at++] = static_cast<char>(unit >> 8);
    }
    buffer[at++] = '\0';
    buffer[at] = '\0';
    lengthBytes = static_cast<std::uint32_t>(block.size() * 2);
    return true;
}

// A connection to one host and port (WinHttpConnect). Destroying it closes it.
class WinHttpConnection {
  public:
    virtual ~WinHttpConnection() = default;

    // `objectName` is the path and extra information; `flags` may hold
    // WINHTTP_FLAG_SECURE. No referrer and no accept types: none is added.
    [[nodiscard]] virtual std::unique_ptr<WinHttpRequest> openRequest(
        const std::u16string& verb, const std::u16string& objectName,
        std::uint32_t flags) const = 0;

  protected:
    WinHttpConnection() = default;
    WinHttpConnection(const WinHttpConnection&) = default;
    WinHttpConnection& operator=(const WinHttpConnection&) = default;
};

// A session (WinHttpOpen, synchronous, no user agent). Destroying it closes it.
class WinHttpSession {
  public:
    virtual ~WinHttpSession() = default;

    [[nodiscard]] virtual std::unique_ptr<WinHttpConnection> connect(const std::u16string& host,
                                                                     int port) const = 0;

  protected:
    WinHttpSession() = default;
    WinHttpSession(const WinHttpSession&) = default;
    WinHttpSession& operator=(const WinHttpSession&) = default;
};

class WinHttp {
  public:
    virtual ~WinHttp() = default;

    // WinHttpCheckPlatform.
    [[nodiscard]] virtual bool checkPlatform() const = 0;
    // WinHttpCrackUrl: nothing for an address that is not http or https or
    // has no host or a bad port.
    [[nodiscard]] virtual std::optional<UrlComponents> crackUrl(
        const std::u16string& url) const = 0;
    // WinHttpOpen: `accessType` is one of the WINHTTP_ACCESS_TYPE_ values;
    // `proxyName` uses the proxy-list syntax ("host:port", or
    // "http=host:port", entries separated by spaces or ";").
    [[nodiscard]] virtual std::unique_ptr<WinHttpSession> open(
        std::uint32_t accessType, const std::u16string& proxyName) const = 0;

  protected:
    WinHttp() = default;
    WinHttp(const WinHttp&) = default;
    WinHttp& operator=(const WinHttp&) = default;
};

}  // namespace quorrin
