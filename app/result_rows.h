#pragma once

#include <functional>

#include "app/command_context.h"
#include "platform/text.h"

namespace quorrin {

// Adds to the end of the result list every row of the three lists whose
// title holds the keyword, reading the keyword box anew for each title (the
// user may edit it while a command runs), and calls `onRowAdded` after each
// row. Stops early when the command is asked to stop. Answers the rows added.
int addMatchingRows(CommandContext& context, const TextArray& titles, const TextArray& sharers,
                    const TextArray& shareTimes, const std::function<void()>& onRowAdded = {});

// The address of result page `page` for the keyword now in the keyword box.
[[nodiscard]] Text resultPageAddressForKeyword(CommandContext& context, int page);

}  // namespace quorrin
