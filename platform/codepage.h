#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The two code-page calls the conversion routines are built on, with the
// conventions those routines rely on: a length of -1 means "zero-terminated,
// terminator included"; a capacity of 0 measures and writes nothing; the
// result is the number of units (or bytes) written or measured, and 0 means
// failure, including a buffer too small for the whole result. Bytes the
// source code page cannot decode, and characters the target lacks, become
// the replacement character; they never fail the call.
namespace quorrin {

inline constexpr unsigned kCodePageAnsi = 0;  // the ANSI code page, which is 936 here
inline constexpr unsigned kCodePageGbk = 936;
inline constexpr unsigned kCodePageUtf8 = 65001;

// Precompose a base character and a following combining mark where the
// target code page has the composed character.
inline constexpr unsigned kCompositeCheck = 0x200;

int multiByteToWideChar(unsigned codePage, unsigned flags, const char* narrow, int length,
                        char16_t* wide, int capacity);

int wideCharToMultiByte(unsigned codePage, unsigned flags, const char16_t* wide, int length,
                        char* narrow, int capacity);

// Whole-string forms of the two calls, for code that needs no Windows
// conventions: every byte (zeros included) or unit is converted, into a
// buffer sized for the worst case in one pass. Empty in gives empty out.
// `flags` go to wideCharToMultiByte as they are.
[[nodiscard]] std::u16string toUtf16(unsigned codePage, std::string_view narrow);
[[nodiscard]] std::string fromUtf16(unsigned codePage, std::u16string_view wide,
                                    unsigned flags = 0);

}  // namespace quorrin
