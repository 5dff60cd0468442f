#include "app/command_dispatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/fake_window_runtime.h"

namespace quorrin {
namespace {

using ::testing::ElementsAre;
using testing::FakeWindowRuntime;

// Thread-safe list of what the probe commands did, in order.
class Journal {
  public:
    void add(std::string entry) {
        const std::scoped_lock lock(mutex_);
        entries_.push_back(std::move(entry));
    }
    std::vector<std::string> entries() const {
        const std::scoped_lock lock(mutex_);
        return entries_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
};

// A command that tells the journal when it starts, then waits until the
// test lets it finish (or stop is requested), and tells when it ends.
struct GatedCommand {
    std::string name;
    Journal& journal;
    std::shared_future<void> gate;

    void operator()(CommandContext& context) const {
        journal.add(name + " start");
        while (gate.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready &&
               !context.stop.stop_requested()) {
        }
        journal.add(name + (context.stop.stop_requested() ? " stopped" : " end"));
    }
};

bool waitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(CommandDispatcher, ClickRunsTheButtonsCommandOnAWorkerWithItsContext) {
    FakeWindowRuntime window(FakeWindowRuntime::Workers::ownThreads);
    ProgramState state;
    std::thread::id commandThread;
    bool stopRequested = true;
    CommandDispatcher dispatcher(window, state, Text("http://127.0.0.1:9"));
    dispatcher.registerCommand(Control::按钮4, [&](CommandContext& context) {
        commandThread = std::this_thread::get_id();
        stopRequested = context.stop.stop_requested();
        EXPECT_EQ(&context.window, &window);
        EXPECT_EQ(&context.state, &state);
        EXPECT_EQ(context.siteBase, Text("http://127.0.0.1:9"));
        context.state.pageCountText = Text("5");
        context.window.setControlText(Control::透明标签1, Text("done"));
    });

    EXPECT_TRUE(dispatcher.click(Control::按钮4));
    window.waitForWorkers();

    EXPECT_NE(commandThread, std::thread::id());
    EXPECT_NE(commandThread, std::this_thread::get_id());
    EXPECT_FALSE(stopRequested);
    EXPECT_EQ(state.pageCountText, Text("5"));
    EXPECT_THAT(window.callLog(),
                ElementsAre("startWorker()", "setControlText(透明标签1, \"done\")"));
}

TEST(CommandDispatcher, ButtonWithoutCommandStartsNothing) {
    FakeWindowRuntime window;
    ProgramState state;
    CommandDispatcher dispatcher(window, state, Text());
    dispatcher.registerCommand(Control::按钮1, [](CommandContext&) {});

    EXPECT_FALSE(dispatcher.hasCommand(Control::按钮3));
    EXPECT_FALSE(dispatcher.click(Control::按钮3));
    EXPECT_TRUE(window.calls().empty());
}

TEST(CommandDispatcher, ClicksWhileACommandRunsWaitTheirTurnInClickOrder) {
    FakeWindowRuntime window(FakeWindowRuntime::Workers::ownThreads);
    ProgramState state;
    Journal journal;
    std::promise<void> openSearch;
    std::promise<void> openLoadAll;
    std::promise<void> openResolve;
    CommandDispatcher dispatcher(window, state, Text());
    dispatcher.registerCommand(Control::按钮1,
                               GatedCommand{"search", journal, openSearch.get_future().share()});
    dispatcher.registerCommand(Control::按钮4,
                               GatedCommand{"loadAll", journal, openLoadAll.get_future().share()});
    dispatcher.registerCommand(Control::按钮3,
                               GatedCommand{"resolve", journal, openResolve.get_future().share()});

    ASSERT_TRUE(dispatcher.click(Control::按钮1));
    ASSERT_TRUE(waitFor([&] { return journal.entries().size() == 1; }));
    ASSERT_TRUE(dispatcher.click(Control::按钮4));
    ASSERT_TRUE(dispatcher.click(Control::按钮3));
    // The later commands are already released; only the search holds them.
    openLoadAll.set_value();
    openResolve.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_THAT(journal.entries(), ElementsAre("search start"));

    openSearch.set_value();
    window.waitForWorkers();
    EXPECT_THAT(journal.entries(), ElementsAre("search start", "search end", "loadAll start",
                                               "loadAll end", "resolve start", "resolve end"));
}

TEST(CommandDispatcher, StopEndsTheRunningCommandAndDropsTheWaitingOnes) {
    FakeWindowRuntime window(FakeWindowRuntime::Workers::ownThreads);
    ProgramState state;
    Journal journal;
    std::promise<void> never;
    const std::shared_future<void> closed = never.get_future().share();
    CommandDispatcher dispatcher(window, state, Text());
    dispatcher.registerCommand(Control::按钮1, GatedCommand{"search", journal, closed});
    dispatcher.registerCommand(Control::按钮4, GatedCommand{"loadAll", journal, closed});

    ASSERT_TRUE(dispatcher.click(Control::按钮1));
    ASSERT_TRUE(dispatcher.click(Control::按钮4));
    ASSERT_TRUE(waitFor([&] { return !journal.entries().empty(); }));
    dispatcher.requestStop();
    window.waitForWorkers();

    EXPECT_TRUE(dispatcher.stopToken().stop_requested());
    EXPECT_THAT(journal.entries(), ElementsAre("search start", "search stopped"));
    // Once stopping, a click starts no worker at all.
    window.clearCalls();
    EXPECT_FALSE(dispatcher.click(Control::按钮1));
    EXPECT_TRUE(window.calls().empty());
}

TEST(CommandDispatcher, AWorkerTheRuntimeDroppedDoesNotHoldUpTheLine) {
    FakeWindowRuntime window(FakeWindowRuntime::Workers::dropAll);
    ProgramState state;
    std::atomic<bool> loadAllRan{false};
    CommandDispatcher dispatcher(window, state, Text());
    dispatcher.registerCommand(Control::按钮1, [](CommandContext&) { ADD_FAILURE(); });
    dispatcher.registerCommand(Control::按钮4, [&](CommandContext&) { loadAllRan = true; });

    ASSERT_TRUE(dispatcher.click(Control::按钮1));
    window.setWorkers(FakeWindowRuntime::Workers::ownThreads);
    ASSERT_TRUE(dispatcher.click(Control::按钮4));

    EXPECT_TRUE(waitFor([&] { return loadAllRan.load(); }));
    dispatcher.requestStop();  // frees a waiting worker, should the test fail
    window.waitForWorkers();
}

TEST(CommandDispatcher, DestructorWaitsForItsWorkers) {
    FakeWindowRuntime window(FakeWindowRuntime::Workers::ownThreads);
    ProgramState state;
    Journal journal;
    std::promise<void> never;
    {
        CommandDispatcher dispatcher(window, state, Text());
        dispatcher.registerCommand(Control::按钮1,
                                   GatedCommand{"search", journal, never.get_future().share()});
        ASSERT_TRUE(dispatcher.click(Control::按钮1));
        ASSERT_TRUE(waitFor([&] { return !journal.entries().empty(); }));
    }
    // The command saw the stop and had ended before the dispatcher was gone.
    EXPECT_THAT(journal.entries(), ElementsAre("search start", "search stopped"));
}

}  // namespace
}  // namespace quorrin
