#pragma once

#include <time.h>

namespace quorrin::bench {

// The CPU time the calling thread has used, in seconds.
inline double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace quorrin::bench
