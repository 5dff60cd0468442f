#pragma once

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

}  // namespace quorrin
