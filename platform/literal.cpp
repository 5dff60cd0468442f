#include "platform/literal.h"

#include <string>

#include "platform/codepage.h"

namespace quorrin {

Text literalText(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const std::string source(utf8);
    const int units = multiByteToWideChar(kCodePageUtf8, 0, source.c_str(), -1, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    multiByteToWideChar(kCodePageUtf8, 0, source.c_str(), -1, wide.data(), units);
    const int bytes = wideCharToMultiByte(kCodePageGbk, 0, wide.c_str(), -1, nullptr, 0);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    wideCharToMultiByte(kCodePageGbk, 0, wide.c_str(), -1, narrow.data(), bytes);
    return Text(narrow);
}

}  // namespace quorrin
