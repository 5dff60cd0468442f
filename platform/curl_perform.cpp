#include "platform/curl_perform.h"

#include <utility>

namespace quorrin {

namespace {

constexpr int kPollMs = 1000;

}  // namespace

CurlPump::CurlPump(CURL* easy, std::stop_token stop) : easy_(easy), stop_(std::move(stop)) {
    if (!multi_ || easy_ == nullptr || curl_multi_add_handle(multi_.get(), easy_) != CURLM_OK) {
        finish(CURLE_OUT_OF_MEMORY);
        return;
    }
    added_ = true;
    waker_ = std::make_unique<std::stop_callback<Waker>>(stop_, Waker{multi_.get()});
}

CurlPump::~CurlPump() {
    // The waker goes first: its destructor waits for a wake-up under way,
    // which must not meet a multi handle that is gone.
    waker_.reset();
    if (added_) {
        curl_multi_remove_handle(multi_.get(), easy_);
    }
}

void CurlPump::finish(CURLcode result) {
    finished_ = true;
    result_ = result;
}

bool CurlPump::step() {
    if (finished_) {
        return false;
    }
    // Wait only when the last round is done with: a round that just
    // produced data returns at once so the caller can take it.
    if (started_ && !stop_.stop_requested() &&
        curl_multi_poll(multi_.get(), nullptr, 0, kPollMs, nullptr) != CURLM_OK) {
        finish(CURLE_FAILED_INIT);
        return false;
    }
    started_ = true;
    if (stop_.stop_requested()) {
        finish(CURLE_ABORTED_BY_CALLBACK);
        return false;
    }
    int running = 0;
    if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) {
        finish(CURLE_FAILED_INIT);
        return false;
    }
    if (running == 0) {
        CURLcode result = CURLE_FAILED_INIT;
        int left = 0;
        while (const CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
            }
        }
        finish(result);
        return false;
    }
    return true;
}

}  // namespace quorrin
