#include "platform/winhttp_url.h"

#include <algorithm>

namespace quorrin {
namespace {

constexpr int kHttpPort = 80;
constexpr int kHttpsPort = 443;
constexpr int kMaxPort = 65535;

bool equalsIgnoringCase(std::u16string_view text, std::u16string_view lower) {
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(), [](char16_t a, char16_t b) {
               return (a >= u'A' && a <= u'Z' ? static_cast<char16_t>(a + 32) : a) == b;
           });
}

std::optional<int> portNumber(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 5) {
        return std::nullopt;
    }
    int port = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        port = port * 10 + (c - u'0');
    }
    if (port < 1 || port > kMaxPort) {
        return std::nullopt;
    }
    return port;
}

}  // namespace

std::optional<UrlComponents> crackHttpUrl(std::u16string_view url) {
    const std::size_t schemeEnd = url.find(u"://");
    if (schemeEnd == std::u16string_view::npos) {
        return std::nullopt;
    }
    UrlComponents parts;
    const std::u16string_view scheme = url.substr(0, schemeEnd);
    if (equalsIgnoringCase(scheme, u"http")) {
        parts.scheme = INTERNET_SCHEME_HTTP;
        parts.port = kHttpPort;
    } else if (equalsIgnoringCase(scheme, u"https")) {
        parts.scheme = INTERNET_SCHEME_HTTPS;
        parts.port = kHttpsPort;
    } else {
        return std::nullopt;
    }
    parts.schemeName = scheme;

    const std::u16string_view rest = url.substr(schemeEnd + 3);
    const std::size_t authorityEnd = std::min(rest.find_first_of(u"/?#"), rest.size());
    std::u16string_view authority = rest.substr(0, authorityEnd);
    const std::size_t at = authority.rfind(u'@');
    if (at != std::u16string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    std::size_t hostEnd = authority.size();
    if (authority.starts_with(u'[')) {
        const std::size_t close = authority.find(u']');
        if (close == std::u16string_view::npos) {
            return std::nullopt;
        }
        hostEnd = close + 1;
        if (hostEnd < authority.size() && authority[hostEnd] != u':') {
            return std::nullopt;
        }
    } else {
        hostEnd = std::min(authority.find(u':'), authority.size());
    }
    parts.hostName = authority.substr(0, hostEnd);
    if (parts.hostName.empty()) {
        return std::nullopt;
    }
    if (hostEnd < authority.size()) {
        const std::u16string_view digits = authority.substr(hostEnd + 1);
        if (!digits.empty()) {
            const std::optional<int> port = portNumber(digits);
            if (!port) {
                return std::nullopt;
            }
            parts.port = *port;
        }
    }

    const std::u16string_view tail = rest.substr(authorityEnd);
    const std::size_t extraStart = std::min(tail.find_first_of(u"?#"), tail.size());
    parts.urlPath = tail.substr(0, extraStart);
    parts.extraInfo = tail.substr(extraStart);
    return parts;
}

}  // namespace quorrin
