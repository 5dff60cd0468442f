#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/curl_holder.h"
#include "tests/support/loopback_server.h"

// The loopback server the WinInet and WinHttp tests stand on, driven by a
// bare libcurl transfer.
namespace quorrin {
namespace {

size_t collect(char* data, size_t size, size_t count, void* into) {
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
}

struct Transfer {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::string body;
};

Transfer get(const std::string& url, const char* postBody = nullptr) {
    Transfer result;
    const CurlHolder curl;
    CurlSlist headers;
    headers.append("X-Probe: 1");
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, 5000L);
    if (postBody != nullptr) {
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, postBody);
    }
    result.code = curl_easy_perform(curl.get());
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &result.status);
    return result;
}

TEST(LoopbackServer, RecordsTheRequestAsReceived) {
    LoopbackServer server;
    ASSERT_TRUE(server.listening());
    server.reply("/form", okReply("done"));
    const Transfer t = get(server.url("/form?k=v"), "a=1&b=2");
    EXPECT_EQ(t.code, CURLE_OK);
    EXPECT_EQ(t.body, "done");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1U);
    const RecordedRequest& r = requests[0];
    EXPECT_EQ(r.requestLine, "POST /form?k=v HTTP/1.1");
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, "/form?k=v");
    EXPECT_EQ(r.headerBlock, "Host: 127.0.0.1:" + std::to_string(server.port()) +
                                 "\r\nAccept: */*\r\nX-Probe: 1\r\nContent-Length: 7\r\n"
                                 "Content-Type: application/x-www-form-urlencoded\r\n");
    EXPECT_EQ(r.body, "a=1&b=2");
    EXPECT_EQ(r.raw, r.requestLine + "\r\n" + r.headerBlock + "\r\n" + r.body);
    EXPECT_EQ(r.header("x-probe"), "1");
    EXPECT_EQ(r.header("Cookie"), std::nullopt);
}

TEST(LoopbackServer, QueueServesUnhandledPathsInOrderThen404) {
    LoopbackServer server;
    server.enqueue(okReply("first"));
    server.enqueue(
        ScriptedReply{responseBytes(500, {}, "second"), {}, kWholeReply, {}, kWholeReply});
    const Transfer a = get(server.url("/a"));
    const Transfer b = get(server.url("/b"));
    const Transfer c = get(server.url("/c"));
    EXPECT_EQ(a.status, 200);
    EXPECT_EQ(a.body, "first");
    EXPECT_EQ(b.status, 500);
    EXPECT_EQ(b.body, "second");
    EXPECT_EQ(c.status, 404);
    EXPECT_EQ(server.requestCount(), 3U);
}

TEST(LoopbackServer, DroppedConnectionCutsTheBody) {
    LoopbackServer server;
    ScriptedReply reply = okReply(std::string(1000, 'x'));
    reply.dropAt = reply.bytes.size() - 400;
    server.reply("/drop", reply);
    const Transfer t = get(server.url("/drop"));
    EXPECT_EQ(t.code, CURLE_PARTIAL_FILE);
    EXPECT_EQ(t.body, std::string(600, 'x'));
}

TEST(LoopbackServer, ChunkedBodyAndPauseArriveWhole) {
    LoopbackServer server;
    ScriptedReply reply{chunkedResponseBytes(200, {}, {"ab", "", "cde"}),
                        {},
                        20,
                        std::chrono::milliseconds(50),
                        kWholeReply};
    server.reply("/chunks", reply);
    const Transfer t = get(server.url("/chunks"));
    EXPECT_EQ(t.code, CURLE_OK);
    EXPECT_EQ(t.body, "abcde");
}

TEST(LoopbackServer, NothingListensOnAClosedPort) {
    const Transfer t = get("http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/");
    EXPECT_EQ(t.code, CURLE_COULDNT_CONNECT);
}

TEST(LoopbackServer, StopsWhileAReplyIsDelayed) {
    LoopbackServer server;
    server.reply("/slow", ScriptedReply{responseBytes(200, {}, "late"),
                                        std::chrono::seconds(30),
                                        kWholeReply,
                                        {},
                                        kWholeReply});
    std::thread client([&] { (void)get(server.url("/slow")); });
    ASSERT_TRUE(server.waitForRequests(1, std::chrono::seconds(5)));
    const auto begin = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
    client.join();
}

}  // namespace
}  // namespace quorrin
