#include "platform/pending_events.h"

#include <atomic>

namespace quorrin {
namespace {

std::atomic<PendingEventsHandler>& currentHandler() {
    static std::atomic<PendingEventsHandler> handler{nullptr};
    return handler;
}

}  // namespace

void processPendingEvents() {
    if (const PendingEventsHandler handler = currentHandler().load(std::memory_order_acquire)) {
        handler();
    }
}

PendingEventsHandler setPendingEventsHandler(PendingEventsHandler handler) {
    return currentHandler().exchange(handler, std::memory_order_acq_rel);
}

}  // namespace quorrin
