#include "http/fetch_winhttp_request.h"

#include <array>
#include <limits>

#include "platform/codepage.h"
#include "platform/text_ops.h"

namespace quorrin::winhttp_fetch {
namespace {

constexpr int kDefaultTimeoutMs = 30000;
constexpr int kMsPerSecond = 1000;

struct DefaultLine {
    const char* presence;
    bool ignoreCase;
    const char* line;
};

constexpr std::array kDefaultLines{
    DefaultLine{"User-Agent: ", true,
                "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
                "Trident/5.0)\r\n"},
    DefaultLine{"Accept: ", true, "Accept: text/html, application/xhtml+xml, */*\r\n"},
    DefaultLine{"Accept-Encoding: ", true, "Accept-Encoding: gbk, GB2312\r\n"},
    DefaultLine{"Accept-Language: ", true, "Accept-Language: zh-cn\r\n"},
    DefaultLine{"Content-Type:", false, "Content-Type: application/x-www-form-urlencoded\r\n"},
    DefaultLine{"Cache-Control: ", true, "Cache-Control: no-cache\r\n"},
};

}  // namespace

std::u16string utf16(const Text& text) {
    // A text holds no zero byte, so its view is the whole zero-terminated string.
    return toUtf16(kCodePageGbk, text.view());
}

std::u16string verbFor(int method) {
    static constexpr std::array<const char16_t*, 4> kVerbs{u"GET", u"POST", u"HEAD", u"PUT"};
    return (method < 0 || method > 3) ? kVerbs[0] : kVerbs[static_cast<std::size_t>(method)];
}

int timeoutMs(int timeoutSeconds) {
    if (timeoutSeconds <= 0) {
        return kDefaultTimeoutMs;
    }
    // A count of seconds too large for the milliseconds is held at the limit
    // instead of wrapping round to a negative time-out.
    constexpr int kLargest = std::numeric_limits<int>::max();
    return timeoutSeconds > kLargest / kMsPerSecond ? kLargest : timeoutSeconds * kMsPerSecond;
}

std::u16string objectName(const UrlComponents& parts) {
    return (parts.urlPath.empty() ? u"/" : parts.urlPath) + parts.extraInfo;
}

Text headerBlock(const Text& extraHeaders, const Text& cookies) {
    Text block = extraHeaders.empty() ? Text() : extraHeaders + "\r\n";
    for (const DefaultLine& d : kDefaultLines) {
        if (findText(block, d.presence, 1, d.ignoreCase) == -1) {
            block += d.line;
        }
    }
    if (!cookies.empty() && findText(block, "Cookie: ", 1, true) == -1) {
        block += Text("Cookie: ") + cookies + "\r\n";
    }
    return block;
}

}  // namespace quorrin::winhttp_fetch
