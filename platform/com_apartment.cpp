#include "platform/com_apartment.h"

namespace quorrin {
namespace {

// Apartments belong to threads, so the count does too.
thread_local int initCount = 0;

}  // namespace

bool coInitialize() {
    ++initCount;
    return initCount == 1;
}

void coUninitialize() {
    if (initCount > 0) {
        --initCount;
    }
}

int comInitCount() {
    return initCount;
}

}  // namespace quorrin
