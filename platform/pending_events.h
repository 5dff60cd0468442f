#pragma once

// Long text walks let the window runtime process its pending events between
// passes, so a walk on the window thread does not freeze the window. Until a
// runtime installs its handler this does nothing; the handler itself must do
// nothing on a worker thread.
namespace quorrin {

using PendingEventsHandler = void (*)();

void processPendingEvents();

// Installs the process-wide handler (nullptr removes it). Returns the one it
// replaces.
PendingEventsHandler setPendingEventsHandler(PendingEventsHandler handler);

}  // namespace quorrin
