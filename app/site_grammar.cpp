#include "app/site_grammar.h"

#include "app/build_settings.h"
#include "platform/literal.h"
#include "platform/text_ops.h"
#include "text/text_between.h"

namespace quorrin::site {
namespace {

struct Markers {
    Text titleLeft = Text("target=\"_blank\" title=\"");
    Text titleRight = Text("\">");
    Text sharerLeft = Text("target=\"_blank\">");
    Text sharerRight = Text("</a></div>");
    Text shareTimeLeft = Text("div class=\"c_ft\">");
    Text shareTimeRight = Text("</div>");
    Text pageCountLeft = literalText("第1/");
    Text pageCountRight = literalText("页");
    Text fileviewLeft = Text("a href=\"/fileview");
    Text fileviewRightBeforeTitle = Text("\" target=\"_blank\" title=\"");
    Text downloadLeft = literalText("<!--文件信息区广告-->\r\n<a href=\"");
    Text downloadRight = literalText(
        "\" target=\"_blank\" class=\"toyunDown\" rel=\"noreferrer\"><img "
        "src=\"/img/f_wangpan.gif\" alt=\"百度网盘下载\"");
    Text labelPrefix = literalText("网盘地址：");
};

const Markers& markers() {
    static const Markers m;
    return m;
}

constexpr int kFileIdLength = 8;

}  // namespace

Text siteBase() {
    return Text(build::kSiteBase);
}

Text addressLabel(const Text& base) {
    return markers().labelPrefix + base + Text("/file-new/");
}

Text resultPageAddress(const Text& base, const Text& encodedKeyword, int page) {
    return base + Text("/search-all-") + encodedKeyword + Text("-") + toText(page) + Text("/");
}

Text fileDetailAddress(const Text& base, const Text& fileId) {
    return base + Text("/fileview") + fileId;
}

void extractColumns(const Text& page, TextArray& titles, TextArray& sharers,
                    TextArray& shareTimes) {
    const Markers& m = markers();
    textBetweenAll(page, m.titleLeft, m.titleRight, titles);
    textBetweenAll(page, m.sharerLeft, m.sharerRight, sharers);
    textBetweenAll(page, m.shareTimeLeft, m.shareTimeRight, shareTimes);
}

ColumnLists extractColumns(const Text& page) {
    ColumnLists lists;
    extractColumns(page, lists.titles, lists.sharers, lists.shareTimes);
    return lists;
}

bool titleMatches(const Text& title, const Text& keyword) {
    return findText(title, keyword) > 0;
}

ResultRow rowAt(const TextArray& titles, const TextArray& sharers, const TextArray& shareTimes,
                int i) {
    return {titles.at(i), sharers.at(i), shareTimes.at(i)};
}

std::vector<ResultRow> matchingRows(const Text& page, const Text& keyword) {
    const ColumnLists lists = extractColumns(page);
    std::vector<ResultRow> rows;
    const std::vector<Text>& titles = lists.titles.items();
    for (int i = 1; i <= lists.titles.count(); ++i) {
        if (titleMatches(titles[static_cast<std::size_t>(i - 1)], keyword)) {
            rows.push_back(rowAt(lists.titles, lists.sharers, lists.shareTimes, i));
        }
    }
    return rows;
}

Text pageCountText(const Text& firstPage) {
    return textBetween(firstPage, markers().pageCountLeft, markers().pageCountRight);
}

int pageCount(const Text& countText) {
    return toInt(countText);
}

Text fileviewFragment(const Text& resultPage, const Text& title) {
    const Markers& m = markers();
    return textBetween(resultPage, m.fileviewLeft, m.fileviewRightBeforeTitle + title);
}

Text fileIdOf(const Text& fragment) {
    return rightText(fragment, kFileIdLength);
}

Text downloadAddress(const Text& detailPage) {
    return textBetween(detailPage, markers().downloadLeft, markers().downloadRight);
}

bool shareStillValid(const Text& linkPage, const Text& title) {
    return findText(linkPage, title) > 0;
}

}  // namespace quorrin::site
