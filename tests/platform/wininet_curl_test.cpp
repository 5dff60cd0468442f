#include "platform/wininet_curl.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/wininet_curl_transfer.h"
#include "platform/wininet_proxy.h"
#include "tests/support/loopback_server.h"

// The libcurl WinInet layer against a loopback server: what goes on the
// wire, what the read and header query give back, proxies and cancelling.
namespace quorrin {
namespace {

struct Exchange {
    bool sent = false;
    std::string body;
    std::optional<std::string> headers;
};

// Opens the three handles on `inet`, sends, reads everything in chunks of
// `chunk` bytes and queries the headers.
Exchange exchange(const WinInet& inet, const LoopbackServer& server, const Text& verb,
                  const Text& path, const Text& headers, const ByteSet& body = {},
                  const Text& agent = "Agent/1", std::size_t chunk = 1024) {
    Exchange out;
    const auto session = inet.open(agent, INTERNET_OPEN_TYPE_DIRECT, {}, {});
    const auto connection = session->connect("127.0.0.1", server.port());
    const auto request = connection->openRequest(verb, path, "HTTP/1.1", 0);
    out.sent = request->send(headers, body);
    std::vector<char> buffer(chunk);
    for (std::uint32_t got = 0; (got = request->read(buffer)) != 0;) {
        EXPECT_LE(got, chunk);
        out.body.append(buffer.data(), got);
    }
    std::string block(8192, ' ');
    std::uint32_t length = static_cast<std::uint32_t>(block.size());
    if (request->queryRawHeaders(block, length)) {
        EXPECT_EQ(block[length], '\0');
        out.headers = block.substr(0, length);
    }
    return out;
}

struct WireCase {
    const char* name;
    const char* verb;
    const char* path;
    const char* headers;
    std::string body;
    const char* agent;
    const char* requestLine;
    const char* headerLines;  // after Host
};

TEST(WinInetCurl, SendsTheHeaderBlockAsGiven) {
    const std::vector<WireCase> cases = {
        {"no header of libcurl's own", "GET", "/p?q=1", "X-Only: 1", "", "", "GET /p?q=1 HTTP/1.1",
         "X-Only: 1\r\n"},
        {"agent and empty value", "GET", "/", "X-Empty:\r\nAccept: a/b", "", "Agent/1",
         "GET / HTTP/1.1", "User-Agent: Agent/1\r\nX-Empty:\r\nAccept: a/b\r\n"},
        {"agent line replaces the agent", "GET", "/", "user-agent: Mine", "", "Agent/1",
         "GET / HTTP/1.1", "user-agent: Mine\r\n"},
        {"post without a type", "POST", "/f", "X: 1", "k=v", "", "POST /f HTTP/1.1",
         "X: 1\r\nContent-Length: 3\r\n"},
        {"head with a body", "HEAD", "/h", "", "k=v", "", "HEAD /h HTTP/1.1",
         "Content-Length: 3\r\n"},
        {"dot segments and spaces", "GET", "/a/../b c", "", "", "", "GET /a/../b%20c HTTP/1.1", ""},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server;
        server.enqueue(okReply("ok"));
        const Exchange out =
            exchange(WinInetCurl(), server, c.verb, c.path, c.headers, ByteSet(c.body), c.agent);
        EXPECT_TRUE(out.sent);
        EXPECT_EQ(out.body, std::string(c.verb) == "HEAD" ? "" : "ok");
        const std::vector<RecordedRequest> requests = server.requests();
        ASSERT_EQ(requests.size(), 1U);
        EXPECT_EQ(requests[0].requestLine, c.requestLine);
        EXPECT_EQ(requests[0].headerBlock,
                  "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n" + c.headerLines);
        EXPECT_EQ(requests[0].body, c.body);
    }
}

TEST(WinInetCurl, ReadsInChunksAndQueriesTheFinalHeaderBlock) {
    LoopbackServer server;
    // Bare LF line ends and lower-case names, after an interim response.
    server.enqueue(
        ScriptedReply{"HTTP/1.1 100 Continue\r\n\r\n"
                      "HTTP/1.1 200 OK\nx-lower: 1\nContent-Length: 10\n\n0123456789"});
    const Exchange out = exchange(WinInetCurl(), server, "GET", "/", "", {}, "", 3);
    EXPECT_TRUE(out.sent);
    EXPECT_EQ(out.body, "0123456789");
    EXPECT_EQ(out.headers, "HTTP/1.1 200 OK\r\nx-lower: 1\r\nContent-Length: 10\r\n\r\n");
}

TEST(WinInetCurl, LongBodyStreamsThroughWholeOrUpToADrop) {
    std::string body(600 * 1024, 'b');
    for (std::size_t i = 0; i < body.size(); i += 4099) {
        body[i] = static_cast<char>('a' + i % 26);  // a pattern a lost or repeated piece breaks
    }
    for (const bool dropped : {false, true}) {
        SCOPED_TRACE(dropped ? "dropped" : "whole");
        LoopbackServer server;
        ScriptedReply reply = okReply(body);
        const std::size_t headLength = reply.bytes.size() - body.size();
        if (dropped) {
            reply.dropAt = headLength + 300 * 1024;
        }
        server.enqueue(reply);
        const Exchange out = exchange(WinInetCurl(), server, "GET", "/", "", {}, "", 1024);
        EXPECT_TRUE(out.sent);
        EXPECT_EQ(out.body, dropped ? body.substr(0, 300 * 1024) : body);
        EXPECT_TRUE(out.headers.has_value());
    }
}

TEST(WinInetCurl, HeaderQueryFailsWhenTheBufferIsShortOrNothingCame) {
    LoopbackServer server;
    server.enqueue(okReply("x"));
    const std::string block = "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nConnection: close\r\n\r\n";
    const auto session = WinInetCurl().open("", INTERNET_OPEN_TYPE_DIRECT, {}, {});
    const auto request =
        session->connect("127.0.0.1", server.port())->openRequest("GET", "/", "HTTP/1.1", 0);

    std::array<char, 4> tiny{'a', 'b', 'c', 'd'};
    std::uint32_t length = 4;
    EXPECT_FALSE(request->queryRawHeaders(tiny, length));  // before the request went out
    EXPECT_EQ(length, 4U);

    EXPECT_TRUE(request->send("", {}));
    EXPECT_FALSE(request->queryRawHeaders(tiny, length));
    EXPECT_EQ(length, block.size() + 1);
    EXPECT_EQ(std::string(tiny.data(), 4), "abcd");

    std::string exact(block.size() + 1, ' ');
    EXPECT_TRUE(request->queryRawHeaders(exact, length));
    EXPECT_EQ(length, block.size());
    EXPECT_EQ(exact, block + '\0');
}

TEST(WinInetCurl, ProxyListPicksTheProxyForTheScheme) {
    LoopbackServer proxy;
    proxy.enqueue(okReply("via proxy"));
    const auto session =
        WinInetCurl().open("", INTERNET_OPEN_TYPE_PROXY,
                           Text("https=127.0.0.1:1 http=" + proxy.url("").substr(7)), {});
    const auto request =
        session->connect("origin.invalid", 8080)->openRequest("GET", "/p", "HTTP/1.1", 0);
    EXPECT_TRUE(request->send("", {}));
    std::array<char, 64> buffer{};
    EXPECT_EQ(std::string(buffer.data(), request->read(buffer)), "via proxy");
    const std::vector<RecordedRequest> requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(requests[0].requestLine, "GET http://origin.invalid:8080/p HTTP/1.1");
    EXPECT_EQ(requests[0].header("Host"), "origin.invalid:8080");
}

TEST(WinInetCurl, OnlyTheSystemSettingReadsTheProxyVariable) {
    for (const std::uint32_t access : {INTERNET_OPEN_TYPE_PRECONFIG, INTERNET_OPEN_TYPE_DIRECT}) {
        SCOPED_TRACE(access);
        LoopbackServer origin;
        LoopbackServer proxy;
        origin.enqueue(okReply("direct"));
        proxy.enqueue(okReply("proxied"));
        ::setenv("http_proxy", proxy.baseUrl().c_str(), 1);
        const auto session = WinInetCurl().open("", access, {}, {});
        const auto request =
            session->connect("127.0.0.1", origin.port())->openRequest("GET", "/", "HTTP/1.1", 0);
        request->send("", {});
        ::unsetenv("http_proxy");
        std::array<char, 64> buffer{};
        const std::string body(buffer.data(), request->read(buffer));
        const bool viaProxy = access == INTERNET_OPEN_TYPE_PRECONFIG;
        EXPECT_EQ(body, viaProxy ? "proxied" : "direct");
        EXPECT_EQ(proxy.requestCount(), viaProxy ? 1U : 0U);
        EXPECT_EQ(origin.requestCount(), viaProxy ? 0U : 1U);
    }
}

TEST(WinInetCurl, StopRequestEndsATransferAtOnce) {
    LoopbackServer server;
    server.enqueue(ScriptedReply{responseBytes(200, {}, "late"), std::chrono::seconds(30)});
    std::stop_source stop;
    const WinInetCurl inet(stop.get_token());
    std::thread canceller([&] {
        if (server.waitForRequests(1, std::chrono::seconds(10))) {
            stop.request_stop();
        }
    });
    const auto begin = std::chrono::steady_clock::now();
    const Exchange out = exchange(inet, server, "GET", "/", "");
    const auto took = std::chrono::steady_clock::now() - begin;
    canceller.join();
    EXPECT_FALSE(out.sent);
    EXPECT_EQ(out.body, "");
    EXPECT_EQ(out.headers, std::nullopt);
    EXPECT_LT(took, std::chrono::seconds(10));  // far from the 30 s the reply waits
}

TEST(WinInetCurl, StoppedBeforehandSendsNothing) {
    LoopbackServer server;
    std::stop_source stop;
    stop.request_stop();
    const Exchange out = exchange(WinInetCurl(stop.get_token()), server, "GET", "/", "");
    EXPECT_FALSE(out.sent);
    EXPECT_EQ(server.requestCount(), 0U);
}

TEST(WinInetCurl, RefusesWhatItCannotOpen) {
    EXPECT_EQ(WinInetCurl().open("", 7, {}, {}), nullptr);
    const auto session = WinInetCurl().open("", INTERNET_OPEN_TYPE_DIRECT, {}, {});
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->connect("", 80), nullptr);
    EXPECT_EQ(session->connect("a.cc", 70000), nullptr);
}

struct RedirectCase {
    const char* name;
    std::uint32_t flags;
    const char* schemes;
};

TEST(WinInetCurl, RedirectsCrossBetweenHttpAndHttpsOnlyWhenAllowed) {
    const std::vector<RedirectCase> cases = {
        {"http", 0, "http"},
        {"http to https allowed", INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS, "http,https"},
        {"https", INTERNET_FLAG_SECURE, "https"},
        {"https ignores the other direction's flag",
         INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS, "https"},
        {"https to http allowed", INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP,
         "http,https"},
    };
    for (const RedirectCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(wininet_curl::redirectSchemes(c.flags), c.schemes);
    }
}

struct ProxyCase {
    const char* name;
    const char* list;
    const char* http;
    const char* https;
};

TEST(WinInetProxyList, ChoosesTheEntryForEachScheme) {
    const std::vector<ProxyCase> cases = {
        {"empty", "", "", ""},
        {"one for all", "p:8080", "http://p:8080", "http://p:8080"},
        {"http only", "http=p:1", "http://p:1", ""},
        {"both, spaces", "http=p:1 https=q:2", "http://p:1", "http://q:2"},
        {"specific wins over general", "g:9;HTTPS=q:2", "http://g:9", "http://q:2"},
        {"first of equals", "http=a:1;;http=b:2", "http://a:1", ""},
        {"other scheme only", "ftp=f:21", "", ""},
    };
    for (const ProxyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(proxyForScheme(c.list, "http"), c.http);
        EXPECT_EQ(proxyForScheme(c.list, "https"), c.https);
    }
    EXPECT_EQ(noProxyList("a.com;*.b.com <local>"), "a.com,.b.com");
    EXPECT_EQ(noProxyList(""), "");
}

}  // namespace
}  // namespace quorrin
