#pragma once

#include <string>
#include <string_view>

// Reading a WinInet proxy list: entries separated by spaces or ";", each
// either "server" (for every scheme) or "scheme=server".
namespace quorrin {

// The proxy server the list names for requests of `scheme` ("http" or
// "https"), as a libcurl proxy address ("http://host:port"); empty when the
// list names none, which means a direct connection. A scheme-specific entry
// wins over a general one; of equals the first counts.
[[nodiscard]] std::string proxyForScheme(std::string_view proxyList, std::string_view scheme);

// A WinInet bypass list ("a.com;*.b.com <local>") as a libcurl no-proxy list
// ("a.com,.b.com"); "<local>" has no counterpart and is left out.
[[nodiscard]] std::string noProxyList(std::string_view proxyBypass);

}  // namespace quorrin
