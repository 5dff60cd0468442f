#include "platform/winhttp_curl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_server.h"

// The libcurl WinHttp stand-in against the loopback server: what goes on the
// wire and what the request reads back.
namespace quorrin {
namespace {

using namespace std::chrono_literals;

std::u16string wide(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

struct Fetched {
    bool sent = false;
    bool received = false;
    bool bodyEndedEarly = false;  // a query or read failed before the end
    std::string body;
    std::uint32_t largestChunk = 0;  // the most reported available at once
    int reads = 0;
    bool headersRead = false;
    std::uint32_t neededBytes = 0;
    std::u16string rawHeaders;
};

// The call sequence of the page fetch, on one request.
// Reads at most `readLimit` bytes a call, whatever is available.
Fetched finish(WinHttpRequest& request, std::string_view body = {},
               std::uint32_t readLimit = std::numeric_limits<std::uint32_t>::max()) {
    Fetched f;
    f.sent = request.send(std::span<const char>(body.data(), body.size()));
    if (!f.sent || !(f.received = request.receiveResponse())) {
        return f;
    }
    for (;;) {
        std::uint32_t count = 0;
        if (!request.queryDataAvailable(count)) {
            f.bodyEndedEarly = true;
            break;
        }
        if (count == 0) {
            break;
        }
        f.largestChunk = std::max(f.largestChunk, count);
        std::string chunk(std::min(count, readLimit), '\0');
        ++f.reads;
        std::uint32_t read = 0;
        if (!request.readData(chunk, read)) {
            f.bodyEndedEarly = true;
            break;
        }
        f.body.append(chunk, 0, read);
    }
    std::uint32_t length = 0;
    EXPECT_FALSE(request.queryRawHeaders({}, length));
    f.neededBytes = length;
    std::string buffer(length, '\0');
    f.headersRead = request.queryRawHeaders(buffer, length);
    if (f.headersRead) {
        EXPECT_EQ(length + 2, f.neededBytes);
        for (std::size_t i = 0; i + 1 < length; i += 2) {
            f.rawHeaders += static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                                  (static_cast<unsigned char>(buffer[i + 1]) << 8));
        }
    }
    return f;
}

std::unique_ptr<WinHttpRequest> openRequest(const WinHttp& http, const std::string& url,
                                            std::u16string verb = u"GET") {
    const auto parts = http.crackUrl(wide(url));
    if (!parts) {
        return nullptr;
    }
    const auto session = http.open(WINHTTP_ACCESS_TYPE_NO_PROXY, u"");
    const auto connection = session ? session->connect(parts->hostName, parts->port) : nullptr;
    if (!connection) {
        return nullptr;
    }
    // The request carries everything it needs; the session and connection
    // objects may close before it, as their handles may.
    return connection->openRequest(verb, parts->urlPath + parts->extraInfo, 0);
}

std::string hostLine(const LoopbackServer& server) {
    return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
}

TEST(WinHttpCurl, SendsOnlyTheHeadersItWasGiven) {
    LoopbackServer server;
    ASSERT_TRUE(server.listening());
    server.reply("/p", okReply("hello", {"X-Name: \xD6\xD0"}));
    const WinHttpCurl http;
    ASSERT_TRUE(http.checkPlatform());
    auto request = openRequest(http, server.url("/p?q=1#frag"));
    ASSERT_NE(request, nullptr);
    ASSERT_TRUE(request->addHeaders(u"User-Agent: UA\r\nX-A: 1\r\nCookie: \u4E2D=1",
                                    WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE));
    const Fetched f = finish(*request);
    ASSERT_TRUE(f.received);
    EXPECT_EQ(f.body, "hello");
    EXPECT_FALSE(f.bodyEndedEarly);
    EXPECT_TRUE(f.headersRead);
    EXPECT_EQ(
        f.rawHeaders,
        u"HTTP/1.1 200 OK\r\nX-Name: \u4E2D\r\nContent-Length: 5\r\nConnection: close\r\n\r\n");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(requests[0].requestLine, "GET /p?q=1 HTTP/1.1");
    EXPECT_EQ(requests[0].headerBlock,
              hostLine(server) + "User-Agent: UA\r\nX-A: 1\r\nCookie: \xD6\xD0=1\r\n");
    EXPECT_EQ(requests[0].body, "");
}

struct VerbCase {
    const char* name;
    std::u16string verb;
    std::string body;
    std::string requestLine;
    std::string extraHeaders;  // after Host
    std::string responseBody;  // what reading gives back
};

TEST(WinHttpCurl, SendsEachVerbWithItsBody) {
    const std::vector<VerbCase> cases{
        {"get", u"GET", "", "GET /v HTTP/1.1", "", "12345"},
        {"get with a body", u"GET", "k=v", "GET /v HTTP/1.1", "Content-Length: 3\r\n", "12345"},
        {"post", u"POST", "a=1&b=2", "POST /v HTTP/1.1", "Content-Length: 7\r\n", "12345"},
        {"post without a body", u"POST", "", "POST /v HTTP/1.1", "Content-Length: 0\r\n", "12345"},
        {"put", u"PUT", "\xD6\xD0", "PUT /v HTTP/1.1", "Content-Length: 2\r\n", "12345"},
        {"head", u"HEAD", "", "HEAD /v HTTP/1.1", "", ""},
        {"head with a body", u"HEAD", "x", "HEAD /v HTTP/1.1", "Content-Length: 1\r\n", ""},
        {"no verb is get", u"", "", "GET /v HTTP/1.1", "", "12345"},
    };
    for (const VerbCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server;
        // A HEAD answer announces a body it does not send.
        server.handle("/v", [](const RecordedRequest& r) {
            return r.method == "HEAD"
                       ? ScriptedReply{"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n"}
                       : okReply("12345");
        });
        const WinHttpCurl http;
        auto request = openRequest(http, server.url("/v"), c.verb);
        ASSERT_NE(request, nullptr);
        const Fetched f = finish(*request, c.body);
        EXPECT_TRUE(f.received);
        EXPECT_EQ(f.body, c.responseBody);
        EXPECT_FALSE(f.bodyEndedEarly);
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1U);
        EXPECT_EQ(requests[0].requestLine, c.requestLine);
        EXPECT_EQ(requests[0].headerBlock, hostLine(server) + c.extraHeaders);
        EXPECT_EQ(requests[0].body, c.body);
    }
}

TEST(WinHttpCurl, EscapesTheObjectNameForTheRequestLine) {
    LoopbackServer server;
    server.enqueue(okReply(""));
    const WinHttpCurl http;
    const auto session = http.open(WINHTTP_ACCESS_TYPE_NO_PROXY, u"");
    const auto connection = session->connect(u"127.0.0.1", server.port());
    auto request = connection->openRequest(u"GET", u"/a b/\u4E2D?x=%41", 0);
    ASSERT_NE(request, nullptr);
    EXPECT_TRUE(finish(*request).received);
    ASSERT_EQ(server.requests().size(), 1U);
    EXPECT_EQ(server.requests()[0].target, "/a%20b/%E4%B8%AD?x=%41");
}

TEST(WinHttpCurl, FollowsRedirectsAndKeepsOnlyTheFinalHeaders) {
    LoopbackServer server;
    server.reply("/from",
                 ScriptedReply{responseBytes(302, {"Location: /to", "Set-Cookie: c=1"}, "moved")});
    server.reply("/to", okReply("arrived"));
    const WinHttpCurl http;
    auto request = openRequest(http, server.url("/from"));
    const Fetched f = finish(*request);
    ASSERT_TRUE(f.received);
    EXPECT_EQ(f.body, "arrived");
    EXPECT_EQ(f.rawHeaders, u"HTTP/1.1 200 OK\r\nContent-Length: 7\r\nConnection: close\r\n\r\n");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_EQ(requests[1].requestLine, "GET /to HTTP/1.1");
    // Cookie handling left on: the cookie set on the way travels on.
    EXPECT_EQ(requests[1].header("Cookie"), "c=1");
}

TEST(WinHttpCurl, DisabledFeaturesReturnTheRedirectAndSendNoCookie) {
    struct Case {
        const char* name;
        std::uint32_t disabled;
        std::size_t requests;
        std::string body;
    };
    for (const Case& c : {Case{"cookies off", WINHTTP_DISABLE_COOKIES, 2, "arrived"},
                          Case{"redirects off", WINHTTP_DISABLE_REDIRECTS, 1, "moved"}}) {
        SCOPED_TRACE(c.name);
        LoopbackServer server;
        server.reply("/from", ScriptedReply{responseBytes(302, {"Location: /to", "Set-Cookie: c=1"},
                                                          "moved")});
        server.reply("/to", okReply("arrived"));
        const WinHttpCurl http;
        auto request = openRequest(http, server.url("/from"));
        ASSERT_TRUE(request->setOption(WINHTTP_OPTION_DISABLE_FEATURE, c.disabled));
        const Fetched f = finish(*request);
        ASSERT_TRUE(f.received);
        EXPECT_EQ(f.body, c.body);
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), c.requests);
        EXPECT_EQ(requests.back().header("Cookie"), std::nullopt);
        if (c.disabled == WINHTTP_DISABLE_REDIRECTS) {
            EXPECT_EQ(f.rawHeaders.substr(0, 24), u"HTTP/1.1 302 Found\r\nLoca");
        }
    }
}

