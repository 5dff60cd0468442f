#include "platform/text.h"

namespace quorrin {

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text TextArray::at(int index1) const {
    if (index1 < 1 || index1 > count()) {
        return {};
    }
    return items_[static_cast<std::size_t>(index1 - 1)];
}

}  // namespace quorrin
