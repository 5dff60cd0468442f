#pragma once

#include <string>
#include <string_view>
#include <utility>

// The header block of the response a libcurl transfer ends with, gathered
// line by line from its header callback. libcurl hands that callback every
// response of a redirect chain (interim 1xx ones too) and the trailers of a
// chunked body; only the last response's own lines are kept.
namespace quorrin {

class CurlResponseHead {
  public:
    // What one line from the header callback was.
    enum class Line {
        Outside,        // not part of a response's block (a trailer)
        Status,         // a status line: the block starts over
        Field,          // a header line of the current block
        PassedOverEnd,  // the blank line of a response libcurl moves past
        FinalEnd,       // the blank line of a response the transfer ends with
    };

    // followsRedirects: whether libcurl follows a 3xx that names a Location.
    explicit CurlResponseHead(bool followsRedirects = false)
        : followsRedirects_(followsRedirects) {}

    // Takes one line as the callback got it, line end included.
    Line take(std::string_view line);

    // The current block's lines, each closed by CRLF, blank line included.
    [[nodiscard]] const std::string& block() const { return block_; }
    [[nodiscard]] std::string takeBlock() { return std::move(block_); }

  private:
    bool followsRedirects_;
    std::string block_;
    bool inHeaders_ = false;
    int status_ = 0;
    bool hasLocation_ = false;
};

}  // namespace quorrin
