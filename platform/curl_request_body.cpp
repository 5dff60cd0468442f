#include "platform/curl_request_body.h"

namespace quorrin {

bool setVerbAndBody(CURL* curl, const std::string& verb, std::span<const char> body) {
    if (verb == "GET" && body.empty()) {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        return false;
    }
    if (verb == "HEAD" && body.empty()) {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        return false;
    }
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    // An empty body may have no storage at all (a null pointer); an empty
    // string still sets the post fields.
    curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body.empty() ? "" : body.data());
    if (verb != "POST") {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb.c_str());
    }
    return verb == "HEAD";
}

}  // namespace quorrin
