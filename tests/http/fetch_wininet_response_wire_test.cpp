#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/fetch_wininet.h"
#include "tests/support/loopback_server.h"

// What the WinInet fetch makes of real responses from a loopback server:
// body, header block, cookies, redirects, errors and broken connections.
namespace quorrin {
namespace {

struct Outcome {
    ByteSet body;
    Text returnedHeaders = "unset";
    Text returnedCookies = "unset";
};

Outcome fetch(const std::string& url, Text* cookies = nullptr, bool noRedirect = false) {
    Outcome out;
    out.body = fetchWinInet(Text(url), 0, {}, cookies, &out.returnedCookies, nullptr,
                            &out.returnedHeaders, noRedirect);
    return out;
}

ByteSet bytes(std::string_view s) {
    return ByteSet(std::string(s));
}

class FetchWinInetResponse : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.listening()); }
    LoopbackServer server_;
};

TEST_F(FetchWinInetResponse, RedirectFollowedOrNot) {
    server_.reply("/from", redirectReply("/to"));
    server_.reply("/to", okReply("target"));

    const Outcome followed = fetch(server_.url("/from"));
    EXPECT_EQ(followed.body, bytes("target"));
    EXPECT_EQ(followed.returnedHeaders,
              Text("HTTP/1.1 200 OK\r\nContent-Length: 6\r\nConnection: close\r\n\r\n"));
    ASSERT_EQ(server_.requestCount(), 2U);
    EXPECT_EQ(server_.requests()[1].requestLine, "GET /to HTTP/1.1");

    const Outcome kept = fetch(server_.url("/from"), nullptr, true);
    EXPECT_EQ(kept.body, bytes("moved"));
    EXPECT_EQ(kept.returnedHeaders, Text("HTTP/1.1 302 Found\r\nLocation: /to\r\n"
                                         "Content-Length: 5\r\nConnection: close\r\n\r\n"));
    EXPECT_EQ(server_.requestCount(), 3U);
}

TEST_F(FetchWinInetResponse, RedirectToALocalFileIsRefused) {
    server_.reply("/leak", redirectReply("file:///etc/hostname"));
    const Outcome out = fetch(server_.url("/leak"));
    EXPECT_EQ(out.body, ByteSet());
    EXPECT_EQ(out.returnedHeaders, Text("HTTP/1.1 302 Found\r\nLocation: file:///etc/hostname\r\n"
                                        "Content-Length: 5\r\nConnection: close\r\n\r\n"));
    EXPECT_EQ(server_.requestCount(), 1U);
}

TEST_F(FetchWinInetResponse, CookiesHarvestedAndMerged) {
    const ScriptedReply reply{
        "HTTP/1.1 200 OK\r\n"
        "set-cookie: sid=abc; path=/; HttpOnly\r\n"
        "Set-Cookie: b=2\r\n"
        "Content-Length: 4\r\n\r\nbody"};
    server_.reply("/login", reply);

    const Outcome harvested = fetch(server_.url("/login"));
    EXPECT_EQ(harvested.body, bytes("body"));
    EXPECT_EQ(harvested.returnedCookies, Text("sid=abc; b=2"));
    EXPECT_EQ(harvested.returnedHeaders,
              Text("HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; path=/; HttpOnly\r\n"
                   "Set-Cookie: b=2\r\nContent-Length: 4\r\n\r\n"));

    Text cookies = "a=1; sid=old";
    const Outcome merged = fetch(server_.url("/login"), &cookies);
    EXPECT_EQ(cookies, Text("a=1;sid=abc;b=2;"));
    EXPECT_EQ(merged.returnedCookies, cookies);
    EXPECT_EQ(server_.requests()[1].header("Cookie"), "a=1; sid=old");
}

TEST_F(FetchWinInetResponse, ErrorStatusBodyIsReturned) {
    server_.reply("/missing", ScriptedReply{responseBytes(404, {}, "not here")});
    const Outcome out = fetch(server_.url("/missing"));
    EXPECT_EQ(out.body, bytes("not here"));
    EXPECT_EQ(out.returnedHeaders, Text("HTTP/1.1 404 Not Found\r\nContent-Length: 8\r\n"
                                        "Connection: close\r\n\r\n"));
    EXPECT_EQ(out.returnedCookies, Text());
}

TEST_F(FetchWinInetResponse, ChunkedBodyArrivesWhole) {
    const std::string part(3000, 'c');
    server_.reply("/chunked",
                  ScriptedReply{chunkedResponseBytes(200, {"Set-Cookie: k=v"}, {part, "end"})});
    const Outcome out = fetch(server_.url("/chunked"));
    EXPECT_EQ(out.body, bytes(part + "end"));
    EXPECT_EQ(out.returnedCookies, Text("k=v"));
}

TEST_F(FetchWinInetResponse, UnreachablePortGivesNothing) {
    Text cookies = "a = 1";
    Text extraHeaders;
    Outcome out;
    const std::string url = "http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/x";
    out.body = fetchWinInet(Text(url), 0, {}, &cookies, &out.returnedCookies, &extraHeaders,
                            &out.returnedHeaders);
    EXPECT_EQ(out.body, ByteSet());
    EXPECT_EQ(out.returnedHeaders, Text());  // not 5000 blanks
    EXPECT_EQ(cookies, Text("a=1"));
    EXPECT_EQ(out.returnedCookies, Text("a=1"));
    EXPECT_EQ(extraHeaders,
              Text("Accept: */*\r\nReferer: " + url +
                   "\r\nAccept-Language: zh-cn\r\n"
                   "Content-Type: application/x-www-form-urlencoded\r\nCookie: a = 1"));
}

TEST_F(FetchWinInetResponse, DroppedConnectionKeepsWhatArrived) {
    ScriptedReply reply = okReply(std::string(4000, 'd'), {"Set-Cookie: t=1"});
    reply.dropAt = reply.bytes.size() - 1500;
    server_.reply("/drop", reply);
    const Outcome out = fetch(server_.url("/drop"));
    EXPECT_EQ(out.body, bytes(std::string(2500, 'd')));
    EXPECT_EQ(out.returnedHeaders, Text("HTTP/1.1 200 OK\r\nSet-Cookie: t=1\r\n"
                                        "Content-Length: 4000\r\nConnection: close\r\n\r\n"));
    EXPECT_EQ(out.returnedCookies, Text("t=1"));
}

TEST_F(FetchWinInetResponse, HeaderBlockOver5000BytesKeepsItsCookies) {
    const std::string filler = "X-Filler: " + std::string(6000, 'f');
    server_.reply("/big", okReply("small body", {filler, "Set-Cookie: late=1; path=/"}));
    const Outcome out = fetch(server_.url("/big"));
    EXPECT_EQ(out.body, bytes("small body"));
    const std::string block = "HTTP/1.1 200 OK\r\n" + filler +
                              "\r\nSet-Cookie: late=1; path=/\r\nContent-Length: 10\r\n"
                              "Connection: close\r\n\r\n";
    EXPECT_EQ(out.returnedHeaders.length(), static_cast<int>(block.size()));
    EXPECT_EQ(out.returnedHeaders, Text(block));
    EXPECT_EQ(out.returnedCookies, Text("late=1"));
}

}  // namespace
}  // namespace quorrin
