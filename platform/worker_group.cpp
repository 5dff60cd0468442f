#include "platform/worker_group.h"

#include <utility>

namespace quorrin {

WorkerGroup::~WorkerGroup() {
    joinAll();
}

void WorkerGroup::start(std::function<void()> routine) {
    const std::scoped_lock lock(mutex_);
    joinEnded();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    ++running_;
    std::thread thread([this, ended, routine = std::move(routine)] {
        routine();
        const std::scoped_lock endLock(mutex_);
        --running_;
        ended->store(true);
        changed_.notify_all();
    });
    workers_.push_back(Worker{std::move(thread), std::move(ended)});
}

int WorkerGroup::running() const {
    const std::scoped_lock lock(mutex_);
    return running_;
}

bool WorkerGroup::waitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return running_ == 0; });
}

void WorkerGroup::joinAll() {
    for (;;) {
        std::vector<Worker> taken;
        {
            const std::scoped_lock lock(mutex_);
            taken.swap(workers_);
        }
        if (taken.empty()) {
            return;
        }
        for (Worker& worker : taken) {
            worker.thread.join();
        }
    }
}

void WorkerGroup::joinEnded() {
    // A worker marked ended has left the locked part of its routine, so
    // joining it here waits at most for its thread to return.
    std::erase_if(workers_, [](Worker& worker) {
        if (!worker.ended->load()) {
            return false;
        }
        worker.thread.join();
        return true;
    });
}

}  // namespace quorrin
