#pragma once

#include "app/command_context.h"

namespace quorrin {

// The command behind "加载全部": fetches every result page the last search
// announced, for the keyword now in the box, and lists the matching rows of
// all of them in page order. Keeps the page count for the download-address
// command.
void runLoadAll(CommandContext& context);

}  // namespace quorrin
