#include <gtest/gtest.h>

#include <string>

#include "http/fetch_winhttp.h"
#include "platform/com_apartment.h"
#include "tests/support/loopback_server.h"

// The WinHttp fetch on libcurl against the loopback server: the request
// bytes on the wire and the page made of a real response.
namespace quorrin {
namespace {

struct Result {
    Text page;
    Text status;
    Text headers;
    Text cookies;
    Text location = "none";
    ByteSet body;
};

Result fetch(const std::string& url, Text* cookies = nullptr, const Text& extraHeaders = {},
             bool noRedirect = false) {
    Result r;
    r.page = fetchWinHttp(Text(url), 0, {}, cookies, &r.cookies, extraHeaders, &r.headers,
                          noRedirect, {}, {}, {}, {}, {}, 0, &r.location, &r.status, &r.body);
    return r;
}

TEST(FetchWinHttpWire, CommandCallSendsTheDefaultBlock) {
    LoopbackServer server;
    server.reply("/search-all-k-2/", okReply("page"));
    const Result r = fetch(server.url("/search-all-k-2/"));
    EXPECT_EQ(r.page.str(), "page");
    EXPECT_EQ(r.status.str(), "200 OK");
    EXPECT_EQ(comInitCount(), 0);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(requests[0].raw,
              "GET /search-all-k-2/ HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                  "\r\n"
                  "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
                  "Trident/5.0)\r\n"
                  "Accept: text/html, application/xhtml+xml, */*\r\n"
                  "Accept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn\r\n"
                  "Content-Type: application/x-www-form-urlencoded\r\n"
                  "Cache-Control: no-cache\r\n\r\n");
}

TEST(FetchWinHttpWire, ErrorStatusReturnsItsBody) {
    LoopbackServer server;
    server.enqueue(ScriptedReply{responseBytes(404, {}, "missing")});
    const Result r = fetch(server.url("/none"));
    EXPECT_EQ(r.page.str(), "missing");
    EXPECT_EQ(r.status.str(), "404 Not Found");
    EXPECT_EQ(r.headers.str(),
              "HTTP/1.1 404 Not Found\r\nContent-Length: 7\r\nConnection: close\r\n\r\n");
}

TEST(FetchWinHttpWire, CookiesAndRedirectTargetOfTheResponse) {
    LoopbackServer server;
    server.enqueue(ScriptedReply{responseBytes(
        302, {"Set-Cookie: a=1; path=/", "set-cookie: b=2", "Location: /next"}, "moved")});
    Text cookies = "z=9";
    const Result r = fetch(server.url("/from"), &cookies, {}, true);
    EXPECT_EQ(r.status.str(), "302 Found");
    EXPECT_EQ(r.page.str(), "moved");
    EXPECT_EQ(r.location.str(), "/next");
    EXPECT_EQ(r.cookies.str(), "a=1;b=2");
    EXPECT_EQ(cookies.str(), "z=9;a=1;b=2;");
    ASSERT_EQ(server.requests().size(), 1U);
    EXPECT_EQ(server.requests()[0].header("Cookie"), "z=9");
}

TEST(FetchWinHttpWire, PageDeclaringUtf8IsDecoded) {
    LoopbackServer server;
    const std::string html = "<html><head><meta charset=\"utf-8\"></head>\xE4\xB8\xAD\xE6\x96\x87";
    server.enqueue(okReply(html));
    const Result r = fetch(server.url("/u"));
    EXPECT_EQ(r.page.str(), "<html><head><meta charset=\"utf-8\"></head>\xD6\xD0\xCE\xC4");
    EXPECT_EQ(r.body.str(), html);
}

TEST(FetchWinHttpWire, UnreachableServerReportsTheSendFailure) {
    Result r;
    r.status = "kept";
    const Text page = fetchWinHttp(
        Text("http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/"), 0, {}, nullptr,
        nullptr, {}, nullptr, false, {}, {}, {}, {}, {}, 1, nullptr, &r.status);
    EXPECT_EQ(page.str(), "");
    EXPECT_EQ(r.status.str(), "711 \xB7\xA2\xCB\xCD\xC7\xEB\xC7\xF3\xCA\xA7\xB0\xDC!");
    EXPECT_EQ(comInitCount(), 0);
}

}  // namespace
}  // namespace quorrin
