#pragma once

#include <cstddef>
#include <string_view>

// Quick paths into and out of code page 936 for what texts are mostly made
// of: ASCII and characters of the Basic Multilingual Plane that map one to
// one. Each character comes out as ICU's windows-936-2000 converter gives it
// on its own (a substitute, or nothing for an ignorable character, where
// that is what the converter gives), read from the tables of gbk_tables.h.
//
// Each converts from the start of its input up to the first character it
// does not take, or until the output is full, and answers how much input it
// used. That always ends on a character boundary, so a converter can take
// over from there with a fresh state and the joined result is the
// converter's own.
namespace quorrin::gbk {

// UTF-8 (well-formed sequences of one to three bytes) to code page 936,
// written to `out`, at most `capacity` bytes; `written` tells how many.
[[nodiscard]] std::size_t fromUtf8(std::string_view utf8, char* out, std::size_t capacity,
                                   std::size_t& written);

// Code page 936 (ASCII bytes and lead-trail pairs) to UTF-16 units, written
// to `out`, at most `capacity` of them; `written` tells how many.
[[nodiscard]] std::size_t toUnits(std::string_view narrow, char16_t* out, std::size_t capacity,
                                  std::size_t& written);

// UTF-16 units (no surrogates) to code page 936, written to `out`, at most
// `capacity` bytes; `written` tells how many.
[[nodiscard]] std::size_t fromUnits(std::u16string_view wide, char* out, std::size_t capacity,
                                    std::size_t& written);

}  // namespace quorrin::gbk
