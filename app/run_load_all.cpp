#include "app/run_load_all.h"

#include "app/page_fetch.h"
#include "app/result_rows.h"
#include "app/site_grammar.h"
#include "app/status_texts.h"

namespace quorrin {

void runLoadAll(CommandContext& context) {
    WindowRuntime& window = context.window;
    ProgramState& state = context.state;
    window.setControlText(Control::透明标签1, status::loading());

    // The count always comes from the last search's first page, even when
    // the keyword has been changed since.
    state.pageCountText = site::pageCountText(state.firstPageHtml);
    window.deleteAllRows();
    const int pages = site::pageCount(state.pageCountText);

    for (int page = 1; page <= pages && !context.stop.stop_requested(); ++page) {
        state.loadPageHtml = fetchPage(context, resultPageAddressForKeyword(context, page));
        site::extractColumns(state.loadPageHtml, state.titles, state.sharers, state.shareTimes);
        addMatchingRows(context, state.titles, state.sharers, state.shareTimes);
    }
    window.setControlText(Control::透明标签1, status::loadDone());
}

}  // namespace quorrin
