#pragma once

#include <optional>

#include "platform/text.h"

namespace quorrin {

// `marker` with every "#引号" in it turned into a double quote, the way
// markers and patterns write one.
[[nodiscard]] Text expandQuotePlaceholder(const Text& marker);

// The piece between the first `leftMarker` at or after `startPosition` and
// the first `rightMarker` after it, untrimmed; empty when either is missing.
// "#引号" in a marker stands for a double quote. Case-sensitive unless asked.
[[nodiscard]] Text textBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                               int startPosition = 1, bool caseInsensitive = false);

// Every piece between the markers, trimmed, empty ones dropped, into
// `results` (emptied first). Each next search starts at the right marker
// just found, so a closing marker may open the next piece. Returns the
// number of entries. An empty marker collects nothing.
int textBetweenAll(const Text& source, const Text& leftMarker, const Text& rightMarker,
                   TextArray& results, bool caseSensitive = false, int maxLength = 0,
                   const Text& prefix = {}, const Text& suffix = {}, bool includeLeft = false,
                   bool includeRight = false, int startPosition = 0);

}  // namespace quorrin
