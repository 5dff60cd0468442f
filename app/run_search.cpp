#include "app/run_search.h"

#include "app/result_rows.h"
#include "app/site_grammar.h"
#include "app/status_texts.h"
#include "http/fetch_wininet.h"
#include "platform/text_ops.h"
#include "platform/wininet_curl.h"
#include "text/url_codec.h"

namespace quorrin {

void runSearch(CommandContext& context) {
    WindowRuntime& window = context.window;
    ProgramState& state = context.state;
    window.setControlVisible(Control::透明标签1, true);
    window.setControlText(Control::透明标签1, status::searching());

    const Text address = resultPageAddressForKeyword(context, 1);
    // Supplying both, even empty, keeps WinInet's own cookie store out of it
    // and sends the plain default header block.
    Text cookies;
    Text extraHeaders;
    const WinInetCurl winInet(context.stop);
    const ByteSet body = fetchWinInet(address, 0, {}, &cookies, nullptr, &extraHeaders, nullptr,
                                      false, nullptr, {}, winInet);

    // The site sends UTF-8 with percent escapes in the mark-up: one pass
    // decodes both into code page 936.
    state.firstPageHtml = urlDecode(toText(body), true);
    site::extractColumns(state.firstPageHtml, state.titles, state.sharers, state.shareTimes);

    window.deleteAllRows();
    const int added = addMatchingRows(
        context, state.titles, state.sharers, state.shareTimes,
        [&window] { window.setControlText(Control::透明标签1, status::searchDone()); });
    // The label never stays on "searching" once the search is over.
    if (body.empty()) {
        window.setControlText(Control::透明标签1, status::searchFailed());
    } else if (added == 0) {
        window.setControlText(Control::透明标签1, status::searchDone());
    }
}

}  // namespace quorrin
