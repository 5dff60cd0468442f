#pragma once

#include "app/command_context.h"

namespace quorrin {

// Fetches a page with GET over WinHttp, every other option at its default,
// as code-page-936 text; empty on any failure. The fetch ends at once when
// the command is asked to stop.
[[nodiscard]] Text fetchPage(const CommandContext& context, const Text& url);

}  // namespace quorrin
