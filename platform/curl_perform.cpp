#include "platform/curl_perform.h"

#include "platform/curl_holder.h"

namespace quorrin {

namespace {

constexpr int kPollMs = 1000;

}  // namespace

CURLcode performCancellable(CURL* curl, const std::stop_token& stop) {
    const CurlMultiHolder multi;
    if (!multi || curl_multi_add_handle(multi.get(), curl) != CURLM_OK) {
        return CURLE_OUT_OF_MEMORY;
    }
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    {
        // Gone before the multi handle is cleaned up, and its destructor
        // waits for a wake-up under way.
        const std::stop_callback wake(stop, [&multi] { curl_multi_wakeup(multi.get()); });
        int running = 1;
        while (running != 0 && !stop.stop_requested()) {
            if (curl_multi_perform(multi.get(), &running) != CURLM_OK ||
                (running != 0 &&
                 curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr) != CURLM_OK)) {
                break;
            }
        }
        int left = 0;
        while (const CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
            }
        }
    }
    curl_multi_remove_handle(multi.get(), curl);
    return result;
}

}  // namespace quorrin
