#include "platform/text.h"

#include <algorithm>
#include <ostream>

namespace quorrin {

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
    bytes_.resize(std::min(bytes_.size(), bytes_.find('\0')));
}

const Text& TextArray::at(int index1) const {
    static const Text kEmpty;
    if (index1 < 1 || index1 > count()) {
        return kEmpty;
    }
    return items_[static_cast<std::size_t>(index1 - 1)];
}

namespace {

std::ostream& writeQuoted(std::ostream& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out << '"';
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out << ch;
        } else {
            out << "\\x" << kHex[c >> 4] << kHex[c & 0x0F];
        }
    }
    return out << '"';
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Text& t) {
    return writeQuoted(out, t.view());
}

std::ostream& operator<<(std::ostream& out, const ByteSet& b) {
    return writeQuoted(out, b.view());
}

std::ostream& operator<<(std::ostream& out, const TextArray& items) {
    out << '{';
    const char* separator = "";
    for (const Text& item : items.items()) {
        out << separator << item;
        separator = ", ";
    }
    return out << '}';
}

}  // namespace quorrin
