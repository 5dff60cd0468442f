#pragma once

#include <cstddef>
#include <string>

namespace quorrin::bench {

// A page of `size` bytes of UTF-8 that declares its charset in a meta tag:
// rows of markup with two Chinese characters each, as a result page has.
inline std::string utf8Page(std::size_t size) {
    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=utf-8\"></head><body>";
    while (page.size() < size) {
        page += "<td class=\"t\">\xE7\x88\xB5\xE8\xBF\xB9 share 2026</td>";
    }
    page.resize(size, ' ');
    return page;
}

}  // namespace quorrin::bench
