#pragma once

#include <optional>
#include <string_view>

#include "platform/winhttp.h"

namespace quorrin {

// Takes an http or https address apart the way WinHttpCrackUrl does: the
// scheme up to "://" (either letter case), then the host (a user name and
// password before "@" are passed over; an IPv6 host keeps its brackets), an
// optional port (1 to 65535; without one the scheme's default), the path
// and the extra information, all as they stand. Nothing for another scheme,
// an empty host or a bad port.
[[nodiscard]] std::optional<UrlComponents> crackHttpUrl(std::u16string_view url);

}  // namespace quorrin
