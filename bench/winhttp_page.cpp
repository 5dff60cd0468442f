#include <benchmark/benchmark.h>

#include <string>

#include "bench/utf8_page.h"
#include "http/fetch_winhttp_response.h"
#include "text/regex_matcher.h"

// The decoding side of the WinHttp fetch: finding the declared character
// set with the fetch's own compiled pattern, and decoding a 1 MB UTF-8 page to code page 936. The
// whole fetch of that page is measured in bench/fetch.cpp.
namespace quorrin {
namespace {

constexpr std::size_t kPageSize = 1U << 20;

void findDeclaredCharset(benchmark::State& state) {
    const Text head = Text(bench::utf8Page(kPageSize).substr(0, 1024));
    for (auto _ : state) {
        RegexMatcher matcher;
        matcher.execute(winhttp_fetch::charsetEngine(), head);
        benchmark::DoNotOptimize(matcher.subMatchText(1, 1));
    }
}
BENCHMARK(findDeclaredCharset)->Unit(benchmark::kMicrosecond);

void decodeUtf8Page(benchmark::State& state) {
    const ByteSet body(bench::utf8Page(kPageSize));
    for (auto _ : state) {
        RegexMatcher matcher;
        benchmark::DoNotOptimize(winhttp_fetch::pageText(body, matcher));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * body.length());
}
BENCHMARK(decodeUtf8Page)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrin

BENCHMARK_MAIN();
