#pragma once

#include "platform/text.h"
#include "platform/winhttp.h"
#include "platform/winhttp_curl.h"

namespace quorrin {

// Sends one request through WinHttp and returns the response body as
// code-page-936 text: decoded by the character set a meta tag in its first
// 1024 bytes declares (other than "gbk" and "gb2312"), else its bytes up to
// the first zero byte. Empty on every failure.
//
// `method`: 0 GET, 1 POST, 2 HEAD, 3 PUT; any other value is GET. `postData`
// is the body, sent with every verb. `extraHeaders` are extra request lines
// separated by CRLF, without a final CRLF; default lines are added where
// the block lacks them. `noRedirect` keeps redirects from being followed.
// `userName`/`password` and `proxyUserName`/`proxyPassword` are Basic
// credentials, used when both halves are given. `proxy` is a proxy server in
// WinHttp's proxy-list syntax; empty means none. `timeoutSeconds` of 0 or
// less means 30 seconds.
//
// The pointer parameters are the by-reference arguments; nullptr means the
// argument was omitted.
// - `cookies` (in/out): sent in a Cookie line; supplying it, even empty,
//   makes the received cookies merge into it.
// - `returnedCookies` (out): the cookies the server set ("a=1; b=2"), without
//   spaces when `cookies` was supplied.
// - `returnedHeaders` (out): the raw response header block.
// - `redirectLocation` (out): the response's Location value, when it has one.
// - `statusText` (out): the status without its protocol ("200 OK"), or a
//   numbered failure text.
// - `bodyBytes` (out): the raw body.
// On a failure before the response headers are read, only `statusText`
// changes. `winHttp` is the platform layer, replaceable in tests. The call
// leaves the COM apartment of its thread as it found it.
Text fetchWinHttp(const Text& url, int method = 0, const Text& postData = {},
                  Text* cookies = nullptr, Text* returnedCookies = nullptr,
                  const Text& extraHeaders = {}, Text* returnedHeaders = nullptr,
                  bool noRedirect = false, const Text& userName = {}, const Text& password = {},
                  const Text& proxy = {}, const Text& proxyUserName = {},
                  const Text& proxyPassword = {}, int timeoutSeconds = 0,
                  Text* redirectLocation = nullptr, Text* statusText = nullptr,
                  ByteSet* bodyBytes = nullptr, const WinHttp& winHttp = defaultWinHttp());

}  // namespace quorrin
