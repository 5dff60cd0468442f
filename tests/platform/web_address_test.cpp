#include "platform/web_address.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_window_runtime.h"

namespace quorrin {
namespace {

struct AddressCase {
    const char* name;
    std::string address;
    bool web;
};

// Addresses come from a third-party page; only http and https may reach the
// browser.
TEST(WebAddress, OnlyHttpAndHttpsAddressesReachTheBrowser) {
    const std::vector<AddressCase> cases = {
        {"http", "http://pan.example.com/s/1abc", true},
        {"https with port and query", "https://pan.example.com:8443/s/1?pwd=x#top", true},
        {"scheme in capitals", "HTTPS://PAN.EXAMPLE.COM/", true},
        {"host only", "http://example.com", true},
        {"user info", "http://user@example.com/", true},
        {"non-ASCII path", "http://example.com/\xBE\xF4\xBC\xA3", true},
        {"empty", "", false},
        {"file scheme", "file:///etc/passwd", false},
        {"local path", "/usr/bin/xterm", false},
        {"windows path", "C:\\Windows\\system32\\calc.exe", false},
        {"javascript", "javascript:alert(1)", false},
        {"custom scheme", "netdisk://open?x=1", false},
        {"ftp", "ftp://example.com/file", false},
        {"scheme without slashes", "http:example.com", false},
        {"no host", "http:///path", false},
        {"only port", "http://:80/", false},
        {"user info without host", "http://user@/", false},
        {"leading space", " http://example.com/", false},
        {"line break inside", "http://example.com/\r\nX: y", false},
        {"space inside", "http://example.com/a b", false},
    };
    for (const AddressCase& row : cases) {
        SCOPED_TRACE(row.name);
        testing::FakeWindowRuntime window;

        const bool handedOn = window.openInBrowser(Text(row.address));

        EXPECT_EQ(isWebAddress(Text(row.address)), row.web);
        EXPECT_EQ(handedOn, row.web);
        const std::vector<testing::RecordedCall> calls = window.calls();
        ASSERT_EQ(calls.size(), row.web ? 1U : 0U);
        if (row.web) {
            EXPECT_EQ(calls[0].kind, testing::RecordedCall::Kind::openInBrowser);
            EXPECT_EQ(calls[0].text, Text(row.address));
        }
    }
}

}  // namespace
}  // namespace quorrin
