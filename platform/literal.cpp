#include "platform/literal.h"

#include <string>

#include "platform/codepage.h"

namespace quorrin {

Text literalText(std::string_view utf8) {
    return Text(fromUtf16(kCodePageGbk, toUtf16(kCodePageUtf8, utf8)));
}

}  // namespace quorrin
