#include "platform/regex_engine.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>

namespace quorrin {
namespace {

struct CompileContextFree {
    void operator()(pcre2_compile_context_16* context) const {
        pcre2_compile_context_free_16(context);
    }
};
struct CodeFree {
    void operator()(pcre2_code_16* code) const { pcre2_code_free_16(code); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data_16* data) const { pcre2_match_data_free_16(data); }
};
using CompileContext = std::unique_ptr<pcre2_compile_context_16, CompileContextFree>;
using CompiledPattern = std::unique_ptr<pcre2_code_16, CodeFree>;
using MatchData = std::unique_ptr<pcre2_match_data_16, MatchDataFree>;

// The automation engine's syntax and modes on PCRE2: \uHHHH and \xHH escapes,
// [] and [^], a back reference to an unset group matching the empty text, "$"
// at the very end only unless multiline, and LF as the only line break, so
// "." matches every character but a line feed. Without PCRE2_UCP, \w, \d and
// \s stay ASCII, as in the engine we stand in for.
CompiledPattern compilePattern(const std::u16string& pattern, bool ignoreCase, bool multiline,
                               bool wellFormedSubject) {
    const CompileContext context(pcre2_compile_context_create_16(nullptr));
    if (!context) {
        return nullptr;
    }
    pcre2_set_newline_16(context.get(), PCRE2_NEWLINE_LF);
    // A subject with a lone surrogate is matched around it; a well-formed
    // one is not checked again at every match.
    uint32_t options = PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                       PCRE2_MATCH_UNSET_BACKREF |
                       (wellFormedSubject ? 0U : static_cast<uint32_t>(PCRE2_MATCH_INVALID_UTF));
    options |= ignoreCase ? PCRE2_CASELESS : 0;
    options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    return CompiledPattern(pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(pattern.data()),
                                            pattern.size(), options, &errorCode, &errorOffset,
                                            context.get()));
}

int captureCount(const pcre2_code_16* code) {
    uint32_t count = 0;
    pcre2_pattern_info_16(code, PCRE2_INFO_CAPTURECOUNT, &count);
    return static_cast<int>(count);
}

// One match as PCRE2 reports it, with the subject it indexes.
struct MatchSpan {
    const std::u16string& subject;
    const PCRE2_SIZE* ovector;
    int setPairs;  // pairs of the ovector that hold a result

    [[nodiscard]] PCRE2_SIZE begin() const { return ovector[0]; }
    // \K can leave the end before the start; read such a match as empty.
    [[nodiscard]] PCRE2_SIZE end() const { return std::max(ovector[0], ovector[1]); }
    [[nodiscard]] std::u16string_view group(int number) const {
        if (number == 0) {
            return std::u16string_view(subject).substr(begin(), end() - begin());
        }
        if (number >= setPairs) {
            return {};
        }
        const PCRE2_SIZE from = ovector[2 * number];
        const PCRE2_SIZE to = ovector[2 * number + 1];
        if (from == PCRE2_UNSET || to < from) {
            return {};
        }
        return std::u16string_view(subject).substr(from, to - from);
    }
};

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Whether every surrogate of `s` is one of a pair.
bool isWellFormed(const std::u16string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (isHighSurrogate(s[i]) && i + 1 < s.size() && isLowSurrogate(s[i + 1])) {
            ++i;
        } else if (isHighSurrogate(s[i]) || isLowSurrogate(s[i])) {
            return false;
        }
    }
    return true;
}

// The start of the character after `at`, never splitting a surrogate pair.
PCRE2_SIZE nextCharacter(const std::u16string& s, PCRE2_SIZE at) {
    if (at + 1 < s.size() && isHighSurrogate(s[at]) && isLowSurrogate(s[at + 1])) {
        return at + 2;
    }
    return at + 1;
}

// Calls `onMatch` for the first match, or for every match with `global` on.
// After an empty match the search moves on by one character, as the
// automation engine does. False when matching fails (a limit reached).
template <typename OnMatch>
bool forEachMatch(const pcre2_code_16* code, const std::u16string& subject, bool wellFormed,
                  bool global, OnMatch onMatch) {
    const MatchData data(pcre2_match_data_create_from_pattern_16(code, nullptr));
    if (!data) {
        return false;
    }
    const auto* units = reinterpret_cast<PCRE2_SPTR16>(subject.data());
    PCRE2_SIZE start = 0;
    while (start <= subject.size()) {
        const int rc = pcre2_match_16(code, units, subject.size(), start,
                                      wellFormed ? PCRE2_NO_UTF_CHECK : 0U, data.get(), nullptr);
        if (rc == PCRE2_ERROR_NOMATCH) {
            return true;
        }
        if (rc < 0) {
            return false;
        }
        const MatchSpan match{subject, pcre2_get_ovector_pointer_16(data.get()), rc};
        onMatch(match);
        if (!global) {
            return true;
        }
        PCRE2_SIZE next =
            match.end() > match.begin() ? match.end() : nextCharacter(subject, match.end());
        if (next <= start) {
            next = nextCharacter(subject, start);  // always move on, whatever \K did
        }
        start = next;
    }
    return true;
}

