#pragma once

#include <stop_token>

#include "app/program_state.h"
#include "platform/text.h"
#include "platform/window_runtime.h"

namespace quorrin {

// What a command receives when its worker runs it. Commands reach the
// windows only through `window` and share results only through `state`.
struct CommandContext {
    WindowRuntime& window;
    ProgramState& state;
    // The share-index site: scheme and host, no trailing "/". The program
    // passes site::siteBase(); tests pass their loopback server's base.
    Text siteBase;
    // Requested when the main window closes: fetches abort, and the command
    // should end without starting anything new.
    std::stop_token stop;
};

}  // namespace quorrin
