#include <benchmark/benchmark.h>

#include <string>

#include "http/fetch_wininet.h"
#include "platform/curl_holder.h"
#include "tests/support/loopback_server.h"

// A 1 MB page from the loopback server, through fetchWinInet and through a
// bare libcurl easy transfer, so the cost of the WinInet layer (header block,
// buffering, 1024-byte chunked read) shows as the ratio of the two.
namespace quorrin {
namespace {

constexpr std::size_t kPageSize = 1U << 20;

// The same scripted page for every request; set up outside the timed loop.
void servePage(LoopbackServer& server) {
    server.reply("/page", okReply(std::string(kPageSize, 'p'), {"Content-Type: text/html"}));
}

size_t collect(char* data, size_t size, size_t count, void* into) {
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
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

void bareCurlPage(benchmark::State& state) {
    LoopbackServer server;
    servePage(server);
    const std::string url = server.url("/page");
    for (auto _ : state) {
        std::string page;
        const CurlHolder curl;
        curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &page);
        if (curl_easy_perform(curl.get()) != CURLE_OK || page.size() != kPageSize) {
            state.SkipWithError("transfer failed");
            break;
        }
        benchmark::DoNotOptimize(page.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
}
BENCHMARK(bareCurlPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrin

BENCHMARK_MAIN();
