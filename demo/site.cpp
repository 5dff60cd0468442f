#include "demo/site.h"

#include <cctype>

#include "demo/pages.h"

namespace quorrin::demo {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string percentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

Site::Site(std::string selfBase) : selfBase_(std::move(selfBase)) {}

Response Site::handle(const std::string& method, const std::string& target) {
    if (method != "GET" && method != "HEAD") {
        return {405, notFoundPage()};
    }
    if (startsWith(target, "/search-all-")) {
        return searchPage(target.substr(12));
    }
    if (startsWith(target, "/fileview")) {
        return fileview(target.substr(9));
    }
    if (startsWith(target, "/s/")) {
        return link(target.substr(3));
    }
    return {404, notFoundPage()};
}

Response Site::searchPage(const std::string& rest) {
    // rest is "<encoded keyword>-<n>/"; the keyword itself may hold "-".
    if (rest.empty() || rest.back() != '/') {
        return {404, notFoundPage()};
    }
    const std::string body = rest.substr(0, rest.size() - 1);
    const std::size_t dash = body.rfind('-');
    if (dash == std::string::npos || dash + 1 >= body.size()) {
        return {404, notFoundPage()};
    }
    const std::string number = body.substr(dash + 1);
    for (const char c : number) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return {404, notFoundPage()};
        }
    }
    if (number.size() > 6) {
        return {404, notFoundPage()};
    }
    const std::string encoded = body.substr(0, dash);
    const std::string keyword = percentDecode(encoded);
    const int page = std::stoi(number);
    const std::vector<Share> shares = sharesOnPage(keyword, page);
    {
        const std::lock_guard lock(mutex_);
        for (const Share& share : shares) {
            known_[share.fileId] = share;
        }
    }
    return {200, resultPage(keyword, encoded, page, shares)};
}

bool Site::findShare(const std::string& fileId, Share& out) {
    const std::lock_guard lock(mutex_);
    const auto it = known_.find(fileId);
    if (it == known_.end()) {
        return false;
    }
    out = it->second;
    return true;
}

Response Site::fileview(const std::string& fileId) {
    Share share;
    if (!findShare(fileId, share)) {
        return {404, notFoundPage()};
    }
    return {200, detailPage(share, selfBase_ + "/s/" + share.fileId)};
}

Response Site::link(const std::string& fileId) {
    Share share;
    if (!findShare(fileId, share)) {
        return {404, notFoundPage()};
    }
    return {200, linkPage(share)};
}

}  // namespace quorrin::demo
