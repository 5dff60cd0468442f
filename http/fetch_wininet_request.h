#pragma once

#include <cstdint>

#include "platform/text.h"

// The request side of the WinInet fetch: what it derives from its arguments
// before anything is sent.
namespace quorrin::wininet_fetch {

// The agent: the value of a "User-Agent:" line in `extraHeaders`, found
// case-insensitively; when the case-sensitive cut finds nothing, everything
// after the first colon of `extraHeaders`; without such a line the default.
[[nodiscard]] Text userAgent(const Text& extraHeaders);

// The request flag word.
[[nodiscard]] std::uint32_t requestFlags(bool cookiesSupplied, bool noRedirect, bool secure);

// The header block sent: `extraHeaders` with Accept, Referer,
// Accept-Language and Content-Type lines added where the block lacks them,
// and a Cookie line when `cookies` is not empty.
[[nodiscard]] Text headerBlock(const Text& extraHeaders, const Text& url, const Text& cookies);

}  // namespace quorrin::wininet_fetch
