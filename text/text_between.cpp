#include "text/text_between.h"

#include "platform/literal.h"
#include "platform/pending_events.h"
#include "platform/text_ops.h"

namespace quorrin {

Text expandQuotePlaceholder(const Text& marker) {
    static const Text placeholder = literalText("#引号");
    return replaceSubtext(marker, placeholder, Text("\""));
}

Text textBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                 int startPosition, bool caseInsensitive) {
    const Text left = expandQuotePlaceholder(leftMarker);
    const Text right = expandQuotePlaceholder(rightMarker);
    // An empty marker would "match" anywhere; it marks nothing.
    if (left.empty() || right.empty()) {
        return {};
    }
    const int p = findText(source, left, startPosition, caseInsensitive);
    if (p < 0) {
        return {};
    }
    const int b = p + left.length();
    const int q = findText(source, right, b, caseInsensitive);
    if (q < 0) {
        return {};
    }
    return midText(source, b, q - b);
}

int textBetweenAll(const Text& source, const Text& leftMarker, const Text& rightMarker,
                   TextArray& results, bool caseSensitive, int maxLength, const Text& prefix,
                   const Text& suffix, bool includeLeft, bool includeRight, int startPosition) {
    results.clear();
    if (leftMarker.empty() || rightMarker.empty()) {
        return 0;
    }
    const bool ignoreCase = !caseSensitive;
    int pos = startPosition;
    for (;;) {
        const int l = findText(source, leftMarker, pos, ignoreCase);
        if (l < 0) {
            break;
        }
        const int afterLeft = l + leftMarker.length();
        const int r = findText(source, rightMarker, afterLeft, ignoreCase);
        if (r < 0) {
            break;
        }
        pos = afterLeft;
        Text entry = trimBothEnds(midText(source, afterLeft, r - afterLeft));
        if (!prefix.empty() || !suffix.empty()) {
            entry = prefix + entry + suffix;
        }
        if (!entry.empty()) {
            if (includeLeft) {
                entry = leftMarker + entry;
            }
            if (includeRight) {
                entry += rightMarker;
            }
            if (maxLength == 0 || entry.length() < maxLength) {
                results.append(std::move(entry));
            }
            pos = r;
        }
        processPendingEvents();
    }
    return results.count();
}

}  // namespace quorrin
