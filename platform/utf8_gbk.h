#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorrin {

// The quick path of UTF-8 into code page 936 for what pages are mostly made
// of: ASCII and well-formed two- and three-byte sequences of the Basic
// Multilingual Plane. Each character is mapped as ICU's windows-936-2000
// converter maps it on its own (a character the code page lacks gives the
// same substitute, an ignorable one nothing), from a table read out of that
// converter once.
//
// Converts `utf8` from its start up to the first byte that begins anything
// else (a malformed sequence, a four-byte sequence) and appends the result
// to `out`; answers the number of bytes converted, which always ends on a
// character boundary, so a converter can take over from there with a fresh
// state. Zero bytes are converted like other ASCII bytes.
[[nodiscard]] std::size_t appendUtf8AsGbk(std::string_view utf8, std::string& out);

}  // namespace quorrin
