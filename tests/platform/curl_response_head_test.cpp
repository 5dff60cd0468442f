#include "platform/curl_response_head.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorrin {
namespace {

using Line = CurlResponseHead::Line;

struct HeadCase {
    const char* name;
    bool followsRedirects;
    std::vector<std::string> lines;  // as the header callback gets them
    std::vector<Line> kinds;
    std::string block;
};

TEST(CurlResponseHead, KeepsOnlyTheBlockOfTheResponseTheTransferEndsWith) {
    const std::vector<HeadCase> cases{
        {"one response, line ends trimmed and closed by CRLF",
         false,
         {"HTTP/1.1 200 OK\r\n", "A: 1\n", "\r\n"},
         {Line::Status, Line::Field, Line::FinalEnd},
         "HTTP/1.1 200 OK\r\nA: 1\r\n\r\n"},
        {"interim 100 passed over",
         false,
         {"HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 204 No Content\r\n", "\r\n"},
         {Line::Status, Line::PassedOverEnd, Line::Status, Line::FinalEnd},
         "HTTP/1.1 204 No Content\r\n\r\n"},
        {"followed redirect passed over, Location in any case",
         true,
         {"HTTP/1.1 302 Found\r\n", "location: /b\r\n", "\r\n", "HTTP/1.1 200 OK\r\n", "\r\n"},
         {Line::Status, Line::Field, Line::PassedOverEnd, Line::Status, Line::FinalEnd},
         "HTTP/1.1 200 OK\r\n\r\n"},
        {"redirect not followed is final",
         false,
         {"HTTP/1.1 302 Found\r\n", "Location: /b\r\n", "\r\n"},
         {Line::Status, Line::Field, Line::FinalEnd},
         "HTTP/1.1 302 Found\r\nLocation: /b\r\n\r\n"},
        {"3xx without Location is final even when following",
         true,
         {"HTTP/1.1 304 Not Modified\r\n", "\r\n"},
         {Line::Status, Line::FinalEnd},
         "HTTP/1.1 304 Not Modified\r\n\r\n"},
        {"trailers after the body stay out of the block",
         false,
         {"HTTP/1.1 200 OK\r\n", "\r\n", "X-Trailer: t\r\n", "\r\n"},
         {Line::Status, Line::FinalEnd, Line::Outside, Line::Outside},
         "HTTP/1.1 200 OK\r\n\r\n"},
        {"status line without a code",
         true,
         {"HTTP/1.1\r\n", "Location: /b\r\n", "\r\n"},
         {Line::Status, Line::Field, Line::FinalEnd},
         "HTTP/1.1\r\nLocation: /b\r\n\r\n"},
    };
    for (const HeadCase& c : cases) {
        SCOPED_TRACE(c.name);
        CurlResponseHead head(c.followsRedirects);
        std::vector<Line> kinds;
        for (const std::string& line : c.lines) {
            kinds.push_back(head.take(line));
        }
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(head.block(), c.block);
        EXPECT_EQ(head.takeBlock(), c.block);
    }
}

}  // namespace
}  // namespace quorrin
