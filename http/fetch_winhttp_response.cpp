#include "http/fetch_winhttp_response.h"

#include <string>

#include "http/cookies.h"
#include "platform/com_apartment.h"
#include "platform/pending_events.h"
#include "platform/text_ops.h"
#include "platform/text_stream.h"
#include "text/codepage_conversion.h"

namespace quorrin::winhttp_fetch {
namespace {

constexpr int kStatusStart = 10;  // after "HTTP/1.1 "
constexpr int kCharsetWindow = 1024;

const Text kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

}  // namespace

// Every page goes through the same pattern, so it is compiled once.
const std::shared_ptr<const RegexEngine>& charsetEngine() {
    static const std::shared_ptr<const RegexEngine> engine =
        RegexMatcher::prepared(kCharsetPattern);
    return engine;
}

Body readBody(WinHttpRequest& request) {
    // Each chunk is read straight onto the end of the body, not through a
    // buffer of its own.
    std::string bytes;
    const auto finished = [&bytes](bool readFailed) {
        return Body{ByteSet(std::move(bytes)), readFailed};
    };
    for (;;) {
        std::uint32_t available = 0;
        if (!request.queryDataAvailable(available) || available < 1) {
            return finished(false);
        }
        const std::size_t before = bytes.size();
        bytes.resize(before + available);
        std::uint32_t read = 0;
        const bool ok = request.readData(std::span<char>(bytes.data() + before, available), read);
        bytes.resize(before + (ok ? std::min<std::size_t>(read, available) : 0));
        if (!ok) {
            return finished(true);
        }
    }
}

std::optional<Text> rawHeaderText(WinHttpRequest& request) {
    std::uint32_t size = 0;
    (void)request.queryRawHeaders({}, size);  // learns the size; its answer is not needed
    ByteSet buffer = blankBytes(static_cast<int>(size));
    std::uint32_t length = size;
    if (!request.queryRawHeaders(std::span<char>(buffer.data(), size), length)) {
        return std::nullopt;
    }
    return wideToGbk(buffer);
}

Text statusOf(const Text& headers) {
    const int lineEnd = findText(headers, "\r\n", kStatusStart);
    return midText(headers, kStatusStart, lineEnd - kStatusStart);
}

Harvest harvest(const Text& headers) {
    Harvest found;
    const TextArray lines = splitText(headers, "\r\n");
    for (const Text& line : lines.items()) {
        if (const std::optional<Text> item = cookieItem(line)) {
            found.cookies += *item + "; ";
        }
        if (compareText(leftText(line, 10), "Location: ", false) == 0) {
            found.location = midText(line, 11, textLength(line));
        }
        processPendingEvents();
    }
    found.cookies = leftText(found.cookies, textLength(found.cookies) - 2);
    return found;
}

Text pageText(const ByteSet& body, RegexMatcher& matcher) {
    // The window is the first 1024 bytes of the text, which ends at the
    // first zero byte; the whole text is made only when it is the answer.
    const Text window(body.view().substr(0, kCharsetWindow));
    const ComApartment apartment;
    if (!matcher.execute(charsetEngine(), window)) {
        return toText(body);
    }
    const Text declared = matcher.subMatchText(1, 1);
    if (declared.empty() || declared == Text("gbk") || declared == Text("gb2312")) {
        return toText(body);
    }
    // A set the stream cannot decode leaves the raw text.
    std::optional<Text> decoded = readStreamText(body, declared);
    Text page = decoded ? std::move(*decoded) : toText(body);
    processPendingEvents();
    return page;
}

}  // namespace quorrin::winhttp_fetch
