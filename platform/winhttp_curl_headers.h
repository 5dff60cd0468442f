#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorrin::winhttp_curl {

using HeaderLines = std::vector<std::pair<std::string, std::string>>;

// Adds the CRLF-separated `block` to `headers` by the WINHTTP_ADDREQ_FLAG_
// rules: ADD appends, REPLACE replaces the value of the first line of the
// same name (case ignored) and drops the others, or removes them all for an
// empty value, ADD | REPLACE replaces or appends, ADD_IF_NEW appends only a
// name not yet present. False, with `headers` unchanged, when a line has no
// name and colon, holds a control byte, or names a header REPLACE (without
// ADD) cannot find or ADD_IF_NEW finds.
bool addHeaderLines(HeaderLines& headers, std::string_view block, std::uint32_t flags);

}  // namespace quorrin::winhttp_curl
