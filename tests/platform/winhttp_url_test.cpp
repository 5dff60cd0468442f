#include "platform/winhttp_url.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quorrin {
namespace {

struct CrackCase {
    const char* name;
    std::u16string url;
    std::optional<UrlComponents> expected;
};

UrlComponents parts(int scheme, std::u16string schemeName, std::u16string host, int port,
                    std::u16string path, std::u16string extra) {
    return UrlComponents{scheme, std::move(schemeName), std::move(host),
                         port,   std::move(path),       std::move(extra)};
}

TEST(CrackHttpUrl, TakesAddressesApartAsTheyStand) {
    const std::vector<CrackCase> cases{
        {"scheme and host alone", u"http://example.com",
         parts(INTERNET_SCHEME_HTTP, u"http", u"example.com", 80, u"", u"")},
        {"https default port", u"https://example.com/a/b.html",
         parts(INTERNET_SCHEME_HTTPS, u"https", u"example.com", 443, u"/a/b.html", u"")},
        {"port named", u"https://example.com:8443/x",
         parts(INTERNET_SCHEME_HTTPS, u"https", u"example.com", 8443, u"/x", u"")},
        {"scheme in upper case", u"HTTP://Example.COM/",
         parts(INTERNET_SCHEME_HTTP, u"HTTP", u"Example.COM", 80, u"/", u"")},
        {"query and fragment are extra", u"http://h/p/q?a=1&b=%E4#top",
         parts(INTERNET_SCHEME_HTTP, u"http", u"h", 80, u"/p/q", u"?a=1&b=%E4#top")},
        {"query without a path", u"http://h?q=1",
         parts(INTERNET_SCHEME_HTTP, u"http", u"h", 80, u"", u"?q=1")},
        {"fragment without a path", u"http://h:81#f",
         parts(INTERNET_SCHEME_HTTP, u"http", u"h", 81, u"", u"#f")},
        {"user and password passed over", u"http://u:p@h:8080/x",
         parts(INTERNET_SCHEME_HTTP, u"http", u"h", 8080, u"/x", u"")},
        {"ipv6 host keeps brackets", u"http://[::1]:8080/x",
         parts(INTERNET_SCHEME_HTTP, u"http", u"[::1]", 8080, u"/x", u"")},
        {"empty port is the default", u"http://h:/x",
         parts(INTERNET_SCHEME_HTTP, u"http", u"h", 80, u"/x", u"")},
        {"Chinese path", u"http://h/\u4E2D?\u6587",
         parts(INTERNET_SCHEME_HTTP, u"http", u"h", 80, u"/\u4E2D", u"?\u6587")},
        {"other scheme", u"ftp://h/x", std::nullopt},
        {"file scheme", u"file:///etc/passwd", std::nullopt},
        {"no scheme", u"example.com/x", std::nullopt},
        {"empty host", u"http:///x", std::nullopt},
        {"port not a number", u"http://h:8o/x", std::nullopt},
        {"port too large", u"http://h:65536/", std::nullopt},
        {"port zero", u"http://h:0/", std::nullopt},
        {"unclosed ipv6 host", u"http://[::1/x", std::nullopt},
        {"empty", u"", std::nullopt},
    };
    for (const CrackCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<UrlComponents> got = crackHttpUrl(c.url);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_EQ(got->scheme, c.expected->scheme);
            EXPECT_EQ(got->schemeName, c.expected->schemeName);
            EXPECT_EQ(got->hostName, c.expected->hostName);
            EXPECT_EQ(got->port, c.expected->port);
            EXPECT_EQ(got->urlPath, c.expected->urlPath);
            EXPECT_EQ(got->extraInfo, c.expected->extraInfo);
        }
    }
}

}  // namespace
}  // namespace quorrin
