#pragma once

#include <cstddef>
#include <string_view>

// The search under findText, findTextReverse and replaceSubtext. A byte of
// 0x80 or more begins a two-byte character and takes the next byte with it;
// a match may begin only where a character begins, counting from where the
// search starts.
namespace quorrin {

class MatchWalker {
  public:
    static constexpr std::size_t kNone = std::string_view::npos;

    // Matches of `sub` at or after `from` (0-based) lying wholly inside the
    // first `limit` bytes of `text`. With ignoreCase the ASCII letters of the
    // sub's one-byte characters fold. An empty `sub` has no matches. Both
    // views must outlive the walker.
    MatchWalker(std::string_view text, std::string_view sub, std::size_t from, std::size_t limit,
                bool ignoreCase);

    // The next match (0-based), in order, or kNone.
    [[nodiscard]] std::size_t next();

  private:
    [[nodiscard]] std::size_t nextAnchor(std::size_t from);

    std::string_view hay_;
    std::string_view sub_;
    bool ignoreCase_;
    std::size_t last_ = 0;  // the last position at which a match fits
    bool done_ = false;
    // The sub is looked for by its least common byte, at this offset, in
    // either case when folding.
    std::size_t anchorOffset_ = 0;
    char anchorA_ = 0;
    char anchorB_ = 0;
    std::size_t nextA_ = 0;
    std::size_t nextB_ = 0;
    bool primed_ = false;
    std::size_t known_ = 0;  // a character is known to begin here
    std::size_t at_ = 0;     // where the next candidate may begin
};

}  // namespace quorrin
