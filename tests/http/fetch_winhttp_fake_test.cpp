#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/fetch_winhttp.h"
#include "platform/com_apartment.h"
#include "tests/support/fake_winhttp.h"

// What the WinHttp fetch asks of the platform layer, in which order, and
// what it makes of the answers, failures included.
namespace quorrin {
namespace {

using Calls = std::vector<std::string>;

constexpr std::uint32_t kAddOrReplace = WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE;

const std::u16string kDefaultBlock =
    u"User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
    u"Accept: text/html, application/xhtml+xml, */*\r\nAccept-Encoding: gbk, GB2312\r\n"
    u"Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\n"
    u"Cache-Control: no-cache\r\n";

// The by-reference arguments of one call, each holding a marker first.
struct Outputs {
    Text cookies = "kept=1";
    Text returnedCookies = "kept";
    Text returnedHeaders = "kept";
    Text redirectLocation = "kept";
    Text statusText = "kept";
    ByteSet bodyBytes{std::string("kept")};
};

// The call of the load-all and download-address commands: address and
// method 0, every other argument omitted.
TEST(FetchWinHttpCalls, CommandCall) {
    const FakeWinHttp http({.chunks = {"pa", "ge"}});
    Text status;
    const Text page =
        fetchWinHttp("http://Site.example/search-all-k-2/", 0, {}, nullptr, nullptr, {}, nullptr,
                     false, {}, {}, {}, {}, {}, 0, nullptr, &status, nullptr, http);
    EXPECT_EQ(page.str(), "page");
    EXPECT_EQ(status.str(), "200 OK");
    const FakeWinHttpLog& log = http.log();
    EXPECT_EQ(log.calls, (Calls{"checkPlatform",
                                "crackUrl",
                                "open",
                                "connect",
                                "openRequest",
                                "setTimeouts",
                                "setOption",
                                "addHeaders",
                                "send",
                                "receiveResponse",
                                "queryDataAvailable",
                                "readData",
                                "queryDataAvailable",
                                "readData",
                                "queryDataAvailable",
                                "queryHeaders",
                                "queryHeaders",
                                "close request",
                                "close connection",
                                "close session"}));
    EXPECT_EQ(log.url, u"http://Site.example/search-all-k-2/");
    EXPECT_EQ(log.accessType, WINHTTP_ACCESS_TYPE_NO_PROXY);
    EXPECT_EQ(log.proxyName, u"");
    EXPECT_EQ(log.host, u"Site.example");
    EXPECT_EQ(log.port, 80);
    EXPECT_EQ(log.verb, u"GET");
    EXPECT_EQ(log.objectName, u"/search-all-k-2/");
    EXPECT_EQ(log.requestFlags, 0U);
    EXPECT_EQ(log.timeouts, (std::array<int, 4>{30000, 30000, 30000, 30000}));
    EXPECT_TRUE(log.credentials.empty());
    EXPECT_EQ(log.options, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{63, 1}}));
    EXPECT_EQ(log.headers, kDefaultBlock);
    EXPECT_EQ(log.headerFlags, kAddOrReplace);
    EXPECT_EQ(log.body, "");
    EXPECT_EQ(log.comCountsAtSend, std::vector<int>{1});  // the matcher's initialisation
    EXPECT_EQ(comInitCount(), 0);
}

TEST(FetchWinHttpCalls, ArgumentsReachThePlatform) {
    const FakeWinHttp http({.chunks = {}});
    Outputs out;
    (void)fetchWinHttp("https://h.example:8443?q=1", 3, "x=\xD6\xD0", &out.cookies,
                       &out.returnedCookies, "X-A: 1", &out.returnedHeaders, true, "u", "p",
                       "proxy:3128", "pu", "pp", 5, &out.redirectLocation, &out.statusText,
                       &out.bodyBytes, http);
    const FakeWinHttpLog& log = http.log();
    EXPECT_EQ(log.accessType, WINHTTP_ACCESS_TYPE_NAMED_PROXY);
    EXPECT_EQ(log.proxyName, u"proxy:3128");  // a secure address takes the list as it is
    EXPECT_EQ(log.host, u"h.example");
    EXPECT_EQ(log.port, 8443);
    EXPECT_EQ(log.verb, u"PUT");
    EXPECT_EQ(log.objectName, u"/?q=1");
    EXPECT_EQ(log.requestFlags, WINHTTP_FLAG_SECURE);
    EXPECT_EQ(log.timeouts, (std::array<int, 4>{5000, 5000, 5000, 5000}));
    using Login = std::tuple<std::uint32_t, std::u16string, std::u16string>;
    EXPECT_EQ(log.credentials, (std::vector<Login>{{0, u"u", u"p"}, {1, u"pu", u"pp"}}));
    EXPECT_EQ(log.options,
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{79, 1}, {63, 2}}));
    EXPECT_EQ(log.headers, u"X-A: 1\r\n" + kDefaultBlock + u"Cookie: kept=1\r\n");
    EXPECT_EQ(log.body, "x=\xD6\xD0");

    const FakeWinHttp plain;
    Text status;
    (void)fetchWinHttp("http://h.example/", 9, {}, nullptr, nullptr, {}, nullptr, false, "u", {},
                       "proxy:3128", {}, "pp", -3, nullptr, &status, nullptr, plain);
    EXPECT_EQ(plain.log().proxyName, u"http=proxy:3128");
    EXPECT_EQ(plain.log().verb, u"GET");
    EXPECT_EQ(plain.log().timeouts, (std::array<int, 4>{30000, 30000, 30000, 30000}));
    EXPECT_TRUE(plain.log().credentials.empty());  // a pair with an empty half is skipped
}

