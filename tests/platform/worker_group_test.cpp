#include "platform/worker_group.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

namespace quorrin {
namespace {

using std::chrono::milliseconds;

TEST(WorkerGroup, WaitsForEveryWorkerIncludingThoseStartedByWorkers) {
    WorkerGroup group;
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<int> ended{0};

    group.start([&] {
        released.wait();
        group.start([&] { ++ended; });
        ++ended;
    });
    group.start([&] { ++ended; });

    EXPECT_FALSE(group.waitFor(milliseconds(20)));
    EXPECT_GE(group.running(), 1);
    release.set_value();
    EXPECT_TRUE(group.waitFor(milliseconds(10000)));
    group.joinAll();
    EXPECT_EQ(group.running(), 0);
    EXPECT_EQ(ended.load(), 3);
}

}  // namespace
}  // namespace quorrin
