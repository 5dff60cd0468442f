#pragma once

#include "platform/text.h"
#include "platform/wininet.h"

// The response side of the WinInet fetch.
namespace quorrin::wininet_fetch {

// The body, read in chunks of at most 1024 bytes until a read gives none.
[[nodiscard]] ByteSet readBody(InternetRequest& request);

// The raw response header block, whatever its size, with every "Set-Cookie"
// in any letter case spelled "Set-Cookie"; empty when no response arrived.
[[nodiscard]] Text responseHeaders(InternetRequest& request);

// The name=value of every Set-Cookie line, joined by "; ".
[[nodiscard]] Text harvestCookies(const Text& headers);

}  // namespace quorrin::wininet_fetch