TEST(WinHttpCurl, RedirectToAnotherSchemeIsNotFollowed) {
    LoopbackServer server;
    server.reply("/from", ScriptedReply{responseBytes(302, {"Location: file:///etc/passwd"}, "")});
    const WinHttpCurl http;
    auto request = openRequest(http, server.url("/from"));
    const Fetched f = finish(*request);
    EXPECT_TRUE(f.sent);
    EXPECT_FALSE(f.received);
    EXPECT_EQ(server.requestCount(), 1U);
}

TEST(WinHttpCurl, SendsBasicCredentials) {
    LoopbackServer server;
    server.enqueue(okReply("ok"));
    const WinHttpCurl http;
    auto request = openRequest(http, server.url("/secret"));
    ASSERT_TRUE(request->setCredentials(WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                                        u"user", u"pass"));
    EXPECT_TRUE(finish(*request).received);
    ASSERT_EQ(server.requests().size(), 1U);
    EXPECT_EQ(server.requests()[0].header("Authorization"), "Basic dXNlcjpwYXNz");
}

TEST(WinHttpCurl, NamedProxyGetsTheWholeAddressAndItsCredentials) {
    LoopbackServer proxy;
    proxy.enqueue(okReply("via proxy"));
    const WinHttpCurl http;
    const auto session = http.open(WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                                   wide("http=127.0.0.1:" + std::to_string(proxy.port())));
    ASSERT_NE(session, nullptr);
    const auto connection = session->connect(u"example.invalid", 80);
    auto request = connection->openRequest(u"GET", u"/x", 0);
    ASSERT_TRUE(request->setCredentials(WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC, u"pu",
                                        u"pp"));
    const Fetched f = finish(*request);
    ASSERT_TRUE(f.received);
    EXPECT_EQ(f.body, "via proxy");
    ASSERT_EQ(proxy.requests().size(), 1U);
    EXPECT_EQ(proxy.requests()[0].requestLine, "GET http://example.invalid/x HTTP/1.1");
    EXPECT_EQ(proxy.requests()[0].header("Proxy-Authorization"), "Basic cHU6cHA=");
    EXPECT_EQ(proxy.requests()[0].header("Proxy-Connection"), std::nullopt);
}

