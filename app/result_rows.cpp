#include "app/result_rows.h"

#include "app/site_grammar.h"
#include "text/url_codec.h"

namespace quorrin {

int addMatchingRows(CommandContext& context, const TextArray& titles, const TextArray& sharers,
                    const TextArray& shareTimes, const std::function<void()>& onRowAdded) {
    WindowRuntime& window = context.window;
    int added = 0;
    for (int i = 1; i <= titles.count() && !context.stop.stop_requested(); ++i) {
        const Text keyword = window.controlText(Control::编辑框1);
        if (!site::titleMatches(titles.at(i), keyword)) {
            continue;
        }
        const site::ResultRow cells = site::rowAt(titles, sharers, shareTimes, i);
        const int row = window.insertRow();
        window.setCellText(row, 0, cells.title);
        window.setCellText(row, 1, cells.sharer);
        window.setCellText(row, 2, cells.shareTime);
        ++added;
        if (onRowAdded) {
            onRowAdded();
        }
    }
    return added;
}

Text resultPageAddressForKeyword(CommandContext& context, int page) {
    const Text encoded = urlEncode(context.window.controlText(Control::编辑框1), true, true);
    return site::resultPageAddress(context.siteBase, encoded, page);
}

}  // namespace quorrin
