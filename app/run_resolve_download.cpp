#include "app/run_resolve_download.h"

#include "app/page_fetch.h"
#include "app/result_rows.h"
#include "app/site_grammar.h"
#include "app/status_texts.h"
#include "platform/text_ops.h"
#include "platform/web_address.h"

namespace quorrin {
namespace {

// The title of the selected row, read anew each time: the user may change
// the selection while the command runs. Empty when nothing is selected.
Text selectedTitle(WindowRuntime& window) {
    const int row = window.selectedRow();
    return row < 0 ? Text() : window.cellText(row, 0);
}

// Follows the title's file-view link on the result page held in the state
// to the share's page. Answers whether the share still names the file; the
// address is left in linkText either way.
bool resolveOnPage(CommandContext& context) {
    ProgramState& state = context.state;
    state.fileviewFragment = site::fileviewFragment(state.resolvePageHtml, state.selectedTitle);
    state.fileId = site::fileIdOf(state.fileviewFragment);
    state.detailPageHtml =
        fetchPage(context, site::fileDetailAddress(context.siteBase, state.fileId));
    state.downloadAddress = site::downloadAddress(state.detailPageHtml);
    // The address comes from a third-party page: anything but http or https
    // is not fetched, and the share then counts as expired.
    state.linkPageHtml =
        isWebAddress(state.downloadAddress) ? fetchPage(context, state.downloadAddress) : Text();
    state.linkText = state.downloadAddress;
    return site::shareStillValid(state.linkPageHtml, state.selectedTitle);
}

}  // namespace

void runResolveDownload(CommandContext& context) {
    WindowRuntime& window = context.window;
    ProgramState& state = context.state;
    window.setControlText(Control::透明标签1, status::resolving());

    const int pages = site::pageCount(state.pageCountText);
    for (int page = 1; page <= pages && !context.stop.stop_requested(); ++page) {
        // Without a selection there is nothing to resolve: an empty title
        // would be "found" on every page and lead to a file nobody chose.
        if (selectedTitle(window).empty()) {
            break;
        }
        state.resolvePageHtml = fetchPage(context, resultPageAddressForKeyword(context, page));
        state.selectedTitle = selectedTitle(window);
        if (state.selectedTitle.empty()) {
            break;
        }
        if (findText(state.resolvePageHtml, state.selectedTitle) < 0) {
            continue;
        }
        if (resolveOnPage(context)) {
            window.runModalWindow(ModalWindowId::linkWindow);
            break;
        }
        window.showMessageBox(status::shareExpired());
    }
    window.setControlText(Control::透明标签1, status::resolveDone());
}

}  // namespace quorrin