TEST(WinHttpCurl, ReadsALargeChunkedBodyPieceByPiece) {
    LoopbackServer server;
    const std::vector<std::string> chunks{std::string(10000, 'a'), std::string(7000, 'b'),
                                          std::string(5, 'c')};
    server.enqueue(ScriptedReply{chunkedResponseBytes(200, {}, chunks)});
    const WinHttpCurl http;
    auto request = openRequest(http, server.url("/big"));
    // The whole body has arrived before the first query, so all of it is
    // available; a caller that reads less gets the rest on later reads.
    const Fetched f = finish(*request, {}, 4096);
    ASSERT_TRUE(f.received);
    EXPECT_FALSE(f.bodyEndedEarly);
    EXPECT_EQ(f.body, chunks[0] + chunks[1] + chunks[2]);
    EXPECT_EQ(f.largestChunk, 17005U);
    EXPECT_EQ(f.reads, 5);
}

TEST(WinHttpCurl, ReportsWhereAnExchangeFailed) {
    const WinHttpCurl http;
    {
        SCOPED_TRACE("nobody listens: sending fails");
        auto request =
            openRequest(http, "http://127.0.0.1:" + std::to_string(closedLoopbackPort()));
        const Fetched f = finish(*request);
        EXPECT_FALSE(f.sent);
        EXPECT_FALSE(request->receiveResponse());
        std::uint32_t count = 0;
        EXPECT_FALSE(request->queryDataAvailable(count));
    }
    {
        SCOPED_TRACE("silent server: receiving fails after the time-out");
        LoopbackServer server;
        server.enqueue(ScriptedReply{responseBytes(200, {}, "late"), 4000ms});
        auto request = openRequest(http, server.url("/slow"));
        ASSERT_TRUE(request->setTimeouts(1000, 1000, 1000, 1000));
        const auto start = std::chrono::steady_clock::now();
        const Fetched f = finish(*request);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3500ms);
        EXPECT_TRUE(f.sent);
        EXPECT_FALSE(f.received);
    }
    {
        SCOPED_TRACE("connection dropped inside the body: the body ends early");
        LoopbackServer server;
        ScriptedReply cut{responseBytes(200, {}, "0123456789")};
        cut.dropAt = cut.bytes.size() - 6;
        server.enqueue(cut);
        auto request = openRequest(http, server.url("/cut"));
        const Fetched f = finish(*request);
        EXPECT_TRUE(f.received);
        EXPECT_TRUE(f.bodyEndedEarly);
        EXPECT_EQ(f.body, "0123");
        EXPECT_TRUE(f.headersRead);
    }
}

