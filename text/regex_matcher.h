#pragma once

#include <memory>
#include <string>

#include "platform/com_apartment.h"
#include "platform/regex_engine.h"
#include "platform/text.h"

namespace quorrin {

// Runs a regular expression over a text and reads its matches and capture
// groups by 1-based number. A matcher also holds one COM initialisation of
// the thread that made it, from construction to destruction, so it must be
// destroyed on that thread. Reading operations answer the empty text or 0
// before the first `execute`, and for a match or group number outside the
// list; no operation reports an error.
class RegexMatcher {
  public:
    RegexMatcher() = default;
    // Shares the source's engine and match list and copies its subject. The
    // copy takes a COM initialisation of its own, so that destroying it,
    // which uninitialises once, keeps the thread balanced.
    RegexMatcher(const RegexMatcher& other);
    RegexMatcher& operator=(const RegexMatcher&) = delete;
    ~RegexMatcher() = default;

    // Compiles `pattern` afresh and runs it over `subject`. With
    // `expandQuotes`, each "#引号" in the pattern stands for a double quote.
    // False when the pattern is rejected; true otherwise, even without a match.
    bool execute(const Text& pattern, const Text& subject, bool caseSensitive = false,
                 bool multiline = true, bool global = true, bool expandQuotes = false);

    // For a pattern that runs again and again: an engine set up as `execute`
    // sets one up, with the pattern compiled once (RegexEngine::prepare),
    // to keep and hand to the `execute` below, on any thread.
    [[nodiscard]] static std::shared_ptr<const RegexEngine> prepared(const Text& pattern,
                                                                     bool caseSensitive = false,
                                                                     bool multiline = true,
                                                                     bool global = true,
                                                                     bool expandQuotes = false);
    // Runs a prepared engine over `subject`, as `execute` runs its own.
    bool execute(std::shared_ptr<const RegexEngine> engine, const Text& subject);

    // The pattern of the last `execute`, after the quote expansion.
    [[nodiscard]] Text currentPattern() const;

    // The subject of the last `execute` with its matches replaced (every one
    // in global mode, else the first); $1..$99 and $& refer to groups and
    // the whole match.
    [[nodiscard]] Text replace(const Text& replacement) const;

    [[nodiscard]] int matchCount() const;
    // The number of capture groups, read on the first match.
    [[nodiscard]] int subMatchCount() const;

    [[nodiscard]] Text matchText(int matchIndex) const;
    // Also gives the 0-based byte offset of the match in the subject: the
    // text is searched from byte FirstIndex (a character index, never past
    // the byte offset), so it can land one byte early on a repeated letter,
    // and is -2 when that start splits a two-byte character and the search
    // steps over the match. -1 for a match number outside the list.
    Text matchText(int matchIndex, int& position) const;

    [[nodiscard]] Text subMatchText(int matchIndex, int subIndex) const;
    // The position is searched like that of `matchText`, from the start of
    // the whole match.
    Text subMatchText(int matchIndex, int subIndex, int& position) const;

  private:
    [[nodiscard]] static std::shared_ptr<RegexEngine> configured(const Text& pattern,
                                                                 bool caseSensitive, bool multiline,
                                                                 bool global, bool expandQuotes);
    [[nodiscard]] const RegexMatch* match(int matchIndex) const;
    [[nodiscard]] int positionOf(const Text& found, const RegexMatch& match) const;

    // Declared first so that it is released last, after the engine objects.
    ComApartment apartment_;
    std::shared_ptr<const RegexEngine> engine_;
    std::shared_ptr<const RegexMatchList> matches_;
    std::u16string subject_;
};

}  // namespace quorrin
