#pragma once

#include "app/command_context.h"

namespace quorrin {

// The command behind "选中想下载的点击我": walks the result pages that
// load-all counted until one holds the selected title, follows its file-view
// link to the detail page, cuts the download address out of it, checks that
// the share still names the file, and shows the address in the link window.
// An expired share is reported and the walk goes on with the next page.
void runResolveDownload(CommandContext& context);

}  // namespace quorrin
