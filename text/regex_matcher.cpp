#include "text/regex_matcher.h"

#include "platform/codepage.h"
#include "platform/text_ops.h"
#include "text/text_between.h"

namespace quorrin {
namespace {

std::u16string toWide(const Text& text) {
    return toUtf16(kCodePageGbk, text.view());
}

Text toGbk(const std::u16string& wide) {
    return Text(fromUtf16(kCodePageGbk, wide));
}

}  // namespace

RegexMatcher::RegexMatcher(const RegexMatcher& other)
    : engine_(other.engine_), matches_(other.matches_), subject_(other.subject_) {}

std::shared_ptr<RegexEngine> RegexMatcher::configured(const Text& pattern, bool caseSensitive,
                                                      bool multiline, bool global,
                                                      bool expandQuotes) {
    auto engine = std::make_shared<RegexEngine>();
    engine->setProperty("IgnoreCase", !caseSensitive);
    engine->setProperty("Multiline", multiline);
    // The engine has no such property; the write is refused and "." keeps
    // stopping at a line feed.
    engine->setProperty("Singleline", true);
    engine->setProperty("Global", global);
    engine->setPattern(toWide(expandQuotes ? expandQuotePlaceholder(pattern) : pattern));
    return engine;
}

std::shared_ptr<const RegexEngine> RegexMatcher::prepared(const Text& pattern, bool caseSensitive,
                                                          bool multiline, bool global,
                                                          bool expandQuotes) {
    std::shared_ptr<RegexEngine> engine =
        configured(pattern, caseSensitive, multiline, global, expandQuotes);
    engine->prepare();
    return engine;
}

bool RegexMatcher::execute(const Text& pattern, const Text& subject, bool caseSensitive,
                           bool multiline, bool global, bool expandQuotes) {
    return execute(configured(pattern, caseSensitive, multiline, global, expandQuotes), subject);
}

bool RegexMatcher::execute(std::shared_ptr<const RegexEngine> engine, const Text& subject) {
    engine_.reset();
    matches_.reset();
    subject_ = toWide(subject);
    matches_ = engine->execute(subject_);
    engine_ = std::move(engine);
    return matches_ != nullptr;
}

Text RegexMatcher::currentPattern() const {
    return engine_ ? toGbk(engine_->pattern()) : Text();
}

Text RegexMatcher::replace(const Text& replacement) const {
    if (!engine_) {
        return {};
    }
    const std::optional<std::u16string> replaced = engine_->replace(subject_, toWide(replacement));
    return replaced ? toGbk(*replaced) : Text();
}

int RegexMatcher::matchCount() const {
    return matches_ ? matches_->count() : 0;
}

int RegexMatcher::subMatchCount() const {
    const RegexMatch* first = match(1);
    return first ? static_cast<int>(first->subMatches.size()) : 0;
}

Text RegexMatcher::matchText(int matchIndex) const {
    const RegexMatch* found = match(matchIndex);
    return found ? toGbk(found->value) : Text();
}

Text RegexMatcher::matchText(int matchIndex, int& position) const {
    const RegexMatch* found = match(matchIndex);
    if (!found) {
        position = -1;
        return {};
    }
    Text text = toGbk(found->value);
    position = positionOf(text, *found);
    return text;
}

// Without the position: finding it converts the whole subject back to code
// page 936, which costs more than the group itself.
Text RegexMatcher::subMatchText(int matchIndex, int subIndex) const {
    const RegexMatch* found = match(matchIndex);
    const int groups = found ? static_cast<int>(found->subMatches.size()) : 0;
    if (subIndex < 1 || subIndex > groups) {
        return {};
    }
    return toGbk(found->subMatches[static_cast<std::size_t>(subIndex - 1)]);
}

Text RegexMatcher::subMatchText(int matchIndex, int subIndex, int& position) const {
    const RegexMatch* found = match(matchIndex);
    const int groups = found ? static_cast<int>(found->subMatches.size()) : 0;
    if (subIndex < 1 || subIndex > groups) {
        position = -1;
        return {};
    }
    Text text = toGbk(found->subMatches[static_cast<std::size_t>(subIndex - 1)]);
    position = positionOf(text, *found);
    return text;
}

const RegexMatch* RegexMatcher::match(int matchIndex) const {
    return matches_ ? matches_->item(matchIndex - 1) : nullptr;
}

// The engine counts characters, the caller wants bytes: search the text in
// the subject as code-page-936 bytes from the character index on, which lies
// at or before the byte offset. The 1-based start FirstIndex is the 0-based
// byte FirstIndex - 1, hence the search begins one byte early.
int RegexMatcher::positionOf(const Text& found, const RegexMatch& match) const {
    return findText(toGbk(subject_), found, match.firstIndex, engine_->ignoreCase()) - 1;
}

}  // namespace quorrin
