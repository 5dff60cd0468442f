#pragma once

// How the text operations read single bytes, shared by the operations and
// the search under them so the two never disagree.
namespace quorrin::text_bytes {

// A byte of 0x80 or more starts a two-byte character (wider than code page
// 936's lead range, as the text operations have always read it).
inline constexpr bool isLead(unsigned char c) {
    return c >= 0x80;
}

// An ASCII capital letter as its small letter; any other byte as it is.
inline constexpr unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace quorrin::text_bytes
