#include "http/cookies.h"

#include <algorithm>
#include <vector>

#include "platform/text_ops.h"
#include "text/text_between.h"

namespace quorrin {
namespace {

const Text kEquals = "=";
const Text kSeparator = ";";
const Text kDeleted = "deleted";

// Parallel name and value lists of one cookie string, entry i of one
// belonging to entry i of the other.
struct CookieList {
    std::vector<Text> names;
    std::vector<Text> values;
};

CookieList splitCookies(const Text& cookies) {
    CookieList list;
    const TextArray items = splitText(cookies, kSeparator);
    for (const Text& item : items.items()) {
        list.names.push_back(cookieName(item));
        list.values.push_back(cookieValue(item));
    }
    return list;
}

bool isWritten(const Text& name, const Text& value) {
    return !name.empty() && !value.empty() && value != kDeleted;
}

}  // namespace

Text mergeCookies(Text& cookies, Text& returnedCookies) {
    cookies = removeAllSpaces(cookies);
    returnedCookies = removeAllSpaces(returnedCookies);
    if (returnedCookies.empty()) {
        return cookies;
    }
    const CookieList returned = splitCookies(returnedCookies);
    CookieList current = splitCookies(cookies);

    for (std::size_t j = 0; j < returned.names.size(); ++j) {
        // A plain scan from the front: the first of two equal names gets the
        // value, and entries appended for earlier returned cookies take part,
        // so of two equal returned names the later value wins.
        const auto found = std::find(current.names.begin(), current.names.end(), returned.names[j]);
        if (found != current.names.end()) {
            current.values[static_cast<std::size_t>(found - current.names.begin())] =
                returned.values[j];
        } else {
            current.names.push_back(returned.names[j]);
            current.values.push_back(returned.values[j]);
        }
    }

    Text merged;
    for (std::size_t i = 0; i < current.names.size(); ++i) {
        if (isWritten(current.names[i], current.values[i])) {
            merged += current.names[i] + kEquals + current.values[i] + kSeparator;
        }
    }
    cookies = merged;
    return cookies;
}

Text cookieName(const Text& item) {
    const int equals = findText(item, kEquals);
    return trimBothEnds(equals == -1 ? item : leftText(item, equals - 1));
}

Text cookieValue(const Text& item) {
    const int equals = findText(item, kEquals);
    return equals == -1 ? Text() : rightText(item, item.length() - equals);
}

Text withCookieNamesAligned(const Text& headers) {
    return replaceSubtext(headers, "Set-Cookie", "Set-Cookie", 1, kAllOccurrences, false);
}

std::optional<Text> cookieItem(const Text& line) {
    if (findText(line, "Set-Cookie") == -1) {
        return std::nullopt;
    }
    const Text item = findText(line, ";") != -1
                          ? textBetween(line, "Set-Cookie:", ";")
                          : replaceSubtext(line, "Set-Cookie:", {}, 1, kAllOccurrences, false);
    return trimBothEnds(item);
}

}  // namespace quorrin
