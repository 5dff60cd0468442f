#pragma once

#include <curl/curl.h>

#include <array>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/curl_holder.h"

// What the WinHttp and WinInet exchanges set on libcurl alike.
namespace quorrin {

// Redirects libcurl follows before it gives up on a chain.
inline constexpr long kCurlMaxRedirects = 10;

// The headers libcurl would add of its own besides Host and Content-Length.
inline constexpr std::array<std::string_view, 4> kCurlOwnHeaders{"Accept", "Expect", "Content-Type",
                                                                 "Proxy-Connection"};

// Appends an empty entry ("Name:", which removes the header) for each of
// libcurl's own headers that `hasHeader(name)` says the caller's lines lack,
// so that only Host (and Content-Length with a body) is left to libcurl.
template <typename HasHeader>
void blockCurlOwnHeaders(CurlSlist& list, const HasHeader& hasHeader) {
    for (const std::string_view own : kCurlOwnHeaders) {
        if (!hasHeader(own)) {
            list.append((std::string(own) + ":").c_str());
        }
    }
}

// Hands header lines to `onHeaderLine` and body bytes to `onBody`, both
// with `user`, and ends the transfer once `stop` is requested. `stop` must
// outlive the transfer.
void setTransferCallbacks(CURL* curl, curl_write_callback onHeaderLine, curl_write_callback onBody,
                          void* user, const std::stop_token& stop);

}  // namespace quorrin
