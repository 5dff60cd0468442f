#pragma once

#include <optional>

#include "platform/text.h"

// Keeping a caller's cookie string up to date with the cookies a server set.
// A cookie string is items "name=value" separated by ";"; names compare
// exactly and attributes such as path or expiry play no part.
namespace quorrin {

// Drops the spaces of both strings (both variables are written), then, when
// the server set anything, overwrites the values of cookies already present
// (the first of equal names), appends new ones, and writes `cookies` back as
// "name=value;" items, leaving out empty names, empty values and the value
// "deleted". Returns a copy of the final `cookies`.
Text mergeCookies(Text& cookies, Text& returnedCookies);

// The part of `item` before its first "=" (all of it without one), trimmed.
[[nodiscard]] Text cookieName(const Text& item);

// The part of `item` after its first "=", untrimmed; empty without one.
[[nodiscard]] Text cookieValue(const Text& item);

// Every "Set-Cookie" in any letter case written "Set-Cookie".
[[nodiscard]] Text withCookieNamesAligned(const Text& headers);

// The cookie item of a header line that holds "Set-Cookie": the text between
// "Set-Cookie:" and the first ";", or the whole line without "Set-Cookie:"
// when it has no ";", trimmed. Nothing for any other line.
[[nodiscard]] std::optional<Text> cookieItem(const Text& line);

}  // namespace quorrin
