#pragma once

#include <optional>

#include "platform/text.h"

namespace quorrin {

// The text stream a page body goes through when the page declares its
// character set: every byte of `bytes` (zero bytes included) is read in the
// set named `charset` and the result comes back as code-page-936 text.
//
// `charset` is a label as pages write it ("utf-8", "Big5", "iso-8859-1",
// "GBK", ...), matched without regard to case or punctuation. "gb2312" is
// read as code page 936 and the ISO-8859-1 labels as windows-1252, as the
// Windows charset database reads them, since pages so labelled carry those
// pages' extra characters. A character code page 936 lacks becomes "?".
// The text ends before the first U+0000 of the decoded characters: a `Text`
// holds no zero byte, and a raw body is cut at its first zero byte alike.
//
// Nothing when the set is not known or the label is not a plain label
// (letters, digits and "-_.:" only, at most 64 bytes): the caller then keeps
// its own reading of the bytes.
[[nodiscard]] std::optional<Text> readStreamText(const ByteSet& bytes, const Text& charset);

}  // namespace quorrin
