#include "platform/curl_request_options.h"

namespace quorrin {
namespace {

int onProgress(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::stop_token*>(stop)->stop_requested() ? 1 : 0;
}

}  // namespace

void setTransferCallbacks(CURL* curl, curl_write_callback onHeaderLine, curl_write_callback onBody,
                          void* user, const std::stop_token& stop) {
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeaderLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, user);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, user);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &stop);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
}

}  // namespace quorrin
