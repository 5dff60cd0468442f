#pragma once

#include <curl/curl.h>

#include <memory>
#include <stop_token>

#include "platform/curl_holder.h"

namespace quorrin {

// Runs one easy handle step by step on a multi handle of its own, so a
// caller can hand out data as it arrives, and so a stop request wakes any
// wait on the network at once.
class CurlPump {
  public:
    CurlPump(CURL* easy, std::stop_token stop);
    ~CurlPump();
    CurlPump(const CurlPump&) = delete;
    CurlPump& operator=(const CurlPump&) = delete;
    CurlPump(CurlPump&&) = delete;
    CurlPump& operator=(CurlPump&&) = delete;

    // Waits for the network for up to a second (not before the first round)
    // and lets libcurl work. False once the transfer has ended; result()
    // then says how.
    bool step();
    [[nodiscard]] bool finished() const { return finished_; }
    // CURLE_ABORTED_BY_CALLBACK after a stop request.
    [[nodiscard]] CURLcode result() const { return result_; }

  private:
    struct Waker {
        CURLM* multi;
        void operator()() const { curl_multi_wakeup(multi); }
    };

    void finish(CURLcode result);

    CURL* easy_;
    std::stop_token stop_;
    CurlMultiHolder multi_;
    bool added_ = false;
    bool started_ = false;
    bool finished_ = false;
    CURLcode result_ = CURLE_OK;
    std::unique_ptr<std::stop_callback<Waker>> waker_;
};

}  // namespace quorrin
