#include "http/fetch_winhttp_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorrin::winhttp_fetch {
namespace {

const std::string kAgent =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
const std::string kAccept = "Accept: text/html, application/xhtml+xml, */*\r\n";
const std::string kEncoding = "Accept-Encoding: gbk, GB2312\r\n";
const std::string kLanguage = "Accept-Language: zh-cn\r\n";
const std::string kContentType = "Content-Type: application/x-www-form-urlencoded\r\n";
const std::string kCache = "Cache-Control: no-cache\r\n";

struct BlockCase {
    const char* name;
    Text extraHeaders;
    Text cookies;
    std::string expected;
};

TEST(WinHttpHeaderBlock, AddsEachMissingDefaultLine) {
    const std::vector<BlockCase> cases{
        {"nothing given", {}, {}, kAgent + kAccept + kEncoding + kLanguage + kContentType + kCache},
        {"own agent in lower case",
         "user-agent: X",
         {},
         "user-agent: X\r\n" + kAccept + kEncoding + kLanguage + kContentType + kCache},
        {"content type test keeps case",
         "content-type: text/plain",
         {},
         "content-type: text/plain\r\n" + kAgent + kAccept + kEncoding + kLanguage + kContentType +
             kCache},
        {"content type in its own case",
         "Content-Type:text/plain",
         {},
         "Content-Type:text/plain\r\n" + kAgent + kAccept + kEncoding + kLanguage + kCache},
        {"presence found inside another line",
         "X-Accept: 1",
         {},
         "X-Accept: 1\r\n" + kAgent + kEncoding + kLanguage + kContentType + kCache},
        {"cookie line at the end",
         {},
         "a=1",
         kAgent + kAccept + kEncoding + kLanguage + kContentType + kCache + "Cookie: a=1\r\n"},
        {"own cookie line wins", "Cookie: b=2", "a=1",
         "Cookie: b=2\r\n" + kAgent + kAccept + kEncoding + kLanguage + kContentType + kCache},
        {"two lines given",
         "Accept: */*\r\nCache-Control: max-age=0",
         {},
         "Accept: */*\r\nCache-Control: max-age=0\r\n" + kAgent + kEncoding + kLanguage +
             kContentType},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(headerBlock(c.extraHeaders, c.cookies).str(), c.expected);
    }
}

TEST(WinHttpRequestArguments, VerbTimeoutObjectNameAndProxy) {
    EXPECT_EQ(verbFor(0), u"GET");
    EXPECT_EQ(verbFor(1), u"POST");
    EXPECT_EQ(verbFor(2), u"HEAD");
    EXPECT_EQ(verbFor(3), u"PUT");
    EXPECT_EQ(verbFor(-1), u"GET");
    EXPECT_EQ(verbFor(4), u"GET");

    EXPECT_EQ(timeoutMs(5), 5000);
    EXPECT_EQ(timeoutMs(0), 30000);
    EXPECT_EQ(timeoutMs(-3), 30000);
    EXPECT_EQ(timeoutMs(2147483), 2147483000);
    EXPECT_EQ(timeoutMs(2147484), 2147483647);  // held at the limit, not wrapped round

    EXPECT_EQ(objectName({INTERNET_SCHEME_HTTP, u"http", u"h", 80, u"/a/b", u"?q=1"}), u"/a/b?q=1");
    EXPECT_EQ(objectName({INTERNET_SCHEME_HTTP, u"http", u"h", 80, u"", u""}), u"/");
    EXPECT_EQ(objectName({INTERNET_SCHEME_HTTP, u"http", u"h", 80, u"", u"?q=1"}), u"/?q=1");

    EXPECT_EQ(proxyName("p:8080", true).str(), "p:8080");
    EXPECT_EQ(proxyName("p:8080", false).str(), "http=p:8080");
    EXPECT_EQ(proxyName({}, false).str(), "");

    EXPECT_EQ(utf16("a\xD6\xD0"), u"a\u4E2D");
    EXPECT_EQ(utf16({}), u"");
}

}  // namespace
}  // namespace quorrin::winhttp_fetch
