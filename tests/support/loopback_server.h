#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A scripted HTTP server on 127.0.0.1 for tests: it runs on its own thread
// inside the test process, records every request byte for byte and answers
// with raw bytes the test chose, so a test can check what a client put on
// the wire and feed it odd, huge, broken or slow responses. Every connection
// carries one request and one reply, then the server closes it.
//
//     LoopbackServer server;                         // listening at once
//     server.reply("/page", okReply("<html/>", {"Set-Cookie: a=1"}));
//     server.reply("/old", redirectReply("/page"));
//     ScriptedReply cut = okReply(std::string(5000, 'x'));
//     cut.dropAt = 2000;                             // connection drops mid-body
//     server.reply("/cut", cut);
//     ... fetch server.url("/page") ...
//     server.requests()[0].headerBlock               // exactly as received
namespace quorrin {

struct RecordedRequest {
    std::string raw;          // every byte of the request as received
    std::string requestLine;  // "GET /path HTTP/1.1", without its CRLF
    std::string headerBlock;  // the header lines, each closed by CRLF; the blank line left out
    std::string body;         // the Content-Length bytes after the blank line
    std::string method;
    std::string target;  // path and query as they stand on the request line

    // The value of the first header of that name (case-insensitive),
    // trimmed; nullopt when there is none.
    [[nodiscard]] std::optional<std::string> header(std::string_view name) const;
};

inline constexpr std::size_t kWholeReply = static_cast<std::size_t>(-1);

// What the server sends back, and how.
struct ScriptedReply {
    std::string bytes{};                 // sent exactly as they are
    std::chrono::milliseconds delay{0};  // wait before the first byte
    std::size_t pauseAt = kWholeReply;   // after this many bytes, wait `pause`
    std::chrono::milliseconds pause{0};
    std::size_t dropAt = kWholeReply;  // close the connection after this many bytes
};

using ReplyHandler = std::function<ScriptedReply(const RecordedRequest&)>;

class LoopbackServer {
  public:
    struct Options {
        // With no new connection for this long, the server stops by itself.
        std::chrono::milliseconds idleLimit{std::chrono::minutes(2)};
        // The longest a connection may take to deliver its request or take
        // its reply.
        std::chrono::milliseconds ioLimit{std::chrono::seconds(10)};
    };

    // Listens on a port the system chooses and starts serving at once.
    LoopbackServer();
    explicit LoopbackServer(Options options);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    LoopbackServer(LoopbackServer&&) = delete;
    LoopbackServer& operator=(LoopbackServer&&) = delete;

    // False when the socket could not be opened; the server then serves nothing.
    [[nodiscard]] bool listening() const;
    [[nodiscard]] int port() const;
    // "http://127.0.0.1:<port>", no trailing "/".
    [[nodiscard]] std::string baseUrl() const;
    // baseUrl() followed by `path`, which starts with "/".
    [[nodiscard]] std::string url(std::string_view path) const;

    // Requests whose path (the target up to "?") or whole target equals
    // `path` go to `handler`; a whole-target match wins.
    void handle(std::string path, ReplyHandler handler);
    // The same reply for every request to `path`.
    void reply(std::string path, ScriptedReply reply);
    // Replies for requests that no handler takes, used once each in order.
    // When none is left the server answers 404.
    void enqueue(ScriptedReply reply);

    [[nodiscard]] std::vector<RecordedRequest> requests() const;
    [[nodiscard]] std::size_t requestCount() const;
    // The request targets ("/path?query") in the order received.
    [[nodiscard]] std::vector<std::string> requestTargets() const;
    // True once at least `count` requests have arrived.
    [[nodiscard]] bool waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

    // Stops accepting, ends every open connection and waits for its threads.
    // The destructor does the same.
    void stop();

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// A complete response: status line, the given header lines (each without
// CRLF), then "Content-Length" and "Connection: close", a blank line and the
// body.
[[nodiscard]] std::string responseBytes(int status, const std::vector<std::string>& headerLines,
                                        std::string_view body);
// The same with a chunked body: one chunk for each entry, then the last chunk.
[[nodiscard]] std::string chunkedResponseBytes(int status,
                                               const std::vector<std::string>& headerLines,
                                               const std::vector<std::string>& chunks);
[[nodiscard]] ScriptedReply okReply(std::string_view body,
                                    const std::vector<std::string>& headerLines = {});
// A redirect to `location` with a short body of its own.
[[nodiscard]] ScriptedReply redirectReply(std::string_view location, int status = 302);

// A loopback port on which nothing listens (it was free a moment ago).
[[nodiscard]] int closedLoopbackPort();

}  // namespace quorrin
