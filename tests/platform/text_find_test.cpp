#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_ops.h"

// Searches walk the text character by character: a byte of 0x80 or more
// takes the next byte with it, so a trail byte that happens to equal an ASCII
// letter or "\" is never the start of a match.
namespace quorrin {
namespace {

struct FindCase {
    std::string name;
    Text text;
    Text sub;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(FindText, Cases) {
    const std::vector<FindCase> cases = {
        {"plain ascii", "hello world", "o", 1, false, 5},
        {"not found", "hello", "x", 1, false, -1},
        {"sub longer than text", "ab", "abc", 1, false, -1},
        {"match at the very end", "abcdef", "ef", 1, false, 5},
        {"start skips an earlier match", "abcabc", "abc", 2, false, 4},
        {"start on the match", "abcabc", "abc", 4, false, 4},
        {"start at the last byte", "abc", "c", 3, false, 3},
        {"start zero means one", "abc", "a", 0, false, 1},
        {"negative start means one", "abc", "a", -7, false, 1},
        {"start past the end", "abc", "c", 4, false, -1},
        {"empty text", "", "a", 1, false, -1},
        {"empty sub", "abc", "", 1, false, 1},
        {"empty sub from the last byte", "abc", "", 3, false, 1},
        {"empty sub past the end", "abc", "", 4, false, -1},
        {"empty sub in empty text", "", "", 1, false, -1},
        {"trail byte 0x5C is not a backslash", "\x81\x5C\\", "\\", 1, false, 3},
        {"trail byte 0x61 is not the letter a",
         "\x81\x61"
         "a",
         "a", 1, false, 3},
        {"only a trail byte matches", "\x81\x61", "a", 1, false, -1},
        {"trail byte is not folded either", "\x81\x61", "A", 1, true, -1},
        {"pair across two characters", "\xB0\xA1\xA1\xB0", "\xA1\xA1", 1, false, -1},
        {"two-byte sub", "\xD6\xD0\xCE\xC4", "\xCE\xC4", 1, false, 3},
        {"two-byte sub with ignoreCase", "x\xD6\xD0\xCE\xC4", "\xCE\xC4", 1, true, 4},
        {"walk pairs from the start given",
         "\x81\x61"
         "a",
         "a", 2, false, 2},
        {"lone lead byte at the end", "ab\x81", "\x81", 1, false, 3},
        {"case differs", "Hello", "hELLO", 1, false, -1},
        {"ignoreCase folds ascii letters", "Hello", "hELLO", 1, true, 1},
        {"ignoreCase keeps other bytes", "a[b", "A{B", 1, true, -1},
        {"ignoreCase after a two-byte char",
         "\x81\x41"
         "aBc",
         "ABC", 1, true, 3},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findText(c.text, c.sub, c.start, c.ignoreCase), c.expected);
    }
}

TEST(FindText, DefaultsAreFromTheFirstByteCaseSensitive) {
    EXPECT_EQ(findText("xAbab", "ab"), 4);
}

struct FindReverseCase {
    std::string name;
    Text text;
    Text sub;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
};

TEST(FindTextReverse, Cases) {
    const std::vector<FindReverseCase> cases = {
        {"last occurrence", "abcabc", "abc", std::nullopt, false, 4},
        {"start past the end searches everywhere", "abcabc", "abc", 100, false, 4},
        {"start one past the end", "abcabc", "abc", 7, false, 4},
        {"match must lie wholly before start", "abcabc", "abc", 6, false, 1},
        {"start one", "abcabc", "a", 1, false, -1},
        {"start zero", "abcabc", "a", 0, false, -1},
        {"not found", "abcabc", "x", std::nullopt, false, -1},
        {"empty text", "", "a", std::nullopt, false, -1},
        {"trail byte is not a letter", "a\x81\x61", "a", std::nullopt, false, 1},
        {"trail byte 0x5C is not a backslash", "\\\x81\x5C", "\\", std::nullopt, false, 1},
        {"pair across two characters", "\xB0\xA1\xA1\xB0", "\xA1\xA1", std::nullopt, false, -1},
        {"case differs", "abcABC", "abc", std::nullopt, false, 1},
        {"ignoreCase", "abcABC", "abc", std::nullopt, true, 4},
        {"overlapping matches", "aaaa", "aa", std::nullopt, false, 3},
    };
    for (const FindReverseCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findTextReverse(c.text, c.sub, c.start, c.ignoreCase), c.expected);
    }
}

// The plain definition: visit every character start from `from`, compare
// there, fold ASCII letters only where the sub has a one-byte character.
std::vector<int> referenceMatches(std::string_view t, std::string_view sub, std::size_t from,
                                  std::size_t limit, bool ignoreCase) {
    const auto fold = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
    };
    std::vector<int> found;
    for (std::size_t i = from; i + sub.size() <= limit;
         i += static_cast<unsigned char>(t[i]) >= 0x80 ? 2 : 1) {
        bool same = true;
        bool afterLead = false;
        for (std::size_t j = 0; j < sub.size() && same; ++j) {
            const auto a = static_cast<unsigned char>(t[i + j]);
            const auto b = static_cast<unsigned char>(sub[j]);
            same = (ignoreCase && !afterLead) ? fold(a) == fold(b) : a == b;
            afterLead = !afterLead && b >= 0x80;
        }
        if (same) {
            found.push_back(static_cast<int>(i) + 1);
        }
    }
    return found;
}

