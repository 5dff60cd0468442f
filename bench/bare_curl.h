#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>

#include "platform/curl_holder.h"

namespace quorrin::bench {

inline size_t collectInto(char* data, size_t size, size_t count, void* into) {
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
}

// A GET through a fresh libcurl easy handle with libcurl's defaults, the
// body gathered into a string: what the client's fetches are measured
// against. Nothing unless the transfer ends well with status 200.
inline std::optional<std::string> bareCurlGet(const std::string& url) {
    std::string body;
    const CurlHolder curl;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collectInto);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    long status = 0;
    if (curl_easy_perform(curl.get()) != CURLE_OK ||
        curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
        status != 200) {
        return std::nullopt;
    }
    return body;
}

}  // namespace quorrin::bench
