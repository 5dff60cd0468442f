#pragma once

#include "platform/text.h"

namespace quorrin {

// Whether the text is an absolute http or https address with a host: the
// only kind the client hands to the browser or fetches. The scheme may be
// in any letter case; control characters, spaces and a missing host refuse.
[[nodiscard]] bool isWebAddress(const Text& address);

}  // namespace quorrin
