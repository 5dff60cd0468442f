#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/command_context.h"
#include "app/program_state.h"
#include "app/run_load_all.h"
#include "app/run_search.h"
#include "app/site_grammar.h"
#include "bench/median.h"
#include "demo/server.h"
#include "platform/curl_holder.h"
#include "platform/literal.h"
#include "tests/support/fake_window_runtime.h"
#include "text/url_codec.h"

// Load-all over 50 result pages of the demo site, with the recording fake
// window, next to a bare libcurl loop that fetches the same 50 addresses one
// at a time. The two run in turn inside every iteration, so a change in the
// machine's load hits both alike; the counters give each side's time per
// 50 pages and their ratio (target: load-all within 1.25x of bare curl):
// `ratio` and `cpuRatio` are the medians of the ratios of the two sides of
// each iteration, since a burst of load from elsewhere on a shared machine
// lands on one side of one pair; `totalRatio` and `totalCpuRatio` divide the
// sums, bursts and all.
namespace quorrin {
namespace {

// On the demo site a keyword ending in "#n" has n result pages, each with
// ten rows of which eight hold the keyword.
constexpr std::string_view kKeyword = "测试#50";
constexpr int kPages = 50;
constexpr int kListedRows = kPages * 8;

// Wall time and the CPU time of the calling thread, which runs both the
// command (the fake runs no threads) and the curl transfers; the demo
// server's own thread is in neither.
class Stopwatch {
  public:
    Stopwatch() : wallStart_(std::chrono::steady_clock::now()), cpuStart_(threadCpuSeconds()) {}
    [[nodiscard]] double wallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
    }
    [[nodiscard]] double cpuSeconds() const { return threadCpuSeconds() - cpuStart_; }

  private:
    static double threadCpuSeconds() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    }

    std::chrono::steady_clock::time_point wallStart_;
    double cpuStart_;
};

struct Lap {
    double wall = 0;
    double cpu = 0;
};

struct Spent {
    double wall = 0;
    double cpu = 0;
    Lap add(const Stopwatch& watch) {
        const Lap lap{watch.wallSeconds(), watch.cpuSeconds()};
        wall += lap.wall;
        cpu += lap.cpu;
        return lap;
    }
};

// The site and what a search leaves behind for load-all: its first page,
// which announces the 50 pages, and the addresses load-all will fetch.
struct FiftyPageSite {
    demo::Server server;
    Text base;
    Text keyword = literalText(kKeyword);
    Text firstPageHtml;
    std::vector<std::string> addresses;

    // Runs the search command as the user would before load-all; answers
    // whether its page announced kPages pages.
    bool start() {
        if (!server.start(0)) {
            return false;
        }
        base = Text(server.baseUrl());
        testing::FakeWindowRuntime window;
        window.setText(Control::编辑框1, keyword);
        ProgramState state;
        CommandContext context{window, state, base, {}};
        runSearch(context);
        firstPageHtml = state.firstPageHtml;
        const Text encoded = urlEncode(keyword, true, true);
        for (int page = 1; page <= kPages; ++page) {
            addresses.push_back(site::resultPageAddress(base, encoded, page).str());
        }
        return site::pageCount(site::pageCountText(firstPageHtml)) == kPages;
    }
};

size_t collect(char* data, size_t size, size_t count, void* into) {
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
}

// One easy handle per address, as each fetch of the client has its own.
bool fetchAllBare(const std::vector<std::string>& addresses) {
    for (const std::string& address : addresses) {
        std::string body;
        const CurlHolder curl;
        curl_easy_setopt(curl.get(), CURLOPT_URL, address.c_str());
        curl_easy_setopt(curl.get(), CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
        long status = 0;
        if (curl_easy_perform(curl.get()) != CURLE_OK ||
            curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
            status != 200 || body.empty()) {
            return false;
        }
        benchmark::DoNotOptimize(body.data());
    }
    return true;
}

// Answers the number of rows load-all listed.
std::size_t loadAll(const FiftyPageSite& site) {
    testing::FakeWindowRuntime window;
    window.setText(Control::编辑框1, site.keyword);
    ProgramState state;
    state.firstPageHtml = site.firstPageHtml;
    CommandContext context{window, state, site.base, {}};
    runLoadAll(context);
    return window.rows().size();
}

void loadAllAgainstBareCurl(benchmark::State& state) {
    FiftyPageSite site;
    if (!site.start()) {
        state.SkipWithError("the demo site did not announce 50 pages");
        return;
    }
    Spent command;
    Spent bare;
    std::vector<double> wallRatios;
    std::vector<double> cpuRatios;
    bool commandFirst = false;
    for (auto _ : state) {
        Lap commandLap;
        Lap bareLap;
        // Alternate which side goes first, so neither always meets the
        // other's leftovers (sockets in TIME_WAIT, warm caches).
        commandFirst = !commandFirst;
        for (int side = 0; side < 2; ++side) {
            const Stopwatch watch;
            if ((side == 0) == commandFirst) {
                const std::size_t rows = loadAll(site);
                commandLap = command.add(watch);
                if (rows != kListedRows) {
                    state.SkipWithError("load-all listed the wrong number of rows");
                    return;
                }
            } else {
                const bool fetched = fetchAllBare(site.addresses);
                bareLap = bare.add(watch);
                if (!fetched) {
                    state.SkipWithError("a bare transfer failed");
                    return;
                }
            }
        }
        wallRatios.push_back(commandLap.wall / bareLap.wall);
        cpuRatios.push_back(commandLap.cpu / bareLap.cpu);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["loadAll_ms"] = command.wall / iterations * 1e3;
    state.counters["bareCurl_ms"] = bare.wall / iterations * 1e3;
    state.counters["ratio"] = bench::median(wallRatios);
    state.counters["totalRatio"] = command.wall / bare.wall;
    state.counters["loadAllCpu_ms"] = command.cpu / iterations * 1e3;
    state.counters["bareCurlCpu_ms"] = bare.cpu / iterations * 1e3;
    state.counters["cpuRatio"] = bench::median(cpuRatios);
    state.counters["totalCpuRatio"] = command.cpu / bare.cpu;
}
BENCHMARK(loadAllAgainstBareCurl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorrin

BENCHMARK_MAIN();
