#include "http/fetch_winhttp_response.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/com_apartment.h"

namespace quorrin::winhttp_fetch {
namespace {

TEST(WinHttpResponseHeaders, StatusTextLeavesOutTheProtocol) {
    EXPECT_EQ(statusOf("HTTP/1.1 200 OK\r\nA: b\r\n\r\n").str(), "200 OK");
    EXPECT_EQ(statusOf("HTTP/1.1 404 Not Found\r\n\r\n").str(), "404 Not Found");
    EXPECT_EQ(statusOf("HTTP/1.1 204\r\n").str(), "204");
    EXPECT_EQ(statusOf("HTTP/1.1").str(), "");
}

struct HarvestCase {
    const char* name;
    std::string headers;
    std::string cookies;
    std::optional<std::string> location;
};

TEST(WinHttpResponseHeaders, HarvestsCookiesAndTheRedirectTarget) {
    const std::vector<HarvestCase> cases{
        {"two cookies in any case",
         "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nset-cookie: b=2\r\n\r\n", "a=1; b=2",
         std::nullopt},
        {"no cookie", "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n", "", std::nullopt},
        {"a line that only mentions the name", "HTTP/1.1 200 OK\r\nX-Set-Cookie-Info: v\r\n\r\n",
         "X-Set-Cookie-Info: v", std::nullopt},
        {"location in lower case", "HTTP/1.1 302 Found\r\nlocation: /next\r\n\r\n", "", "/next"},
        {"content location is not one", "HTTP/1.1 200 OK\r\nContent-Location: /x\r\n\r\n", "",
         std::nullopt},
        {"the last location counts", "HTTP/1.1 302 Found\r\nLocation: /a\r\nLocation: /b\r\n\r\n",
         "", "/b"},
    };
    for (const HarvestCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Harvest found = harvest(withCookieNamesAligned(Text(c.headers)));
        EXPECT_EQ(found.cookies.str(), c.cookies);
        ASSERT_EQ(found.location.has_value(), c.location.has_value());
        if (found.location) {
            EXPECT_EQ(found.location->str(), *c.location);
        }
    }
    EXPECT_EQ(withCookieNamesAligned("set-cookie: a\r\nSET-COOKIE: b\r\n").str(),
              "Set-Cookie: a\r\nSet-Cookie: b\r\n");
}

struct PageCase {
    const char* name;
    std::string body;
    std::string expected;
};

TEST(WinHttpPageText, DecodesByTheDeclaredCharacterSet) {
    const std::string utf8Tag = "<meta charset=\"utf-8\">";
    const std::string chinese = "\xE4\xB8\xAD";  // U+4E2D in UTF-8, D6 D0 in code page 936
    const std::vector<PageCase> cases{
        {"utf-8 page", utf8Tag + chinese, utf8Tag + "\xD6\xD0"},
        {"tag in upper case, name kept", "<META CHARSET=UTF-8>" + chinese,
         "<META CHARSET=UTF-8>\xD6\xD0"},
        {"tag after byte 1024 is not seen", std::string(1024, ' ') + utf8Tag + chinese,
         std::string(1024, ' ') + utf8Tag + chinese},
        {"gbk stays raw", "<meta charset=gbk>\xD6\xD0", "<meta charset=gbk>\xD6\xD0"},
        {"gb2312 stays raw", "<meta charset=gb2312>\xD6\xD0", "<meta charset=gb2312>\xD6\xD0"},
        {"GBK goes through the stream", "<meta charset=GBK>\xD6\xD0", "<meta charset=GBK>\xD6\xD0"},
        {"big5 decoded", "<meta charset=big5>\xA4\xA4", "<meta charset=big5>\xD6\xD0"},
        {"unknown set keeps the raw text", "<meta charset=x-none>" + chinese,
         "<meta charset=x-none>" + chinese},
        {"tag broken by a line feed", "<meta\ncharset=utf-8>" + chinese,
         "<meta\ncharset=utf-8>" + chinese},
        {"zero byte ends a raw page", std::string("ab\0cd", 5), "ab"},
        // The stream decodes what stands before the zero byte; the text ends there too.
        {"zero byte after a declared set", utf8Tag + chinese + std::string(1, '\0') + chinese,
         utf8Tag + "\xD6\xD0"},
        {"empty body", "", ""},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        EXPECT_EQ(pageText(ByteSet(c.body), matcher).str(), c.expected);
        EXPECT_EQ(comInitCount(), 1);  // the matcher's alone once the step is over
    }
}

}  // namespace
}  // namespace quorrin::winhttp_fetch
