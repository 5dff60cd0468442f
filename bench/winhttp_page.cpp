#include <benchmark/benchmark.h>

#include <string>

#include "http/fetch_winhttp.h"
#include "http/fetch_winhttp_response.h"
#include "tests/support/loopback_server.h"
#include "text/regex_matcher.h"

// The decoding side of the WinHttp fetch: finding the declared character
// set, decoding a 1 MB UTF-8 page to code page 936, and the whole fetch of
// that page from the loopback server.
namespace quorrin {
namespace {

constexpr std::size_t kPageSize = 1U << 20;

std::string utf8Page() {
    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=utf-8\"></head><body>";
    while (page.size() < kPageSize) {
        page += "<td class=\"t\">\xE7\x88\xB5\xE8\xBF\xB9 share 2026</td>";
    }
    return page;
}

void findDeclaredCharset(benchmark::State& state) {
    const Text head = Text(utf8Page().substr(0, 1024));
    for (auto _ : state) {
        RegexMatcher matcher;
        matcher.execute("<meta.+?charset=[^\\w]?([-\\w]+)", head);
        benchmark::DoNotOptimize(matcher.subMatchText(1, 1));
    }
}
BENCHMARK(findDeclaredCharset)->Unit(benchmark::kMicrosecond);

void decodeUtf8Page(benchmark::State& state) {
    const ByteSet body(utf8Page());
    for (auto _ : state) {
        RegexMatcher matcher;
        benchmark::DoNotOptimize(winhttp_fetch::pageText(body, matcher));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * body.length());
}
BENCHMARK(decodeUtf8Page)->Unit(benchmark::kMillisecond);

void fetchUtf8Page(benchmark::State& state) {
    LoopbackServer server;
    server.reply("/page", okReply(utf8Page()));
    const Text url(server.url("/page"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(fetchWinHttp(url));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
}
BENCHMARK(fetchUtf8Page)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrin

BENCHMARK_MAIN();
