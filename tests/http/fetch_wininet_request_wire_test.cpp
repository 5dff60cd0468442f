#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "http/fetch_wininet.h"
#include "tests/support/loopback_server.h"

// The bytes the WinInet fetch puts on the wire, seen by a loopback server.
namespace quorrin {
namespace {

class FetchWinInetRequest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listening());
        server_.handle("/echo", [](const RecordedRequest&) { return okReply("ok"); });
    }

    // The single request the server saw.
    RecordedRequest onlyRequest() const {
        const std::vector<RecordedRequest> requests = server_.requests();
        EXPECT_EQ(requests.size(), 1U);
        return requests.empty() ? RecordedRequest{} : requests.front();
    }

    std::string host() const {
        return "Host: 127.0.0.1:" + std::to_string(server_.port()) + "\r\n";
    }

    LoopbackServer server_;
};

TEST_F(FetchWinInetRequest, SearchCommandRequest) {
    const std::string url = server_.url("/search-all-%E7%88%B5-1/");
    server_.reply("/search-all-%E7%88%B5-1/", okReply("<html>rows</html>"));
    Text cookies;
    Text extraHeaders;
    const ByteSet page = fetchWinInet(Text(url), 0, {}, &cookies, nullptr, &extraHeaders);
    EXPECT_EQ(page, ByteSet(std::string("<html>rows</html>")));
    const RecordedRequest request = onlyRequest();
    EXPECT_EQ(request.raw, "GET /search-all-%E7%88%B5-1/ HTTP/1.1\r\n" + host() +
                               "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n"
                               "Accept: */*\r\n"
                               "Referer: " +
                               url +
                               "\r\n"
                               "Accept-Language: zh-cn\r\n"
                               "Content-Type: application/x-www-form-urlencoded\r\n\r\n");
    EXPECT_EQ(extraHeaders, Text("Accept: */*\r\nReferer: " + url +
                                 "\r\nAccept-Language: zh-cn\r\n"
                                 "Content-Type: application/x-www-form-urlencoded"));
    EXPECT_EQ(cookies, Text());
}

struct HeaderCase {
    const char* name;
    const char* extraHeaders;
    std::optional<const char*> cookies;
    // The block the caller gets back; "$URL" stands for the address.
    std::string block;
    // The agent line libcurl sends ahead of the block; none when the block
    // has one of its own.
    bool agentLineAhead;
};

std::string withUrl(std::string text, const std::string& url) {
    for (std::size_t at = text.find("$URL"); at != std::string::npos; at = text.find("$URL")) {
        text.replace(at, 4, url);
    }
    return text;
}

TEST_F(FetchWinInetRequest, HeaderLinesAroundTheCallersOwn) {
    const std::string rest =
        "\r\nAccept-Language: zh-cn\r\n"
        "Content-Type: application/x-www-form-urlencoded";
    const std::vector<HeaderCase> cases = {
        {"nothing given", "", std::nullopt, "Accept: */*\r\nReferer: $URL" + rest, true},
        {"agent line travels as given", "User-Agent: X1", std::nullopt,
         "User-Agent: X1\r\nAccept: */*\r\nReferer: $URL" + rest, false},
        {"lower-case agent line", "user-agent: X1", std::nullopt,
         "user-agent: X1\r\nAccept: */*\r\nReferer: $URL" + rest, false},
        {"own referer", "Referer: r", std::nullopt, "Referer: r\r\nAccept: */*" + rest, true},
        {"language alone is not accept", "Accept-Language: en", std::nullopt,
         "Accept-Language: en\r\nAccept: */*\r\nReferer: $URL\r\n"
         "Content-Type: application/x-www-form-urlencoded",
         true},
        {"own accept and type", "Accept: text/html\r\nContent-Type: text/plain", std::nullopt,
         "Accept: text/html\r\nContent-Type: text/plain\r\nReferer: $URL\r\n"
         "Accept-Language: zh-cn",
         true},
        {"cookie value", "", "a=1", "Accept: */*\r\nReferer: $URL" + rest + "\r\nCookie: a=1",
         true},
        {"cookie line", "", "Cookie: a=1",
         "Accept: */*\r\nReferer: $URL" + rest + "\r\nCookie: a=1", true},
        {"empty cookies supplied", "", "", "Accept: */*\r\nReferer: $URL" + rest, true},
        {"cookie in extra headers too", "Cookie: x=9", "a=1",
         "Cookie: x=9\r\nAccept: */*\r\nReferer: $URL" + rest + "\r\nCookie: a=1", true},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server;
        server.reply("/echo", okReply("ok"));
        const std::string url = server.url("/echo");
        Text cookies = c.cookies.value_or("");
        Text extra = c.extraHeaders;
        const ByteSet body =
            fetchWinInet(Text(url), 0, {}, c.cookies ? &cookies : nullptr, nullptr, &extra);
        EXPECT_EQ(body, ByteSet(std::string("ok")));
        const std::vector<RecordedRequest> requests = server.requests();
        ASSERT_EQ(requests.size(), 1U);
        const std::string block = withUrl(c.block, url);
        EXPECT_EQ(extra, Text(block));
        const std::string agentLine =
            c.agentLineAhead ? "User-Agent: " + std::string(kWinInetDefaultAgent) + "\r\n" : "";
        EXPECT_EQ(requests[0].headerBlock, "Host: 127.0.0.1:" + std::to_string(server.port()) +
                                               "\r\n" + agentLine + block + "\r\n");
    }
}

