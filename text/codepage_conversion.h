#pragma once

#include "platform/codepage.h"
#include "platform/text.h"

// Conversions between code page 936, UTF-8 and UTF-16. Wide text is UTF-16
// little-endian units in a ByteSet, two bytes a unit, on every host; a
// zero-terminated wide text ends with one zero unit that counts in its
// length. None of these fails: bytes the source cannot decode and characters
// the target lacks become the replacement character.
namespace quorrin {

// `narrow` read in `codePage`, as a zero-terminated wide text.
[[nodiscard]] ByteSet ansiToWide(const Text& narrow, unsigned codePage = kCodePageUtf8);

// The wide text up to its first zero unit (or all its whole units when it
// has none), in `codePage`.
[[nodiscard]] Text wideToAnsi(const ByteSet& wide, unsigned codePage = kCodePageAnsi);

// Code page 936 to UTF-8 bytes, and back.
[[nodiscard]] Text gbkToUtf8(const Text& narrow);
[[nodiscard]] Text utf8ToGbk(const Text& narrow);
// The same, releasing `narrow` as soon as it has been read: a decoded page
// then leaves its memory to the converted one.
[[nodiscard]] Text utf8ToGbk(Text&& narrow);

// Code page 936 to wide text, zero-terminated unless `dropTerminator`. An
// empty text gives no bytes at all.
[[nodiscard]] ByteSet gbkToWide(const Text& narrow, bool dropTerminator = false);

// The whole units of `wide` (an odd last byte is ignored), with or without a
// terminator, to code page 936 with composite check; stops at a zero unit.
[[nodiscard]] Text wideToGbk(const ByteSet& wide);

}  // namespace quorrin
