#include "http/url_parts.h"

#include "platform/text_ops.h"
#include "text/text_between.h"

namespace quorrin {
namespace {

const Text kHttp = "http://";
const Text kHttps = "https://";
const Text kSlash = "/";
const Text kDot = ".";
const Text kColon = ":";

Text standardHost(Text t, bool baseDomain) {
    if (rightText(t, 1) != kSlash) {
        t += kSlash;
    }
    if (leftText(t, kHttps.length()) == kHttps) {
        t = textBetween(t, kHttps, kSlash);
    } else {
        // The first "http://" anywhere is the one used, not only one at the
        // start.
        if (findText(t, kHttp) == -1) {
            t = kHttp + t;
        }
        t = textBetween(t, kHttp, kSlash);
    }
    if (baseDomain) {
        const TextArray labels = splitText(t, kDot);
        if (labels.count() > 1) {
            t = labels.at(labels.count() - 1) + kDot + labels.at(labels.count());
        }
    }
    return t;
}

// The last "." lying wholly before `position`; -1 once nothing is found, and
// from -1 on.
int dotBefore(const Text& t, int position) {
    return findTextReverse(t, kDot, position);
}

Text countedHost(Text t, bool baseDomain, int labelCount) {
    t = replaceSubtext(replaceSubtext(t, kHttp), kHttps);
    if (const int slash = findText(t, kSlash); slash != -1) {
        t = leftText(t, slash - 1);
    }
    const int length = t.length();
    int position = length;
    for (int step = 0; step < labelCount; ++step) {
        position = dotBefore(t, position);
    }
    const int end = dotBefore(t, position);
    if (baseDomain) {
        return rightText(t, length - end);
    }
    if (end != -1) {
        if (const int first = dotBefore(t, end); first != -1) {
            return rightText(t, length - first);
        }
    }
    return t;
}

}  // namespace

Text urlHost(const Text& url, bool baseDomain, bool keepPort, std::optional<int> labelCount) {
    const Text lower = toLower(url);
    const Text host =
        labelCount ? countedHost(lower, baseDomain, *labelCount) : standardHost(lower, baseDomain);
    if (keepPort) {
        return host;
    }
    const int colon = findText(host, kColon);
    return colon == -1 ? host : leftText(host, colon - 1);
}

int urlPort(const Text& url) {
    const Text host = urlHost(url, false, true);
    if (const int colon = findTextReverse(host, kColon); colon != -1) {
        return toInt(rightText(host, host.length() - colon));
    }
    return toLower(leftText(url, 5)) == Text("https") ? 443 : 80;
}

Text urlPath(const Text& url) {
    // A host that is not found (-1) searches from the first byte.
    const int hostAt = findText(url, urlHost(url), 1, true);
    const int slash = findText(url, kSlash, hostAt, true);
    if (slash == -1) {
        return kSlash;
    }
    return rightText(url, url.length() - slash + 1);
}

Text textAfterColon(const Text& t) {
    const int colon = findText(t, kColon);
    if (colon == -1) {
        return {};
    }
    return trimBothEnds(rightText(t, t.length() - colon));
}

}  // namespace quorrin
