#pragma once

#include <optional>

#include "platform/text.h"

// The text operations every routine is written with. Positions are 1-based
// byte positions, lengths are byte counts, and a search that finds nothing
// answers -1. A byte of 0x80 or more starts a two-byte character; searches
// never begin a match on the second byte of one.
namespace quorrin {

// First occurrence of `sub` at or after `start`. A start below 1 means 1; a
// start past the end gives -1. The walk pairs bytes from `start` on. An empty
// `sub` gives 1 when the searched part is not empty.
[[nodiscard]] int findText(const Text& t, const Text& sub, int start = 1, bool ignoreCase = false);

// Last occurrence lying wholly in the first start-1 bytes; anywhere when
// `start` is omitted or past the end.
[[nodiscard]] int findTextReverse(const Text& t, const Text& sub,
                                  std::optional<int> start = std::nullopt,
                                  bool ignoreCase = false);

[[nodiscard]] Text leftText(const Text& t, int n);
[[nodiscard]] Text rightText(const Text& t, int n);
[[nodiscard]] Text midText(const Text& t, int start, int n);

inline constexpr int kAllOccurrences = -1;

// One pass from `start`: each match becomes `replacement` and the scan
// resumes after it. A negative count replaces all; an empty `old` changes
// nothing.
[[nodiscard]] Text replaceSubtext(const Text& t, const Text& old, const Text& replacement = {},
                                  int start = 1, int count = kAllOccurrences,
                                  bool caseSensitive = true);

// Pieces between delimiters, empty ones included, but the piece after the
// last delimiter only when it is not empty.
[[nodiscard]] TextArray splitText(const Text& t, const Text& delimiter);

// Remove the ASCII space and the full-width space (A1 A1); tabs and line
// breaks stay.
[[nodiscard]] Text trimBothEnds(const Text& t);
[[nodiscard]] Text removeAllSpaces(const Text& t);

// ASCII letters only; the second byte of a two-byte character is left alone.
[[nodiscard]] Text toUpper(const Text& t);
[[nodiscard]] Text toLower(const Text& t);

// Leading white space, an optional sign, then decimal digits up to the first
// other byte; full-width digits and signs count as ASCII ones. No digit gives
// 0; a value beyond 32 bits is held at the nearest limit.
[[nodiscard]] int toInt(const Text& t);
[[nodiscard]] Text toText(int n);
// Upper-case hexadecimal, no prefix or leading zeros; negatives as 32-bit
// two's complement.
[[nodiscard]] Text toHexText(int n);
[[nodiscard]] Text charFromCode(int byte);
[[nodiscard]] Text blankText(int n);

// Below, equal to or above 0, comparing unsigned bytes.
[[nodiscard]] int compareText(const Text& a, const Text& b, bool caseSensitive = true);
[[nodiscard]] inline int textLength(const Text& t) { return t.length(); }

[[nodiscard]] ByteSet toBytes(const Text& t);
// Reads a text out of bytes: up to the first zero byte.
[[nodiscard]] Text toText(const ByteSet& bytes);
[[nodiscard]] inline int bytesLength(const ByteSet& b) { return b.length(); }
[[nodiscard]] ByteSet bytesLeft(const ByteSet& b, int n);
[[nodiscard]] ByteSet blankBytes(int n);
[[nodiscard]] ByteSet pointerToBytes(const void* address, int n);

}  // namespace quorrin
