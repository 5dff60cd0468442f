#include "platform/curl_global.h"

#include <curl/curl.h>

#include <mutex>

namespace quorrin {

bool ensureCurlInitialised() {
    // Never cleaned up: other threads may still hold handles when the
    // process ends, and the system takes everything back at exit anyway.
    static std::once_flag once;
    static CURLcode result = CURLE_FAILED_INIT;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_ALL); });
    return result == CURLE_OK;
}

}  // namespace quorrin
