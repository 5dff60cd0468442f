#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "http/fetch_wininet.h"
#include "tests/support/fake_wininet.h"

// What the WinInet fetch asks of the platform layer: agent, access type,
// host and port, verb, path and flag word, the order of the calls, and what
// it makes of the answers.
namespace quorrin {
namespace {

using Calls = std::vector<std::string>;

constexpr std::uint32_t kAlways = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;

TEST(FetchWinInetCalls, SearchCommandCall) {
    const FakeWinInet inet({.body = "page", .rawHeaders = "HTTP/1.1 200 OK\r\n\r\n"});
    Text cookies;
    Text extraHeaders;
    const ByteSet page = fetchWinInet("http://Site.example/search-all-k-1/", 0, {}, &cookies,
                                      nullptr, &extraHeaders, nullptr, false, nullptr, {}, inet);
    EXPECT_EQ(page, ByteSet(std::string("page")));
    const FakeWinInetLog& log = inet.log();
    EXPECT_EQ(log.calls, (Calls{"open", "connect", "openRequest", "send", "read", "read", "query",
                                "close request", "close connection", "close session"}));
    EXPECT_EQ(log.agent, Text("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"));
    EXPECT_EQ(log.accessType, INTERNET_OPEN_TYPE_DIRECT);
    EXPECT_EQ(log.proxyList, Text());
    EXPECT_EQ(log.proxyBypass, Text());
    EXPECT_EQ(log.host, Text("site.example"));
    EXPECT_EQ(log.port, 80);
    EXPECT_EQ(log.verb, Text("GET"));
    EXPECT_EQ(log.path, Text("/search-all-k-1/"));
    EXPECT_EQ(log.version, Text("HTTP/1.1"));
    EXPECT_EQ(log.flags,
              kAlways | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
    EXPECT_EQ(log.flags, 0x80084010U);
    const Text block =
        "Accept: */*\r\nReferer: http://Site.example/search-all-k-1/\r\nAccept-Language: zh-cn"
        "\r\nContent-Type: application/x-www-form-urlencoded";
    EXPECT_EQ(log.sentHeaders, block);
    EXPECT_EQ(extraHeaders, block);
    EXPECT_EQ(log.sentBody, ByteSet());
    EXPECT_EQ(log.readBufferSizes, (std::vector<std::size_t>{1024, 1024}));
    EXPECT_EQ(cookies, Text());
}

struct FlagCase {
    const char* name;
    const char* url;
    bool cookiesSupplied;
    bool noRedirect;
    std::uint32_t flags;
    const char* host;
    int port;
    const char* path;
};

TEST(FetchWinInetCalls, FlagWordHostPortAndPath) {
    const std::vector<FlagCase> cases = {
        {"plain http", "http://a.cc/x?q=1", false, false,
         kAlways | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS, "a.cc", 80, "/x?q=1"},
        {"https default port", "HTTPS://A.cc/P", false, false, kAlways | INTERNET_FLAG_SECURE,
         "a.cc", 443, "/P"},
        {"https own port", "https://a.cc:8443/", false, false, kAlways | INTERNET_FLAG_SECURE,
         "a.cc", 8443, "/"},
        {"no redirect, cookies", "http://a.cc:81", true, true,
         kAlways | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT |
             INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS,
         "a.cc", 81, "/"},
        {"https, everything", "https://a.cc/", true, true,
         kAlways | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_SECURE,
         "a.cc", 443, "/"},
        // No scheme: the port rule sees "https", the secure test does not.
        {"https-like host", "httpsaa.cc/x", false, false,
         kAlways | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS, "httpsaa.cc", 443, "/x"},
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FakeWinInet inet;
        Text cookies;
        (void)fetchWinInet(c.url, 0, {}, c.cookiesSupplied ? &cookies : nullptr, nullptr, nullptr,
                           nullptr, c.noRedirect, nullptr, {}, inet);
        EXPECT_EQ(inet.log().flags, c.flags);
        EXPECT_EQ(inet.log().host, Text(c.host));
        EXPECT_EQ(inet.log().port, c.port);
        EXPECT_EQ(inet.log().path, Text(c.path));
    }
}

struct OpenCase {
    const char* name;
    const char* url;
    const char* proxy;
    const char* extraHeaders;
    std::uint32_t accessType;
    const char* proxyList;
    const char* agent;
};

TEST(FetchWinInetCalls, AgentAndProxyOfTheInternetHandle) {
    const std::vector<OpenCase> cases = {
        {"direct, default agent", "http://a.cc/", "", "", INTERNET_OPEN_TYPE_DIRECT, "",
         kWinInetDefaultAgent},
        {"proxy for http", "http://a.cc/", "p.cc:8080", "", INTERNET_OPEN_TYPE_PROXY,
         "http=p.cc:8080", kWinInetDefaultAgent},
        {"proxy for https", "https://a.cc/", "p.cc:8080", "", INTERNET_OPEN_TYPE_PROXY, "p.cc:8080",
         kWinInetDefaultAgent},
        {"agent line", "http://a.cc/", "", "Accept: a\r\nUser-Agent:   X1  ",
         INTERNET_OPEN_TYPE_DIRECT, "", "X1"},
        // The case-insensitive test finds the line, the case-sensitive cut
        // does not, so the text after the first colon counts.
        {"lower-case agent line", "http://a.cc/", "", "user-agent: X1", INTERNET_OPEN_TYPE_DIRECT,
         "", "X1"},
        {"lower-case agent after another line", "http://a.cc/", "", "X-A: 1\r\nuser-agent: Z",
         INTERNET_OPEN_TYPE_DIRECT, "", "1\r\nuser-agent: Z"},
        {"empty agent line", "http://a.cc/", "", "User-Agent:", INTERNET_OPEN_TYPE_DIRECT, "", ""},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FakeWinInet inet;
        Text extra = c.extraHeaders;
        (void)fetchWinInet(c.url, 0, {}, nullptr, nullptr, &extra, nullptr, false, nullptr, c.proxy,
                           inet);
        EXPECT_EQ(inet.log().accessType, c.accessType);
        EXPECT_EQ(inet.log().proxyList, Text(c.proxyList));
        EXPECT_EQ(inet.log().proxyBypass, Text());
        EXPECT_EQ(inet.log().agent, Text(c.agent));
    }
}

struct FailureCase {
    const char* name;
    FakeWinInetScript script;
    Calls calls;
};

TEST(FetchWinInetCalls, FailedOpenClosesWhatWasOpenAndChangesNothing) {
    const std::vector<FailureCase> cases = {
        {"open", {.failOpen = true}, {"open"}},
        {"connect", {.failConnect = true}, {"open", "connect", "close session"}},
        {"request",
         {.failOpenRequest = true},
         {"open", "connect", "openRequest", "close connection", "close session"}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FakeWinInet inet(c.script);
        Text cookies = "a = 1";
        Text returnedCookies = "rc";
        Text extraHeaders = "X: 1";
        Text returnedHeaders = "rh";
        ByteSet postBytes;
        const ByteSet result =
            fetchWinInet("http://a.cc/", 1, "k=v", &cookies, &returnedCookies, &extraHeaders,
                         &returnedHeaders, false, &postBytes, {}, inet);
        EXPECT_EQ(result, ByteSet());
        EXPECT_EQ(inet.log().calls, c.calls);
        EXPECT_EQ(cookies, Text("a = 1"));
        EXPECT_EQ(returnedCookies, Text("rc"));
        EXPECT_EQ(extraHeaders, Text("X: 1"));
        EXPECT_EQ(returnedHeaders, Text("rh"));
        EXPECT_EQ(postBytes, ByteSet());
    }
}

TEST(FetchWinInetCalls, ReadsTheBodyInChunksOfAtMost1024Bytes) {
    std::string body(2500, 'b');
    body[1500] = '\0';  // raw bytes: zeros stay
    const FakeWinInet inet({.body = body, .readChunk = 4096});
    const ByteSet result = fetchWinInet("http://a.cc/", 0, {}, nullptr, nullptr, nullptr, nullptr,
                                        false, nullptr, {}, inet);
    EXPECT_EQ(result, ByteSet(body));
    EXPECT_EQ(inet.log().readBufferSizes, (std::vector<std::size_t>{1024, 1024, 1024, 1024}));
}

TEST(FetchWinInetCalls, HeaderBlockOver5000BytesIsFetchedAgainWhole) {
    const std::string block = "HTTP/1.1 200 OK\r\nX-Big: " + std::string(6000, 'x') +
                              "\r\nset-cookie: s=1; path=/\r\n\r\n";
    const FakeWinInet inet({.rawHeaders = block});
    Text returnedHeaders;
    Text returnedCookies;
    (void)fetchWinInet("http://a.cc/", 0, {}, nullptr, &returnedCookies, nullptr, &returnedHeaders,
                       false, nullptr, {}, inet);
    EXPECT_EQ(inet.log().queryBufferSizes, (std::vector<std::size_t>{5000, block.size() + 1}));
    EXPECT_EQ(returnedHeaders.length(), static_cast<int>(block.size()));
    EXPECT_EQ(returnedHeaders, Text("HTTP/1.1 200 OK\r\nX-Big: " + std::string(6000, 'x') +
                                    "\r\nSet-Cookie: s=1; path=/\r\n\r\n"));
    EXPECT_EQ(returnedCookies, Text("s=1"));
}

TEST(FetchWinInetCalls, NoResponseLeavesEmptyHeadersNotBlanks) {
    const FakeWinInet inet({.sendSucceeds = false});
    Text returnedHeaders = "old";
    Text returnedCookies = "old";
    Text cookies = "a=1; b = 2";
    const ByteSet result = fetchWinInet("http://a.cc/", 0, {}, &cookies, &returnedCookies, nullptr,
                                        &returnedHeaders, false, nullptr, {}, inet);
    EXPECT_EQ(result, ByteSet());
    EXPECT_EQ(returnedHeaders, Text());
    // The merge with nothing only drops the spaces.
    EXPECT_EQ(cookies, Text("a=1;b=2"));
    EXPECT_EQ(returnedCookies, Text("a=1;b=2"));
}

struct HarvestCase {
    const char* name;
    const char* rawHeaders;
    const char* returnedCookies;
};

TEST(FetchWinInetCalls, HarvestsCookiesFromTheResponseHeaders) {
    const std::vector<HarvestCase> cases = {
        {"two lines", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n",
         "a=1; b=2"},
        {"any letter case", "HTTP/1.1 200 OK\r\nSET-COOKIE:  c=3 ;x\r\nset-cookie: d=4\r\n\r\n",
         "c=3; d=4"},
        {"none", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
        {"empty value", "HTTP/1.1 200 OK\r\nSet-Cookie:\r\n\r\n", ""},
    };
    for (const HarvestCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FakeWinInet inet({.rawHeaders = c.rawHeaders});
        Text returnedCookies = "old";
        (void)fetchWinInet("http://a.cc/", 0, {}, nullptr, &returnedCookies, nullptr, nullptr,
                           false, nullptr, {}, inet);
        EXPECT_EQ(returnedCookies, Text(c.returnedCookies));
    }
}

}  // namespace
}  // namespace quorrin
