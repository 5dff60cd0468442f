#pragma once

#include "platform/text.h"

// Percent-encoding of keywords for the site's addresses, and its undoing
// over whole pages.
namespace quorrin {

// Every byte as "%" and two upper-case hexadecimal digits; with `keepSafe`
// the bytes "-", ".", digits and ASCII letters pass unchanged. With `utf8`
// the UTF-8 bytes of `plain` are encoded instead of its code-page-936 bytes.
[[nodiscard]] Text urlEncode(const Text& plain, bool keepSafe = false, bool utf8 = false);

// Each "%" with two hexadecimal digits (either case) becomes its byte, %00
// none; every other byte, a "%" without two digits after it included, is
// copied as it stands ("+" stays "+"). With `utf8` the decoded bytes are read
// as UTF-8 and converted to code page 936 in one go, so the escapes of one
// character are joined first.
[[nodiscard]] Text urlDecode(const Text& encoded, bool utf8 = false);

}  // namespace quorrin