bool isDigit(char16_t u) {
    return u >= u'0' && u <= u'9';
}

// Appends `replacement` for one match, expanding its "$" references.
void expandReplacement(const std::u16string& replacement, const MatchSpan& match, int groups,
                       std::u16string& out) {
    const std::size_t n = replacement.size();
    for (std::size_t i = 0; i < n;) {
        const char16_t c = replacement[i];
        if (c != u'$' || i + 1 == n) {
            out += c;
            ++i;
            continue;
        }
        const char16_t next = replacement[i + 1];
        if (next == u'$') {
            out += u'$';
            i += 2;
        } else if (next == u'&') {
            out += match.group(0);
            i += 2;
        } else if (next == u'`') {
            out.append(match.subject, 0, match.begin());
            i += 2;
        } else if (next == u'\'') {
            out.append(match.subject, match.end());
            i += 2;
        } else if (isDigit(next)) {
            const int one = next - u'0';
            const int two = (i + 2 < n && isDigit(replacement[i + 2]))
                                ? one * 10 + (replacement[i + 2] - u'0')
                                : -1;
            if (two >= 1 && two <= groups) {
                out += match.group(two);
                i += 3;
            } else if (one >= 1 && one <= groups) {
                out += match.group(one);
                i += 2;
            } else {
                out += c;
                ++i;
            }
        } else {
            out += c;
            ++i;
        }
    }
}

// The compiled pattern for one subject: the prepared one where there is one
// and the subject is well-formed, else one compiled afresh for it.
struct PatternFor {
    PatternFor(const pcre2_code_16* prepared, const std::u16string& pattern, bool ignoreCase,
               bool multiline, bool wellFormed)
        : fresh(prepared != nullptr && wellFormed
                    ? nullptr
                    : compilePattern(pattern, ignoreCase, multiline, wellFormed)),
          code(prepared != nullptr && wellFormed ? prepared : fresh.get()) {}

    CompiledPattern fresh;
    const pcre2_code_16* code;
};

}  // namespace

const RegexMatch* RegexMatchList::item(int index0) const {
    if (index0 < 0 || index0 >= count()) {
        return nullptr;
    }
    return &matches_[static_cast<std::size_t>(index0)];
}

struct RegexEngine::Prepared {
    CompiledPattern code;  // for well-formed subjects
};

void RegexEngine::prepare() {
    CompiledPattern code = compilePattern(pattern_, ignoreCase_, multiline_, true);
    if (code) {
        // Without the JIT the interpreter runs the same code, more slowly.
        (void)pcre2_jit_compile_16(code.get(), PCRE2_JIT_COMPLETE);
    }
    prepared_ = std::make_shared<const Prepared>(Prepared{std::move(code)});
}

bool RegexEngine::setProperty(std::string_view name, bool value) {
    if (name == "IgnoreCase") {
        setIgnoreCase(value);
    } else if (name == "Multiline") {
        setMultiline(value);
    } else if (name == "Global") {
        setGlobal(value);
    } else {
        return false;
    }
    return true;
}

std::shared_ptr<const RegexMatchList> RegexEngine::execute(const std::u16string& subject) const {
    const bool wellFormed = isWellFormed(subject);
    const PatternFor chosen(prepared_ ? prepared_->code.get() : nullptr, pattern_, ignoreCase_,
                            multiline_, wellFormed);
    const pcre2_code_16* code = chosen.code;
    if (code == nullptr) {
        return nullptr;
    }
    const int groups = captureCount(code);
    std::vector<RegexMatch> matches;
    const bool ok = forEachMatch(code, subject, wellFormed, global_, [&](const MatchSpan& match) {
        RegexMatch found{std::u16string(match.group(0)), static_cast<int>(match.begin()), {}};
        found.subMatches.reserve(static_cast<std::size_t>(groups));
        for (int g = 1; g <= groups; ++g) {
            found.subMatches.emplace_back(match.group(g));
        }
        matches.push_back(std::move(found));
    });
    if (!ok) {
        return nullptr;
    }
    return std::make_shared<const RegexMatchList>(std::move(matches));
}

std::optional<std::u16string> RegexEngine::replace(const std::u16string& subject,
                                                   const std::u16string& replacement) const {
    const bool wellFormed = isWellFormed(subject);
    const PatternFor chosen(prepared_ ? prepared_->code.get() : nullptr, pattern_, ignoreCase_,
                            multiline_, wellFormed);
    const pcre2_code_16* code = chosen.code;
    if (code == nullptr) {
        return std::nullopt;
    }
    const int groups = captureCount(code);
    std::u16string out;
    PCRE2_SIZE copied = 0;
    const bool ok = forEachMatch(code, subject, wellFormed, global_, [&](const MatchSpan& match) {
        const PCRE2_SIZE begin = std::max(match.begin(), copied);
        out.append(subject, copied, begin - copied);
        expandReplacement(replacement, match, groups, out);
        copied = std::max(match.end(), copied);
    });
    if (!ok) {
        return std::nullopt;
    }
    out.append(subject, copied);
    return out;
}

}  // namespace quorrin
