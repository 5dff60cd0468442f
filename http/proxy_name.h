#pragma once

#include "platform/text.h"

namespace quorrin {

// The proxy list handed to a session for the fetch's `proxy`: `proxy`
// itself for a secure address, else for http only; empty for none.
[[nodiscard]] Text proxyName(const Text& proxy, bool secure);

}  // namespace quorrin