int referenceFind(const std::string& t, const std::string& sub, int start, bool ignoreCase) {
    const int n = static_cast<int>(t.size());
    const int from = std::max(start, 1);
    if (from > n) {
        return -1;
    }
    if (sub.empty()) {
        return 1;
    }
    const std::vector<int> found =
        referenceMatches(t, sub, static_cast<std::size_t>(from - 1), t.size(), ignoreCase);
    return found.empty() ? -1 : found.front();
}

int referenceFindReverse(const std::string& t, const std::string& sub, std::optional<int> start,
                         bool ignoreCase) {
    const int n = static_cast<int>(t.size());
    const int limit = (!start || *start > n) ? n : std::max(*start - 1, 0);
    if (limit == 0) {
        return -1;
    }
    if (sub.empty()) {
        return 1;
    }
    const std::vector<int> found =
        referenceMatches(t, sub, 0, static_cast<std::size_t>(limit), ignoreCase);
    return found.empty() ? -1 : found.back();
}

// Replaces the matches that do not overlap an earlier replaced one.
std::string referenceReplace(const std::string& t, const std::string& old, int start, int count,
                             bool ignoreCase) {
    const std::size_t from = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (old.empty() || count == 0 || from >= t.size()) {
        return t;
    }
    std::string out = t.substr(0, from);
    std::size_t copied = from;
    int left = count;
    for (const int at1 : referenceMatches(t, old, from, t.size(), ignoreCase)) {
        const auto at = static_cast<std::size_t>(at1 - 1);
        if (left == 0 || at < copied) {
            continue;
        }
        out += t.substr(copied, at - copied) + "#";
        copied = at + old.size();
        --left;
    }
    return out + t.substr(copied);
}

// Random texts over a few bytes chosen to collide: lead bytes whose trail
// may be a letter, a backslash or another lead byte.
TEST(TextSearch, AgreesWithTheCharacterByCharacterDefinition) {
    const std::string alphabet = "aAb\\ \x81\xA1\xB0";
    std::mt19937 random(936);
    const auto pick = [&](std::size_t n) {
        std::string out;
        for (std::size_t i = 0; i < n; ++i) {
            out.push_back(alphabet[random() % alphabet.size()]);
        }
        return out;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string t = pick(random() % 24);
        std::string sub = pick(1 + random() % 3);
        if (!t.empty() && random() % 2 == 0) {
            const std::size_t at = random() % t.size();
            sub = t.substr(at, 1 + random() % 4);
        }
        const int start = static_cast<int>(random() % 28) - 2;
        const bool ignoreCase = random() % 2 == 0;
        const std::optional<int> reverseStart =
            random() % 4 == 0 ? std::nullopt : std::optional<int>(start);
        ASSERT_EQ(findText(Text(t), Text(sub), start, ignoreCase),
                  referenceFind(t, sub, start, ignoreCase))
            << Text(t) << " " << Text(sub) << " start " << start << " ignoreCase " << ignoreCase;
        ASSERT_EQ(findTextReverse(Text(t), Text(sub), reverseStart, ignoreCase),
                  referenceFindReverse(t, sub, reverseStart, ignoreCase))
            << Text(t) << " " << Text(sub) << " start " << reverseStart.value_or(0)
            << " ignoreCase " << ignoreCase;
        const int count = static_cast<int>(random() % 4) - 1;
        ASSERT_EQ(replaceSubtext(Text(t), Text(sub), "#", start, count, !ignoreCase),
                  Text(referenceReplace(t, sub, start, count, ignoreCase)))
            << Text(t) << " " << Text(sub) << " start " << start << " count " << count
            << " ignoreCase " << ignoreCase;
    }
}

}  // namespace
}  // namespace quorrin
