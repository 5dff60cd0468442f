#pragma once

#include <algorithm>
#include <string_view>

// ASCII letters compared without case, as header names, schemes and proxy
// entries are; every other byte compares as it is.
namespace quorrin {

[[nodiscard]] constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `text` begins with `prefix`.
[[nodiscard]] constexpr bool startsWithIgnoringCase(std::string_view text,
                                                    std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

[[nodiscard]] constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && startsWithIgnoringCase(a, b);
}

}  // namespace quorrin
