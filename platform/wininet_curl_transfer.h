#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "platform/text.h"

// One libcurl exchange for the WinInet stand-in: what the handles collected
// in, and what came back.
namespace quorrin::wininet_curl {

struct RequestSettings {
    std::string agent;
    std::uint32_t accessType = 0;
    std::string proxyList;
    std::string proxyBypass;
    std::string host;
    int port = 0;
    std::string verb;
    std::string path;
    std::string version;
    std::uint32_t flags = 0;
    std::stop_token stop;
};

struct Response {
    bool complete = false;        // the transfer ended without an error
    bool headersArrived = false;  // a status line came in
    std::string
        headerBlock;  // the final response's lines, each closed by CRLF, blank line included
    std::string body;
};

// The schemes a redirect may lead to under the flag word: http and https
// are not crossed unless the flag for that direction is set.
[[nodiscard]] const char* redirectSchemes(std::uint32_t flags);

[[nodiscard]] Response transfer(const RequestSettings& settings, const Text& headers,
                                const ByteSet& body);

}  // namespace quorrin::wininet_curl
