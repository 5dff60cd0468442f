#pragma once

#include <vector>

#include "platform/text.h"

// Everything the client knows about the share-index site: its addresses and
// the marker pairs that frame each piece of data in its mark-up. No other
// file holds a marker of the site.
namespace quorrin::site {

// The site's base address from the build setting: scheme and host, no
// trailing "/".
[[nodiscard]] Text siteBase();

// "网盘地址：" + base + "/file-new/", the text of the main window's label.
[[nodiscard]] Text addressLabel(const Text& base);

// base + "/search-all-" + encodedKeyword + "-" + page + "/".
[[nodiscard]] Text resultPageAddress(const Text& base, const Text& encodedKeyword, int page);
// base + "/fileview" + fileId.
[[nodiscard]] Text fileDetailAddress(const Text& base, const Text& fileId);

// The three column lists of one result page, matched by position.
struct ColumnLists {
    TextArray titles;
    TextArray sharers;
    TextArray shareTimes;
};

// Fills each list from the page (each emptied first).
void extractColumns(const Text& page, TextArray& titles, TextArray& sharers, TextArray& shareTimes);
[[nodiscard]] ColumnLists extractColumns(const Text& page);

struct ResultRow {
    Text title;
    Text sharer;
    Text shareTime;
    friend bool operator==(const ResultRow&, const ResultRow&) = default;
};

// Whether a title is listed for the keyword as the user typed it: a
// case-sensitive byte search.
[[nodiscard]] bool titleMatches(const Text& title, const Text& keyword);

// Row i (1-based) of the lists; a cell whose list is shorter is empty.
[[nodiscard]] ResultRow rowAt(const TextArray& titles, const TextArray& sharers,
                              const TextArray& shareTimes, int i);

// The rows of one page whose title holds the keyword, in page order.
[[nodiscard]] std::vector<ResultRow> matchingRows(const Text& page, const Text& keyword);

// The text between "第1/" and "页" of the first result page, untrimmed.
[[nodiscard]] Text pageCountText(const Text& firstPage);
[[nodiscard]] int pageCount(const Text& countText);

// From the page's first file-view link up to the link of `title`.
[[nodiscard]] Text fileviewFragment(const Text& resultPage, const Text& title);
// The last 8 bytes of the fragment.
[[nodiscard]] Text fileIdOf(const Text& fragment);

// The cloud-drive download address of a file detail page.
[[nodiscard]] Text downloadAddress(const Text& detailPage);

// A share is still valid when its download-link page names the file.
[[nodiscard]] bool shareStillValid(const Text& linkPage, const Text& title);

}  // namespace quorrin::site
