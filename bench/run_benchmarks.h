#pragma once

#include <benchmark/benchmark.h>

namespace quorrin::bench {

// What BENCHMARK_MAIN does, for programs that set something up first.
inline int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace quorrin::bench
