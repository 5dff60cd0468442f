#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The regular-expression automation engine, on PCRE2 in UTF-16: the members
// the matcher uses and their behaviour. Strings cross as UTF-16; indexes are
// 0-based UTF-16 units, as the engine it stands in for counts them.
namespace quorrin {

struct RegexMatch {
    std::u16string value;
    int firstIndex = 0;  // start of the match in the subject, in UTF-16 units
    // One entry a capture group; a group that took no part reads as empty.
    std::vector<std::u16string> subMatches;
};

// What Execute answers: the matches in subject order.
class RegexMatchList {
  public:
    explicit RegexMatchList(std::vector<RegexMatch> matches) : matches_(std::move(matches)) {}

    [[nodiscard]] int count() const { return static_cast<int>(matches_.size()); }
    // The match at a 0-based index, or nothing outside the list.
    [[nodiscard]] const RegexMatch* item(int index0) const;

  private:
    std::vector<RegexMatch> matches_;
};

// The engine holds its options and pattern; each Execute or Replace compiles
// the pattern afresh (unless prepared) and makes its own match data, so one
// engine may serve several threads as long as none of them writes a
// property meanwhile.
class RegexEngine {
  public:
    [[nodiscard]] bool ignoreCase() const { return ignoreCase_; }
    [[nodiscard]] bool multiline() const { return multiline_; }
    [[nodiscard]] bool global() const { return global_; }
    [[nodiscard]] const std::u16string& pattern() const { return pattern_; }

    void setIgnoreCase(bool on) {
        ignoreCase_ = on;
        prepared_.reset();
    }
    void setMultiline(bool on) {
        multiline_ = on;
        prepared_.reset();
    }
    void setGlobal(bool on) { global_ = on; }
    void setPattern(std::u16string pattern) {
        pattern_ = std::move(pattern);
        prepared_.reset();
    }

    // Writes a logical property by its automation name ("IgnoreCase",
    // "Multiline", "Global"). A name the engine lacks, such as "Singleline",
    // changes nothing and answers false.
    bool setProperty(std::string_view name, bool value);

    // The matches of the pattern over `subject`: all of them with Global on,
    // else the first. Nothing when the pattern is rejected or matching fails.
    [[nodiscard]] std::shared_ptr<const RegexMatchList> execute(
        const std::u16string& subject) const;

    // `subject` with the matches replaced (all with Global on, else the
    // first). In `replacement`, $1..$99 name a capture group, $& the whole
    // match, $` and $' the text before and after it and $$ one dollar sign;
    // any other "$" stays as written. Nothing when the pattern is rejected.
    [[nodiscard]] std::optional<std::u16string> replace(const std::u16string& subject,
                                                        const std::u16string& replacement) const;

    // Compiles the pattern now, with PCRE2's JIT where the machine has it,
    // for a pattern that runs again and again: later Executes and Replaces
    // over subjects without a lone surrogate use it instead of compiling
    // afresh. Writing the pattern or a compile option drops it. The compiled
    // pattern is never changed, so a prepared engine may serve several
    // threads like any other.
    void prepare();

  private:
    struct Prepared;

    bool ignoreCase_ = false;
    bool multiline_ = false;
    bool global_ = false;
    std::u16string pattern_;
    std::shared_ptr<const Prepared> prepared_;
};

}  // namespace quorrin
