#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/command_context.h"
#include "app/program_state.h"
#include "app/result_rows.h"
#include "app/run_load_all.h"
#include "app/run_search.h"
#include "app/site_grammar.h"
#include "bench/bare_curl.h"
#include "bench/median.h"
#include "bench/thread_cpu.h"
#include "demo/server.h"
#include "platform/literal.h"
#include "tests/support/fake_window_runtime.h"

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
    Stopwatch()
        : wallStart_(std::chrono::steady_clock::now()), cpuStart_(bench::threadCpuSeconds()) {}
    [[nodiscard]] double wallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
    }
    [[nodiscard]] double cpuSeconds() const { return bench::threadCpuSeconds() - cpuStart_; }

  private:
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
        for (int page = 1; page <= kPages; ++page) {
            addresses.push_back(resultPageAddressForKeyword(context, page).str());
        }
        return site::pageCount(site::pageCountText(firstPageHtml)) == kPages;
    }
};

// One easy handle per address, as each fetch of the client has its own.
bool fetchAllBare(const std::vector<std::string>& addresses) {
    for (const std::string& address : addresses) {
        const std::optional<std::string> body = bench::bareCurlGet(address);
        if (!body || body->empty()) {
            return false;
        }
        benchmark::DoNotOptimize(body->data());
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
