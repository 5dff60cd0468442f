#include "platform/curl_response_head.h"

#include <cstdlib>

#include "platform/ascii_case.h"

namespace quorrin {
namespace {

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

CurlResponseHead::Line CurlResponseHead::take(std::string_view line) {
    const bool statusLine = line.starts_with("HTTP/");
    if (statusLine) {
        block_.clear();
        inHeaders_ = true;
        const std::size_t space = line.find(' ');
        status_ = space == std::string_view::npos ? 0 : std::atoi(line.data() + space + 1);
        hasLocation_ = false;
    }
    if (!inHeaders_) {
        return Line::Outside;
    }
    const std::string_view content = withoutLineEnd(line);
    block_.append(content).append("\r\n");
    hasLocation_ = hasLocation_ || startsWithIgnoringCase(content, "Location:");
    if (!content.empty()) {
        return statusLine ? Line::Status : Line::Field;
    }
    inHeaders_ = false;
    // libcurl moves past an interim 1xx and a redirect it follows.
    const bool passedOver =
        status_ / 100 == 1 || (followsRedirects_ && status_ / 100 == 3 && hasLocation_);
    return passedOver ? Line::PassedOverEnd : Line::FinalEnd;
}

}  // namespace quorrin