struct BodyCase {
    const char* name;
    int method;
    const char* postData;
    std::optional<std::string> postBytes;
    const char* requestLineVerb;
    std::string body;                           // as received
    std::optional<std::string> postBytesAfter;  // nullopt: not supplied
};

TEST_F(FetchWinInetRequest, VerbAndBody) {
    const std::vector<BodyCase> cases = {
        {"method -1 is GET", -1, "k=v", std::nullopt, "GET", "", std::nullopt},
        {"method 3 is GET", 3, "", std::nullopt, "GET", "", std::nullopt},
        {"GET sends no body", 0, "k=v", std::string("xy"), "GET", "", std::string("xy")},
        {"POST with postData", 1, "k=v", std::string(), "POST", "k=v", std::string("k=v")},
        {"POST without postBytes", 1, "k=v", std::nullopt, "POST", "k=v", std::nullopt},
        {"postBytes win", 1, "k=v", std::string("b\0\x01", 3), "POST", std::string("b\0\x01", 3),
         std::string("b\0\x01", 3)},
        {"POST empty", 1, "", std::nullopt, "POST", "", std::nullopt},
        {"HEAD sends a body like POST", 2, "k=v", std::string(), "HEAD", "k=v", std::string("k=v")},
    };
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server;
        server.reply("/form", okReply("done"));
        ByteSet postBytes(c.postBytes.value_or(""));
        const ByteSet result =
            fetchWinInet(Text(server.url("/form?a=1")), c.method, c.postData, nullptr, nullptr,
                         nullptr, nullptr, false, c.postBytes ? &postBytes : nullptr);
        const std::vector<RecordedRequest> requests = server.requests();
        ASSERT_EQ(requests.size(), 1U);
        EXPECT_EQ(requests[0].requestLine, std::string(c.requestLineVerb) + " /form?a=1 HTTP/1.1");
        EXPECT_EQ(requests[0].body, c.body);
        const bool hasBody = c.method == 1 || c.method == 2;
        EXPECT_EQ(requests[0].header("Content-Length"),
                  hasBody ? std::optional(std::to_string(c.body.size())) : std::nullopt);
        EXPECT_EQ(requests[0].header("Expect"), std::nullopt);
        EXPECT_EQ(result, ByteSet(std::string(c.method == 2 ? "" : "done")));
        if (c.postBytesAfter) {
            EXPECT_EQ(postBytes, ByteSet(*c.postBytesAfter));
        }
    }
}

TEST_F(FetchWinInetRequest, LargePostGoesOutWithoutExpect) {
    const std::string big(2 << 20, 'p');
    ByteSet postBytes(big);
    (void)fetchWinInet(Text(server_.url("/echo")), 1, {}, nullptr, nullptr, nullptr, nullptr, false,
                       &postBytes);
    const RecordedRequest request = onlyRequest();
    EXPECT_EQ(request.body.size(), big.size());
    EXPECT_EQ(request.header("Expect"), std::nullopt);
}

}  // namespace
}  // namespace quorrin
