#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/curl_holder.h"
#include "platform/curl_perform.h"
#include "platform/curl_response_head.h"
#include "platform/text.h"

// One libcurl exchange for the WinInet stand-in. The request goes out and
// the final response's header block comes in when the exchange starts; the
// body then streams through read(), so it is never held twice.
namespace quorrin::wininet_curl {

// What the three handles collected.
struct RequestSettings {
    std::string agent;
    std::uint32_t accessType = 0;
    std::string proxyList;
    std::string proxyBypass;
    std::string host;
    int port = 0;
    std::string verb;
    std::string path;
    std::string version;
    std::uint32_t flags = 0;
    std::stop_token stop;
};

// The schemes a redirect may lead to under the flag word: http and https
// are not crossed unless the flag for that direction is set.
[[nodiscard]] const char* redirectSchemes(std::uint32_t flags);

// The address libcurl fetches: scheme by the secure flag, host, port, and
// the path with space and control bytes percent-encoded.
[[nodiscard]] std::string requestUrl(const RequestSettings& settings);

// The caller's header lines as they are, then empty entries that keep
// libcurl from adding an Accept, Expect, Content-Type or Proxy-Connection of
// its own.
[[nodiscard]] CurlSlist headerList(std::string_view block);

// Every option of the request; true when the exchange must end at the final
// response's headers (see setVerbAndBody).
[[nodiscard]] bool setRequestOptions(CURL* curl, const RequestSettings& settings,
                                     const std::string& url, const CurlSlist& headers,
                                     const ByteSet& body);

class Exchange {
  public:
    // Sends the request and waits for the final response's header block
    // (or the end of the exchange).
    Exchange(const RequestSettings& settings, const Text& headers, const ByteSet& body);
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;
    Exchange(Exchange&&) = delete;
    Exchange& operator=(Exchange&&) = delete;
    ~Exchange() = default;

    // True once a status line came in.
    [[nodiscard]] bool responseArrived() const { return state_.headersArrived; }
    // The final response's lines, each closed by CRLF, blank line included.
    [[nodiscard]] const std::string& headerBlock() const { return state_.head.block(); }
    // Copies up to buffer.size() body bytes, waiting for them as needed; 0 at
    // the end of the body, on failure and after a stop request.
    std::uint32_t read(std::span<char> buffer);

    // What the callbacks fill in.
    struct State {
        bool headersArrived = false;
        CurlResponseHead head;
        // Ends the exchange at the blank line of the final response (a HEAD
        // that carries a body).
        bool endAfterHeaders = false;
        bool finalHeadersDone = false;
        std::string pending;  // body bytes not yet read
        bool paused = false;  // the body is held back until `pending` is read
        std::size_t pendingOffset = 0;
    };

  private:
    std::string url_;
    CurlSlist headers_;
    CurlHolder curl_;
    State state_;
    std::unique_ptr<CurlPump> pump_;  // last: detaches the handle first
};

}  // namespace quorrin::wininet_curl