TEST(WinHttpCurl, StopRequestEndsTheExchange) {
    {
        SCOPED_TRACE("stopped before sending");
        LoopbackServer server;
        std::stop_source stop;
        stop.request_stop();
        const WinHttpCurl http(stop.get_token());
        auto request = openRequest(http, server.url("/x"));
        EXPECT_FALSE(finish(*request).sent);
        EXPECT_EQ(server.requestCount(), 0U);
    }
    {
        SCOPED_TRACE("stopped while waiting for the answer");
        LoopbackServer server;
        server.enqueue(ScriptedReply{responseBytes(200, {}, "late"), 10000ms});
        std::stop_source stop;
        const WinHttpCurl http(stop.get_token());
        auto request = openRequest(http, server.url("/x"));
        std::jthread stopper([&stop] {
            std::this_thread::sleep_for(300ms);
            stop.request_stop();
        });
        const auto start = std::chrono::steady_clock::now();
        const Fetched f = finish(*request);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms);
        EXPECT_FALSE(f.received);
    }
}

TEST(WinHttpCurl, RefusesWhatItCannotDo) {
    const WinHttpCurl http;
    EXPECT_EQ(http.open(0, u""), nullptr);
    EXPECT_EQ(http.open(WINHTTP_ACCESS_TYPE_NAMED_PROXY, u""), nullptr);
    const auto session = http.open(WINHTTP_ACCESS_TYPE_NO_PROXY, u"");
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->connect(u"", 80), nullptr);
    EXPECT_EQ(session->connect(u"evil.test/x?", 80), nullptr);
    EXPECT_EQ(session->connect(u"user@host", 80), nullptr);
    EXPECT_EQ(session->connect(u"host", 65536), nullptr);
    EXPECT_EQ(session->connect(u"host", -1), nullptr);
    const auto connection = session->connect(u"host", 0);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->openRequest(u"G T", u"/", 0), nullptr);
    EXPECT_EQ(connection->openRequest(u"GET\r\nX:", u"/", 0), nullptr);

    auto request = connection->openRequest(u"GET", u"/", 0);
    ASSERT_NE(request, nullptr);
    EXPECT_TRUE(request->setTimeouts(0, -1, 5000, 5000));
    EXPECT_FALSE(request->setTimeouts(-2, 0, 0, 0));
    EXPECT_FALSE(request->setCredentials(WINHTTP_AUTH_TARGET_SERVER, 2, u"u", u"p"));
    EXPECT_FALSE(request->setCredentials(5, WINHTTP_AUTH_SCHEME_BASIC, u"u", u"p"));
    struct OptionCase {
        const char* name;
        std::uint32_t option;
        std::uint32_t value;
        bool accepted;
    };
    for (const OptionCase& c : {
             OptionCase{"disable cookies", WINHTTP_OPTION_DISABLE_FEATURE, 1, true},
             OptionCase{"disable redirects", WINHTTP_OPTION_DISABLE_FEATURE, 2, true},
             OptionCase{"disable both", WINHTTP_OPTION_DISABLE_FEATURE, 3, true},
             OptionCase{"disable nothing", WINHTTP_OPTION_DISABLE_FEATURE, 0, false},
             OptionCase{"disable an unknown feature", WINHTTP_OPTION_DISABLE_FEATURE, 8, false},
             OptionCase{"enable revocation checks", WINHTTP_OPTION_ENABLE_FEATURE, 1, true},
             OptionCase{"enable an unknown feature", WINHTTP_OPTION_ENABLE_FEATURE, 2, false},
             OptionCase{"unknown option", 31, 1, false},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(request->setOption(c.option, c.value), c.accepted);
    }
    std::uint32_t length = 0;
    EXPECT_FALSE(request->queryRawHeaders({}, length));  // nothing sent yet
    EXPECT_EQ(length, 0U);
}

}  // namespace
}  // namespace quorrin
