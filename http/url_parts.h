#pragma once

#include <optional>

#include "platform/text.h"

// Taking an address apart for the page fetch: host, port, path and query.
// An address is an optional scheme ("http://" or "https://", any case), a
// host, an optional ":" and port, and an optional path from "/" to its end.
// None of these fails: a malformed address gives a malformed part.
namespace quorrin {

// The host in lower case. `baseDomain` keeps only its last labels; `keepPort`
// leaves ":" and the port on. Supplying `labelCount` at all selects the
// counted mode, which strips every scheme and keeps the last labelCount + 1
// labels (`baseDomain`) or labelCount + 2 labels.
[[nodiscard]] Text urlHost(const Text& url, bool baseDomain = false, bool keepPort = false,
                           std::optional<int> labelCount = std::nullopt);

// The port given in the address, else 443 when it begins with "https" in any
// case, else 80. A port that is not a number gives 0.
[[nodiscard]] int urlPort(const Text& url);

// The path, query and fragment in their own letter case, from the first "/"
// at or after the host; "/" when there is none.
[[nodiscard]] Text urlPath(const Text& url);

// The text after the first ":", trimmed of spaces; empty without a ":".
[[nodiscard]] Text textAfterColon(const Text& t);

}  // namespace quorrin
