#pragma once

#include "platform/text.h"

namespace quorrin {

// The program-wide values through which the commands hand results to each
// other and keep their intermediate steps. Only one command runs at a time
// (see CommandDispatcher), so the fields need no lock.
struct ProgramState {
    Text pageCountText;     // load-all -> download-address: page count cut from firstPageHtml
    Text firstPageHtml;     // search -> load-all: decoded first result page of the last search
    Text loadPageHtml;      // load-all: the result page it is working on
    TextArray titles;       // search, load-all: titles of the last page extracted
    TextArray sharers;      // sharers of that page
    TextArray shareTimes;   // share times of that page
    Text resolvePageHtml;   // download-address: result page searched for the selected title
    Text selectedTitle;     // download-address: cell 0 of the selected row
    Text fileviewFragment;  // download-address: first file-view link up to the title's marker
    Text fileId;            // download-address: last 8 bytes of the fragment
    Text detailPageHtml;    // download-address: the file detail page
    Text downloadAddress;   // download-address: address cut from the detail page
    Text linkPageHtml;      // download-address: the page at the download address
    Text linkText;          // download-address -> LinkWindow: the address shown, copied, opened

    friend bool operator==(const ProgramState&, const ProgramState&) = default;
};

// Releases every field: the eleven texts and the three arrays with all their
// elements. Runs at exit, once no command can touch the state any more.
void releaseProgramState(ProgramState& state);

}  // namespace quorrin
