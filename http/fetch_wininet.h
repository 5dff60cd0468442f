#pragma once

#include "platform/text.h"
#include "platform/wininet.h"
#include "platform/wininet_curl.h"

namespace quorrin {

// The agent sent when the extra headers name none.
inline constexpr const char* kWinInetDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Sends one request through WinInet and returns the response body as raw
// bytes, empty when the request could not be opened or nothing arrived.
//
// `method`: 0 GET, 1 POST, 2 HEAD; any other value is GET. `postData` is the
// body as text, used only when `postBytes` is empty; GET sends no body.
//
// The pointer parameters are the by-reference arguments; nullptr means the
// argument was omitted.
// - `cookies` (in/out): supplying it, even empty, turns WinInet's own cookie
//   handling off, sends it as a Cookie line when not empty, and receives the
//   received cookies merged into it.
// - `returnedCookies` (out): the cookies the server set ("a=1; b=2"), or the
//   merged string when `cookies` was supplied.
// - `extraHeaders` (in/out): extra request lines separated by CRLF, without a
//   final CRLF; receives the whole header block that was sent, default lines
//   added.
// - `returnedHeaders` (out): the raw response header block, each line closed
//   by CRLF; empty when no response arrived.
// - `postBytes` (in/out): the body as bytes; when empty for POST or HEAD it
//   receives the bytes of `postData`.
// `noRedirect` keeps redirects from being followed. `proxy` is a proxy server
// in WinInet's proxy-list syntax; empty means a direct connection.
// `winInet` is the platform layer, replaceable in tests.
ByteSet fetchWinInet(const Text& url, int method = 0, const Text& postData = {},
                     Text* cookies = nullptr, Text* returnedCookies = nullptr,
                     Text* extraHeaders = nullptr, Text* returnedHeaders = nullptr,
                     bool noRedirect = false, ByteSet* postBytes = nullptr, const Text& proxy = {},
                     const WinInet& winInet = defaultWinInet());

}  // namespace quorrin
