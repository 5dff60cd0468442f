#include "http/fetch_wininet_response.h"

#include <algorithm>
#include <array>
#include <string>

#include "http/cookies.h"
#include "platform/text_ops.h"

namespace quorrin::wininet_fetch {

namespace {

constexpr std::uint32_t kChunkSize = 1024;
// Most header blocks fit the first buffer; a longer one is fetched again
// at the size the query asks for, up to a bound no real server comes near.
constexpr std::uint32_t kHeaderBufferSize = 5000;
constexpr std::uint32_t kHeaderSizeLimit = 16U << 20;

}  // namespace

ByteSet readBody(InternetRequest& request) {
    ByteSet body;
    std::array<char, kChunkSize> buffer{};
    for (;;) {
        const std::uint32_t got = std::min(request.read(buffer), kChunkSize);
        if (got == 0) {
            return body;
        }
        body.append(std::string_view(buffer.data(), got));
    }
}

Text responseHeaders(InternetRequest& request) {
    std::string buffer(kHeaderBufferSize, ' ');
    std::uint32_t length = kHeaderBufferSize;
    if (!request.queryRawHeaders(buffer, length)) {
        // A block that did not fit reports the size it needs; any other
        // failure means no response arrived.
        if (length <= kHeaderBufferSize || length > kHeaderSizeLimit) {
            return {};
        }
        buffer.assign(length, ' ');
        if (!request.queryRawHeaders(buffer, length)) {
            return {};
        }
    }
    const Text block(
        std::string_view(buffer).substr(0, std::min<std::size_t>(length, buffer.size())));
    return withCookieNamesAligned(block);
}

Text harvestCookies(const Text& headers) {
    Text harvested;
    const TextArray lines = splitText(headers, "\r\n");
    for (const Text& line : lines.items()) {
        if (const std::optional<Text> item = cookieItem(line)) {
            harvested += *item + "; ";
        }
    }
    return leftText(harvested, textLength(harvested) - 2);
}

}  // namespace quorrin::wininet_fetch
