#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/command_dispatcher.h"
#include "app/program_state.h"
#include "app/windows/main_window.h"
#include "bench/run_benchmarks.h"
#include "bench/thread_cpu.h"
#include "platform/literal.h"
#include "platform/qt/qt_window_runtime.h"

// Rows added to the real main window's result list from a worker, through
// the Qt window runtime, the way load-all adds them: the list cleared, then
// per row insertRow and three setCellText, each carried to the window thread
// and waited for, and at the end the status text. The window thread
// meanwhile runs its event loop, painting the shown window. Counters:
// microseconds per row seen by the worker and spent by the window thread,
// the longest single call the worker waited for (clearing the full list is
// reported apart), and the longest time the window thread went without
// handling events (wall, and its own CPU, which leaves out the time the
// machine gave to others): under 50 ms the window stays responsive.
namespace quorrin {
namespace {

double threadCpuMillis() {
    return bench::threadCpuSeconds() * 1e3;
}

constexpr int kRows = 5000;
constexpr int kColumns = kResultColumns;

using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Texts like those of the demo site, in code page 936, made once.
std::vector<std::vector<Text>> makeRows() {
    std::vector<std::vector<Text>> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        const std::string n = std::to_string(i + 1);
        rows.push_back({literalText("测试 第" + n + "页-" + n + " 高清版.mp4"),
                        literalText("分享达人"),
                        Text("2019-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) +
                             " 12:34")});
    }
    return rows;
}

// What the worker saw, read by the window thread after joining it.
struct WorkerTimes {
    double totalMs = 0;
    double clearMs = 0;
    double longestCallMs = 0;
};

void addRows(WindowRuntime& runtime, const std::vector<std::vector<Text>>& rows,
             WorkerTimes& times) {
    const Clock::time_point start = Clock::now();
    runtime.deleteAllRows();
    times.clearMs = millisSince(start);
    for (const std::vector<Text>& cells : rows) {
        Clock::time_point call = Clock::now();
        const int row = runtime.insertRow();
        times.longestCallMs = std::max(times.longestCallMs, millisSince(call));
        for (int column = 0; column < kColumns; ++column) {
            call = Clock::now();
            runtime.setCellText(row, column, cells[static_cast<std::size_t>(column)]);
            times.longestCallMs = std::max(times.longestCallMs, millisSince(call));
        }
    }
    // Load-all ends on its status text, which the list's rows precede.
    const Clock::time_point status = Clock::now();
    runtime.setControlText(Control::透明标签1, literalText("加载完成"));
    times.longestCallMs = std::max(times.longestCallMs, millisSince(status));
    times.totalMs = millisSince(start);
}

// Ticks every millisecond on the window thread and keeps the longest gap
// between two ticks: the longest the thread was busy with one thing.
class Heartbeat {
  public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tick(); });
    }
    void start() {
        lastWall_ = Clock::now();
        lastCpu_ = threadCpuMillis();
        timer_.start();
    }
    void stop() {
        tick();
        timer_.stop();
    }
    [[nodiscard]] double longestGapMs() const { return longestGapMs_; }
    [[nodiscard]] double longestCpuGapMs() const { return longestCpuGapMs_; }

  private:
    void tick() {
        const double cpu = threadCpuMillis();
        longestGapMs_ = std::max(longestGapMs_, millisSince(lastWall_));
        longestCpuGapMs_ = std::max(longestCpuGapMs_, cpu - lastCpu_);
        lastWall_ = Clock::now();
        lastCpu_ = cpu;
    }

    QTimer timer_;
    Clock::time_point lastWall_;
    double lastCpu_ = 0;
    double longestGapMs_ = 0;
    double longestCpuGapMs_ = 0;
};

void rowsFromWorker(benchmark::State& state) {
    QtWindowRuntime runtime;
    ProgramState programState;
    const Text siteBase("http://127.0.0.1:1");
    CommandDispatcher dispatcher(runtime, programState, siteBase);
    MainWindow window(runtime, dispatcher, siteBase);
    window.show();
    const auto* list = window.findChild<QTreeWidget*>(QStringLiteral("超级列表框1"));
    const std::vector<std::vector<Text>> rows = makeRows();

    // Every run starts on a full list, as a second load-all does.
    WorkerTimes unused;
    addRows(runtime, rows, unused);
    QCoreApplication::processEvents();

    double workerMs = 0;
    double longestClearMs = 0;
    double longestCallMs = 0;
    double windowCpuMs = 0;
    Heartbeat heartbeat;
    for (auto _ : state) {
        WorkerTimes times;
        QEventLoop loop;
        const double cpuStart = threadCpuMillis();
        heartbeat.start();
        runtime.startWorker([&] {
            addRows(runtime, rows, times);
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        runtime.waitForWorkers();
        heartbeat.stop();
        windowCpuMs += threadCpuMillis() - cpuStart;
        if (list == nullptr || list->topLevelItemCount() != kRows ||
            list->topLevelItem(kRows - 1)->text(2) != QStringLiteral("2019-05-19 12:34")) {
            state.SkipWithError("the list does not hold the rows written");
            return;
        }
        state.SetIterationTime(times.totalMs * 1e-3);
        workerMs += times.totalMs;
        longestClearMs = std::max(longestClearMs, times.clearMs);
        longestCallMs = std::max(longestCallMs, times.longestCallMs);
    }
    const double rowsAdded = static_cast<double>(state.iterations()) * kRows;
    state.counters["us_per_row"] = workerMs * 1e3 / rowsAdded;
    state.counters["windowCpu_us_per_row"] = windowCpuMs * 1e3 / rowsAdded;
    state.counters["longestCall_ms"] = longestCallMs;
    state.counters["clearFull_ms"] = longestClearMs;
    state.counters["windowStall_ms"] = heartbeat.longestGapMs();
    state.counters["windowStallCpu_ms"] = heartbeat.longestCpuGapMs();
}
BENCHMARK(rowsFromWorker)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace quorrin

int main(int argc, char** argv) {
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication app(argc, argv);
    return quorrin::bench::runBenchmarks(argc, argv);
}
