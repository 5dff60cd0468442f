#pragma once

#include <string>

#include "http/proxy_name.h"
#include "platform/text.h"
#include "platform/winhttp.h"

// The request side of the WinHttp fetch: what it derives from its arguments
// before anything is sent.
namespace quorrin::winhttp_fetch {

// A code-page-936 text as UTF-16, for the platform layer.
[[nodiscard]] std::u16string utf16(const Text& text);

// "GET", "POST", "HEAD" or "PUT" for `method` 0 to 3; "GET" for any other.
[[nodiscard]] std::u16string verbFor(int method);

// Milliseconds for all four time-outs: 30000 for 0 or less seconds, and at
// most the largest 32-bit value.
[[nodiscard]] int timeoutMs(int timeoutSeconds);

// The path and extra information as they stand in the address; "/" leads a
// path that is empty, so an address of host and query keeps its query.
[[nodiscard]] std::u16string objectName(const UrlComponents& parts);

// `extraHeaders` and CRLF, then each default line whose presence test finds
// nothing in the block built so far, and a Cookie line for a non-empty
// `cookies` when the block has none.
[[nodiscard]] Text headerBlock(const Text& extraHeaders, const Text& cookies);

}  // namespace quorrin::winhttp_fetch
