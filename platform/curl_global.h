#pragma once

// libcurl's process-wide set-up is not thread-safe, so it runs exactly once,
// before any transfer: main() calls this before a worker starts, and every
// handle owner calls it again, which then costs one check.
namespace quorrin {

// True when libcurl is ready for use.
bool ensureCurlInitialised();

}  // namespace quorrin
