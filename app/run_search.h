#pragma once

#include "app/command_context.h"

namespace quorrin {

// The command behind "搜索": fetches the first result page for the keyword,
// keeps it for load-all, and lists the rows whose title holds the keyword.
void runSearch(CommandContext& context);

}  // namespace quorrin
