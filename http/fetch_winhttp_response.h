#pragma once

#include <memory>
#include <optional>

#include "http/cookies.h"
#include "platform/text.h"
#include "platform/winhttp.h"
#include "text/regex_matcher.h"

// The response side of the WinHttp fetch: reading the body and the raw
// headers, and what it derives from them.
namespace quorrin::winhttp_fetch {

struct Body {
    ByteSet bytes;
    bool readFailed = false;  // a read failed; the bytes are those read before
};

// Reads chunk after chunk for as long as data is reported available. A
// failed availability query ends the body as if it were complete.
[[nodiscard]] Body readBody(WinHttpRequest& request);

// The raw header block as code-page-936 text, after a size query; nothing
// when the headers cannot be read.
[[nodiscard]] std::optional<Text> rawHeaderText(WinHttpRequest& request);

// The status line from byte 10 (past "HTTP/1.1 ") up to its line break.
[[nodiscard]] Text statusOf(const Text& headers);

struct Harvest {
    Text cookies;                  // "a=1; b=2"
    std::optional<Text> location;  // the value of the last Location line
};

// The cookie items and the Location value of the header lines, letting the
// window runtime process its pending events after each line.
[[nodiscard]] Harvest harvest(const Text& headers);

// The matcher set up for the meta tag's charset (case ignored, multiline,
// global), compiled once and shared read-only by every fetch on any thread.
[[nodiscard]] const std::shared_ptr<const RegexEngine>& charsetEngine();

// The page text: the body's bytes up to the first zero byte, or the body
// decoded by the character set that the first 1024 bytes of that text
// declare in a meta tag, when that set is neither "gbk" nor "gb2312" and can
// be decoded.
[[nodiscard]] Text pageText(const ByteSet& body, RegexMatcher& matcher);

}  // namespace quorrin::winhttp_fetch
