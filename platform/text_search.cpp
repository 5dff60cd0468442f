#include "platform/text_search.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/text_bytes.h"

namespace quorrin {
namespace {

using text_bytes::foldAscii;
using text_bytes::isLead;

char otherCase(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') {
        return static_cast<char>(c - ('a' - 'A'));
    }
    return static_cast<char>(foldAscii(c));
}

// How often a byte turns up in the pages searched, roughly: 0 seldom, 2
// often. A search looks for its sub's least common byte first.
constexpr std::array<unsigned char, 256> kCommonness = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool alphanumeric =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (c >= 0x80 || alphanumeric || c == ' ') {
            table[static_cast<std::size_t>(c)] = 2;
        }
    }
    for (const char c : std::string_view("<>\"=/'.,:;-&#\t\r\n")) {
        table[static_cast<unsigned char>(c)] = 1;
    }
    return table;
}();

int commonness(char c) {
    return kCommonness[static_cast<unsigned char>(c)];
}

std::size_t leastCommonByte(std::string_view sub) {
    std::size_t best = 0;
    for (std::size_t j = 1; j < sub.size(); ++j) {
        if (commonness(sub[j]) < commonness(sub[best])) {
            best = j;
        }
    }
    return best;
}

// Whether a character begins at `at` for a walk that began at `known`
// (known <= at). The byte after any byte below 0x80 begins a character,
// whether that byte stood alone or ended a pair, and bytes of 0x80 or more
// pair up; so only the run of such bytes just before `at` decides, and an
// even run ends on a whole character. Reading back no further than `known`
// keeps a whole search linear.
bool beginsCharacter(std::string_view s, std::size_t known, std::size_t at) {
    std::size_t k = at;
    while (k > known && isLead(static_cast<unsigned char>(s[k - 1]))) {
        --k;
    }
    return (at - k) % 2 == 0;
}

// Whether `sub` stands at the start of `s`, ASCII letters folded. Only the
// one-byte characters of `sub` fold; a two-byte character must match
// exactly, so the trail byte of a character is never taken for a letter.
bool matchesIgnoringCase(const char* s, std::string_view sub) {
    for (std::size_t j = 0; j < sub.size();) {
        const auto b = static_cast<unsigned char>(sub[j]);
        const auto c = static_cast<unsigned char>(s[j]);
        if (isLead(b)) {
            if (c != b || (j + 1 < sub.size() && s[j + 1] != sub[j + 1])) {
                return false;
            }
            j += 2;
        } else {
            if (foldAscii(c) != foldAscii(b)) {
                return false;
            }
            ++j;
        }
    }
    return true;
}

}  // namespace

MatchWalker::MatchWalker(std::string_view text, std::string_view sub, std::size_t from,
                         std::size_t limit, bool ignoreCase)
    : hay_(text.substr(0, limit)), sub_(sub), ignoreCase_(ignoreCase), known_(from), at_(from) {
    if (sub_.empty() || sub_.size() > hay_.size() || from > hay_.size() - sub_.size()) {
        done_ = true;
        return;
    }
    last_ = hay_.size() - sub_.size();
    anchorOffset_ = leastCommonByte(sub_);
    anchorA_ = sub_[anchorOffset_];
    anchorB_ = ignoreCase_ ? otherCase(anchorA_) : anchorA_;
}

// The next position at or after `from` holding either anchor byte; each
// byte's next position is kept, so the text is read about once for both.
std::size_t MatchWalker::nextAnchor(std::size_t from) {
    if (anchorA_ == anchorB_) {
        return hay_.find(anchorA_, from);
    }
    if (!primed_ || nextA_ < from) {
        nextA_ = hay_.find(anchorA_, from);
    }
    if (!primed_ || nextB_ < from) {
        nextB_ = hay_.find(anchorB_, from);
    }
    primed_ = true;
    return std::min(nextA_, nextB_);
}

std::size_t MatchWalker::next() {
    while (!done_) {
        const std::size_t anchor = nextAnchor(at_ + anchorOffset_);
        if (anchor == kNone || anchor - anchorOffset_ > last_) {
            done_ = true;
            break;
        }
        const std::size_t at = anchor - anchorOffset_;
        if (!beginsCharacter(hay_, known_, at)) {
            known_ = at + 1;  // `at` is the second byte of a pair
            at_ = known_;
            continue;
        }
        known_ = at;
        at_ = at + 1;
        const bool same = ignoreCase_
                              ? matchesIgnoringCase(hay_.data() + at, sub_)
                              : std::memcmp(hay_.data() + at, sub_.data(), sub_.size()) == 0;
        if (same) {
            return at;
        }
    }
    return kNone;
}

}  // namespace quorrin
