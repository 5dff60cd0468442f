#pragma once

#include <string_view>

#include "platform/text.h"

namespace quorrin {

// The system's own literals are written in the source as UTF-8; this turns
// one into code-page-936 text. Keep the result where a literal is used often.
[[nodiscard]] Text literalText(std::string_view utf8);

}  // namespace quorrin
