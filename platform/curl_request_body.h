#pragma once

#include <curl/curl.h>

#include <span>
#include <string>

namespace quorrin {

// Sets the request verb and body on an easy handle: a plain GET or HEAD when
// there is no body, otherwise the body (copied, so it need not outlive the
// call) under POST or the verb as a custom request. True when the exchange
// must end at the final response's headers: a HEAD with a body goes out as
// a custom verb, and libcurl would wait for a response body that never comes.
[[nodiscard]] bool setVerbAndBody(CURL* curl, const std::string& verb, std::span<const char> body);

}  // namespace quorrin