struct FailureCase {
    const char* name;
    WinHttpStep step;
    std::string statusText;
    std::size_t callsMade;  // calls of the full sequence up to the failing one
    Calls closes;
};

TEST(FetchWinHttpFailures, EachStepReportsItsTextAndClosesWhatItOpened) {
    const Calls sequence{"checkPlatform",  "crackUrl",    "open",           "connect",
                         "openRequest",    "setTimeouts", "setCredentials", "setCredentials",
                         "setOption",      "setOption",   "addHeaders",     "send",
                         "receiveResponse"};
    const Calls all{"close request", "close connection", "close session"};
    const std::vector<FailureCase> cases{
        {"platform",
         WinHttpStep::checkPlatform,
         "700 \xB5\xB1\xC7\xB0\xCF\xB5\xCD\xB3\xB2\xBB\xD6\xA7\xB3\xD6WinHttp\xB7\xFE\xCE\xF1!",
         1,
         {}},
        {"address",
         WinHttpStep::crackUrl,
         "701 \xBD\xE2\xCE\xF6URL\xB5\xD8\xD6\xB7\xCA\xA7\xB0\xDC!",
         2,
         {}},
        {"session",
         WinHttpStep::open,
         "702 \xB4\xB4\xBD\xA8WinHttp\xBB\xE1\xBB\xB0\xCA\xA7\xB0\xDC!",
         3,
         {}},
        {"connection",
         WinHttpStep::connect,
         "703 \xB4\xB4\xBD\xA8WinHttp\xC1\xAC\xBD\xD3\xCA\xA7\xB0\xDC!",
         4,
         {"close session"}},
        {"request",
         WinHttpStep::openRequest,
         "704 \xB4\xB4\xBD\xA8WinHttp\xC7\xEB\xC7\xF3\xCA\xA7\xB0\xDC!",
         5,
         {"close connection", "close session"}},
        {"time-outs", WinHttpStep::setTimeouts,
         "705 \xC9\xE8\xD6\xC3\xB3\xAC\xCA\xB1\xCA\xB1\xBC\xE4\xCA\xA7\xB0\xDC!", 6, all},
        {"server credentials", WinHttpStep::serverCredentials,
         "707 \xC9\xE8\xD6\xC3\xB4\xFA\xC0\xED\xC6\xBE\xD6\xA4\xCA\xA7\xB0\xDC!", 7, all},
        {"proxy credentials", WinHttpStep::proxyCredentials,
         "707 \xC9\xE8\xD6\xC3\xB4\xFA\xC0\xED\xC6\xBE\xD6\xA4\xCA\xA7\xB0\xDC!", 8, all},
        {"cookie option", WinHttpStep::cookieOption,
         "708 \xBD\xFB\xD6\xB9\xD7\xD4\xB6\xAF\xC9\xE8\xD6\xC3"
         "Cookies\xCA\xA7\xB0\xDC!",
         9, all},
        {"redirect option", WinHttpStep::redirectOption,
         "709 \xD6\xD8\xB6\xA8\xCF\xF2\xC9\xE8\xD6\xC3\xCA\xA7\xB0\xDC!", 10, all},
        {"headers", WinHttpStep::addHeaders,
         "710 \xC9\xE8\xD6\xC3\xD0\xAD\xD2\xE9\xCD\xB7\xCA\xA7\xB0\xDC!", 11, all},
        {"send", WinHttpStep::send, "711 \xB7\xA2\xCB\xCD\xC7\xEB\xC7\xF3\xCA\xA7\xB0\xDC!", 12,
         all},
        {"receive", WinHttpStep::receiveResponse,
         "712 \xB7\xFE\xCE\xF1\xC6\xF7\xCE\xB4\xCF\xEC\xD3\xA6!", 13, all},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FakeWinHttp http({.failAt = c.step, .chunks = {"body"}});
        Outputs out;
        const Text page =
            fetchWinHttp("http://h.example/x", 0, {}, &out.cookies, &out.returnedCookies, {},
                         &out.returnedHeaders, true, "u", "p", {}, "pu", "pp", 0,
                         &out.redirectLocation, &out.statusText, &out.bodyBytes, http);
        EXPECT_EQ(page.str(), "");
        EXPECT_EQ(out.statusText.str(), c.statusText);
        Calls expected(sequence.begin(),
                       sequence.begin() + static_cast<std::ptrdiff_t>(c.callsMade));
        expected.insert(expected.end(), c.closes.begin(), c.closes.end());
        EXPECT_EQ(http.log().calls, expected);
        EXPECT_EQ(out.cookies.str(), "kept=1");
        EXPECT_EQ(out.returnedCookies.str(), "kept");
        EXPECT_EQ(out.returnedHeaders.str(), "kept");
        EXPECT_EQ(out.redirectLocation.str(), "kept");
        EXPECT_EQ(out.bodyBytes.str(), "kept");
        EXPECT_EQ(comInitCount(), 0);
    }
}

