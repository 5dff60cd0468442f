#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quorrin {

// Owns the worker threads the window runtime starts. A caller never holds a
// worker's handle; the group keeps it so that the program can wait for every
// worker to end before it releases what they use. Finished workers are
// joined when the next one starts, so the group does not grow with clicks.
class WorkerGroup {
  public:
    WorkerGroup() = default;
    WorkerGroup(const WorkerGroup&) = delete;
    WorkerGroup& operator=(const WorkerGroup&) = delete;
    // Joins every worker: none may outlive what it was started with.
    ~WorkerGroup();

    void start(std::function<void()> routine);

    // Workers started and not yet ended.
    [[nodiscard]] int running() const;
    // Waits up to `timeout` for every worker to end; answers whether none is
    // left running.
    [[nodiscard]] bool waitFor(std::chrono::milliseconds timeout) const;
    // Waits for every worker, including any started while waiting.
    void joinAll();

  private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> ended;
    };

    void joinEnded();  // with mutex_ held

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Worker> workers_;
    int running_ = 0;
};

}  // namespace quorrin
