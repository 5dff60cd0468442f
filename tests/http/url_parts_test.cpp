#include "http/url_parts.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace quorrin {
namespace {

struct AddressCase {
    const char* url;
    const char* host;
    const char* hostWithPort;
    int port;
    const char* path;
};

TEST(UrlParts, TakesEveryAddressApart) {
    const std::vector<AddressCase> cases = {
        {"HTTP://Aa.Bb.CC:8080/P/q?k=V", "aa.bb.cc", "aa.bb.cc:8080", 8080, "/P/q?k=V"},
        {"https://bb.cc", "bb.cc", "bb.cc", 443, "/"},
        {"bb.cc/x", "bb.cc", "bb.cc", 80, "/x"},
        {"http://bb.cc?q=1", "bb.cc?q=1", "bb.cc?q=1", 80, "/"},
        // The first "http://" anywhere names the host.
        {"aa.cc/?u=http://bb.cc/", "bb.cc", "bb.cc", 80, "/"},
        {"HTTPS://Aa.CC:8443", "aa.cc", "aa.cc:8443", 8443, "/"},
        {"https://aa.cc/A#Frag", "aa.cc", "aa.cc", 443, "/A#Frag"},
        {"http://aa:/", "aa", "aa:", 0, "/"},
        {"http://aa:x/", "aa", "aa:x", 0, "/"},
        // No scheme, host beginning with "https": the default port is 443.
        {"httpsaa.cc/x", "httpsaa.cc", "httpsaa.cc", 443, "/x"},
        {"", "", "", 80, "/"},
    };
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(urlHost(c.url), Text(c.host));
        EXPECT_EQ(urlHost(c.url, false, true), Text(c.hostWithPort));
        EXPECT_EQ(urlPort(c.url), c.port);
        EXPECT_EQ(urlPath(c.url), Text(c.path));
    }
}

struct HostModeCase {
    const char* name;
    const char* url;
    bool baseDomain;
    bool keepPort;
    std::optional<int> labelCount;
    const char* expected;
};

TEST(UrlHost, StandardAndCountedModes) {
    const std::vector<HostModeCase> cases = {
        {"base domain of a bare host", "aa.bb.cc", true, false, std::nullopt, "bb.cc"},
        {"base domain with scheme and port", "http://aa.bb.cc:8080/", true, false, std::nullopt,
         "bb.cc"},
        {"base domain keeps the port when asked", "http://aa.bb.cc:8080/", true, true, std::nullopt,
         "bb.cc:8080"},
        {"base domain of a host without dot", "aa", true, false, std::nullopt, "aa"},
        {"counted 0 base domain", "aa.bb.cc", true, false, 0, "cc"},
        {"counted 0", "aa.bb.cc", false, false, 0, "bb.cc"},
        {"counted 1 base domain", "aa.bb.cc", true, false, 1, "bb.cc"},
        {"counted 1", "aa.bb.cc", false, false, 1, "aa.bb.cc"},
        {"counted negative acts as 0", "aa.bb.cc", false, false, -3, "bb.cc"},
        {"counted beyond the labels", "a.b.c", true, false, 5, "a.b.c"},
        {"counted beyond the labels without base domain", "a.b.c", false, false, 5, "a.b.c"},
        {"counted strips every scheme and the path", "aa.cc/?u=http://bb.cc/", true, false, 0,
         "cc"},
        {"counted with scheme and port", "HTTPS://x.Aa.bb.cc:81/p", false, false, 0, "bb.cc"},
        {"counted keeps the port when asked", "https://x.aa.bb.cc:81/p", false, true, 0,
         "bb.cc:81"},
        {"counted host without dot", "cc", true, false, 0, "cc"},
        // A dot in the last byte is never a separator.
        {"counted trailing dot base domain", "aa.bb.", true, false, 0, "bb."},
        {"counted trailing dot", "aa.bb.", false, false, 0, "aa.bb."},
    };
    for (const HostModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(urlHost(c.url, c.baseDomain, c.keepPort, c.labelCount), Text(c.expected));
    }
}

TEST(TextAfterColon, TrimsTheTextAfterTheFirstColon) {
    struct Case {
        const char* name;
        const char* input;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"header line", "User-Agent:  X1 ", "X1"},
        {"no colon", "User-Agent X1", ""},
        {"later colons stay", "a:b:c", "b:c"},
        {"colon alone", ":", ""},
        {"full-width spaces trimmed", "k:\xA1\xA1v\xA1\xA1", "v"},
        {"tab stays", "k:\tv", "\tv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textAfterColon(c.input), Text(c.expected));
    }
}

}  // namespace
}  // namespace quorrin
