#pragma once

#include <malloc.h>

namespace quorrin::bench {

// Keeps freed blocks in the process instead of handing megabyte blocks back
// to the kernel. Whether glibc returns them depends on the sizes freed
// earlier in the run, so without this the same transfer paid a first touch
// of every page of its buffers (some 700 page faults a megabyte page, which
// cost more than the transfer on a virtual machine) or not, according to
// which benchmark ran before it. Both sides of a comparison run alike.
inline void keepFreedMemory() {
    constexpr int kBlockLimit = 256 << 20;
    mallopt(M_MMAP_THRESHOLD, kBlockLimit);
    mallopt(M_TRIM_THRESHOLD, kBlockLimit);
}

}  // namespace quorrin::bench
