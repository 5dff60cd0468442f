#pragma once

#include <curl/curl.h>

#include <stop_token>

namespace quorrin {

// curl_easy_perform that a stop request ends at once, also while the
// transfer waits on the network: the handle runs on a multi handle of its
// own whose wait a stop wakes. Answers CURLE_ABORTED_BY_CALLBACK when
// stopped. The handle may also abort itself from its progress callback.
[[nodiscard]] CURLcode performCancellable(CURL* curl, const std::stop_token& stop);

}  // namespace quorrin