TEST(FetchWinHttpFailures, BodyFailuresKeepWhatWasRead) {
    {
        SCOPED_TRACE("read fails: the status line replaces the 713 text");
        const FakeWinHttp http({.failAt = WinHttpStep::readData, .chunks = {"ab", "cd"}});
        Outputs out;
        const Text page =
            fetchWinHttp("http://h/", 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {},
                         {}, 0, nullptr, &out.statusText, &out.bodyBytes, http);
        EXPECT_EQ(page.str(), "ab");
        EXPECT_EQ(out.statusText.str(), "200 OK");
        EXPECT_EQ(out.bodyBytes.str(), "ab");
    }
    {
        SCOPED_TRACE("availability query fails: the body ends quietly");
        const FakeWinHttp http({.failAt = WinHttpStep::queryDataAvailable, .chunks = {"ab", "cd"}});
        Outputs out;
        const Text page =
            fetchWinHttp("http://h/", 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {},
                         {}, 0, nullptr, &out.statusText, &out.bodyBytes, http);
        EXPECT_EQ(page.str(), "ab");
        EXPECT_EQ(out.statusText.str(), "200 OK");
    }
    {
        SCOPED_TRACE("headers cannot be read: empty result, outputs untouched");
        const FakeWinHttp http({.failAt = WinHttpStep::queryHeaders, .chunks = {"ab"}});
        Outputs out;
        const Text page = fetchWinHttp(
            "http://h/", 0, {}, &out.cookies, &out.returnedCookies, {}, &out.returnedHeaders, false,
            {}, {}, {}, {}, {}, 0, &out.redirectLocation, &out.statusText, &out.bodyBytes, http);
        EXPECT_EQ(page.str(), "");
        EXPECT_EQ(out.statusText.str(), "kept");
        EXPECT_EQ(out.cookies.str(), "kept=1");
        EXPECT_EQ(out.returnedCookies.str(), "kept");
        EXPECT_EQ(out.returnedHeaders.str(), "kept");
        EXPECT_EQ(out.redirectLocation.str(), "kept");
        EXPECT_EQ(out.bodyBytes.str(), "kept");
        EXPECT_EQ(http.log().calls.back(), "close session");
    }
    EXPECT_EQ(comInitCount(), 0);
}

TEST(FetchWinHttpResponse, FillsEveryOutputOfACompletedCall) {
    const FakeWinHttp http({.chunks = {std::string("<p>\0x", 5)},
                            .rawHeaders = u"HTTP/1.1 302 Found\r\nset-cookie: b=2; path=/\r\n"
                                          u"SET-COOKIE: c=3\r\nlocation: /next\r\n\r\n"});
    Outputs out;
    out.cookies = "a=1";
    const Text page = fetchWinHttp("http://h/", 0, {}, &out.cookies, &out.returnedCookies, {},
                                   &out.returnedHeaders, false, {}, {}, {}, {}, {}, 0,
                                   &out.redirectLocation, &out.statusText, &out.bodyBytes, http);
    EXPECT_EQ(page.str(), "<p>");
    EXPECT_EQ(out.statusText.str(), "302 Found");
    EXPECT_EQ(out.returnedHeaders.str(),
              "HTTP/1.1 302 Found\r\nSet-Cookie: b=2; path=/\r\nSet-Cookie: c=3\r\n"
              "location: /next\r\n\r\n");
    EXPECT_EQ(out.redirectLocation.str(), "/next");
    EXPECT_EQ(out.cookies.str(), "a=1;b=2;c=3;");
    EXPECT_EQ(out.returnedCookies.str(), "b=2;c=3");
    EXPECT_EQ(out.bodyBytes.str(), std::string("<p>\0x", 5));

    const FakeWinHttp bare({.chunks = {}});
    Outputs none;
    (void)fetchWinHttp("http://h/", 2, {}, nullptr, &none.returnedCookies, {},
                       &none.returnedHeaders, false, {}, {}, {}, {}, {}, 0, &none.redirectLocation,
                       &none.statusText, &none.bodyBytes, bare);
    EXPECT_EQ(none.returnedCookies.str(), "");  // emptied though the server set none
    EXPECT_EQ(none.redirectLocation.str(), "kept");
    EXPECT_EQ(none.returnedHeaders.str(), "HTTP/1.1 200 OK\r\n\r\n");
    EXPECT_EQ(none.bodyBytes.str(), "");
}

}  // namespace
}  // namespace quorrin
