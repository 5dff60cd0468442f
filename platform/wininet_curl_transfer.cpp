#include "platform/wininet_curl_transfer.h"

#include <algorithm>
#include <cstring>

#include "platform/curl_request_options.h"
#include "platform/wininet.h"

namespace quorrin::wininet_curl {

namespace {

using State = Exchange::State;

// A later status line (a redirect followed) does not take back what the
// first one told: a response arrived.
size_t onHeaderLine(char* data, size_t size, size_t count, void* user) {
    using Line = CurlResponseHead::Line;
    auto& state = *static_cast<State*>(user);
    const Line line = state.head.take(std::string_view(data, size * count));
    if (line == Line::Status) {
        state.headersArrived = true;
    }
    if (line == Line::FinalEnd) {
        state.finalHeadersDone = true;
        if (state.endAfterHeaders) {
            return 0;  // ends the exchange
        }
    }
    return size * count;
}

// Holding the body back once enough waits to be read keeps the buffer
// small and reused instead of a copy of the whole body.
constexpr std::size_t kPendingLimit = 64 * 1024;

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<State*>(user);
    if (state.pending.size() >= kPendingLimit) {
        state.paused = true;
        return CURL_WRITEFUNC_PAUSE;  // libcurl keeps these bytes and hands them over again
    }
    state.pending.append(data, size * count);
    return size * count;
}

}  // namespace

Exchange::Exchange(const RequestSettings& settings, const Text& headers, const ByteSet& body)
    : url_(requestUrl(settings)), headers_(headerList(headers.view())) {
    state_.head = CurlResponseHead((settings.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0);
    if (!curl_ || settings.stop.stop_requested()) {
        return;
    }
    CURL* curl = curl_.get();
    state_.endAfterHeaders = setRequestOptions(curl, settings, url_, headers_, body);
    setTransferCallbacks(curl, onHeaderLine, onBody, &state_, settings.stop);
    pump_ = std::make_unique<CurlPump>(curl, settings.stop);
    while (!state_.finalHeadersDone && pump_->step()) {
    }
}

std::uint32_t Exchange::read(std::span<char> buffer) {
    if (!pump_) {
        return 0;
    }
    const auto available = [this] { return state_.pending.size() - state_.pendingOffset; };
    if (available() == 0 && state_.paused) {
        state_.paused = false;
        curl_easy_pause(curl_.get(), CURLPAUSE_CONT);  // may deliver at once
    }
    while (available() == 0 && pump_->step()) {
    }
    if (pump_->finished() && pump_->result() == CURLE_ABORTED_BY_CALLBACK) {
        return 0;  // cancelled: nothing more is handed out
    }
    const std::size_t count = std::min(buffer.size(), available());
    std::memcpy(buffer.data(), state_.pending.data() + state_.pendingOffset, count);
    state_.pendingOffset += count;
    if (available() == 0) {
        state_.pending.clear();  // keeps its capacity for the next bytes
        state_.pendingOffset = 0;
    }
    return static_cast<std::uint32_t>(count);
}

}  // namespace quorrin::wininet_curl
