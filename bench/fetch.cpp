#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "bench/bare_curl.h"
#include "bench/median.h"
#include "bench/run_benchmarks.h"
#include "bench/steady_heap.h"
#include "bench/utf8_page.h"
#include "http/fetch_winhttp.h"
#include "http/fetch_wininet.h"
#include "tests/support/loopback_server.h"

// A 1 MB page from the loopback server, through fetchWinInet and through a
// bare libcurl easy transfer, so the cost of the WinInet layer (header block,
// buffering, 1024-byte chunked read) shows as the ratio of the two; and a
// 1 MB UTF-8 page that declares its charset, through fetchWinHttp (decode to
// code page 936 included) and through the same bare transfer, apart and in
// turn.
namespace quorrin {
namespace {

constexpr std::size_t kPageSize = 1U << 20;

// The same scripted pages for every request; set up outside the timed loop.
void servePage(LoopbackServer& server) {
    server.reply("/page", okReply(std::string(kPageSize, 'p'), {"Content-Type: text/html"}));
    server.reply("/utf8", okReply(bench::utf8Page(kPageSize), {"Content-Type: text/html"}));
}

bool fetchBare(const std::string& url) {
    const std::optional<std::string> page = bench::bareCurlGet(url);
    benchmark::DoNotOptimize(page);
    return page && page->size() == kPageSize;
}

bool fetchDecoded(const Text& url) {
    ByteSet body;
    const Text page = fetchWinHttp(url, 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {},
                                   {}, 0, nullptr, nullptr, &body);
    benchmark::DoNotOptimize(page.c_str());
    return body.length() == static_cast<int>(kPageSize) && !page.empty();
}

void fetchWinInetPage(benchmark::State& state) {
    LoopbackServer server;
    servePage(server);
    const Text url(server.url("/page"));
    for (auto _ : state) {
        Text cookies;
        Text extraHeaders;
        const ByteSet page = fetchWinInet(url, 0, {}, &cookies, nullptr, &extraHeaders);
        if (page.length() != static_cast<int>(kPageSize)) {
            state.SkipWithError("short page");
            break;
        }
        benchmark::DoNotOptimize(page.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
}
BENCHMARK(fetchWinInetPage)->Unit(benchmark::kMillisecond);

void fetchWinHttpUtf8Page(benchmark::State& state) {
    LoopbackServer server;
    servePage(server);
    const Text url(server.url("/utf8"));
    for (auto _ : state) {
        if (!fetchDecoded(url)) {
            state.SkipWithError("short page");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
}
BENCHMARK(fetchWinHttpUtf8Page)->Unit(benchmark::kMillisecond);

// Argument 0: the plain page; 1: the UTF-8 page.
void bareCurlPage(benchmark::State& state) {
    LoopbackServer server;
    servePage(server);
    const std::string url = server.url(state.range(0) == 0 ? "/page" : "/utf8");
    for (auto _ : state) {
        if (!fetchBare(url)) {
            state.SkipWithError("transfer failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
}
BENCHMARK(bareCurlPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The UTF-8 page through fetchWinHttp and through the bare transfer in
// turn, the order alternating: `ratio` is the median of the iterations'
// paired ratios of wall time (a burst of load from elsewhere on a shared
// machine lands on one side of one pair), `totalRatio` the ratio of the sums.
void fetchWinHttpAgainstBareCurl(benchmark::State& state) {
    LoopbackServer server;
    servePage(server);
    const std::string url = server.url("/utf8");
    const Text textUrl(url);
    std::vector<double> ratios;
    double fetchSeconds = 0;
    double bareSeconds = 0;
    bool fetchFirst = false;
    for (auto _ : state) {
        fetchFirst = !fetchFirst;
        double lap[2] = {0, 0};  // fetchWinHttp, bare
        for (int side = 0; side < 2; ++side) {
            const bool fetchSide = (side == 0) == fetchFirst;
            const auto start = std::chrono::steady_clock::now();
            const bool ok = fetchSide ? fetchDecoded(textUrl) : fetchBare(url);
            lap[fetchSide ? 0 : 1] =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!ok) {
                state.SkipWithError("a transfer failed");
                return;
            }
        }
        fetchSeconds += lap[0];
        bareSeconds += lap[1];
        ratios.push_back(lap[0] / lap[1]);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["fetchWinHttp_ms"] = fetchSeconds / iterations * 1e3;
    state.counters["bareCurl_ms"] = bareSeconds / iterations * 1e3;
    state.counters["ratio"] = bench::median(ratios);
    state.counters["totalRatio"] = fetchSeconds / bareSeconds;
}
BENCHMARK(fetchWinHttpAgainstBareCurl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorrin

int main(int argc, char** argv) {
    quorrin::bench::keepFreedMemory();
    return quorrin::bench::runBenchmarks(argc, argv);
}
