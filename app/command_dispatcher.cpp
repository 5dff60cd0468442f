#include "app/command_dispatcher.h"

#include <memory>
#include <utility>

namespace quorrin {

CommandDispatcher::CommandDispatcher(WindowRuntime& window, ProgramState& state, Text siteBase)
    : window_(window), state_(state), siteBase_(std::move(siteBase)) {}

CommandDispatcher::~CommandDispatcher() {
    requestStop();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return inFlight_ == 0; });
}

void CommandDispatcher::registerCommand(Control button, Command command) {
    commands_[button] = std::move(command);
}

bool CommandDispatcher::hasCommand(Control button) const {
    return commands_.contains(button);
}

bool CommandDispatcher::click(Control button) {
    const auto found = commands_.find(button);
    if (found == commands_.end() || stop_.stop_requested()) {
        return false;
    }
    std::uint64_t ticket = 0;
    {
        const std::scoped_lock lock(mutex_);
        ticket = nextTicket_++;
        ++inFlight_;
    }
    // The command is copied so that a later registerCommand cannot change a
    // worker that has already started.
    auto turn = std::make_shared<Turn>(*this, ticket);
    window_.startWorker([this, turn, command = found->second] { runInTurn(*turn, command); });
    return true;
}

void CommandDispatcher::requestStop() {
    stop_.request_stop();
    // Wakes the workers waiting their turn; the stop token of their wait
    // would do it too, but only for waits that began before the request.
    const std::scoped_lock lock(mutex_);
    changed_.notify_all();
}

void CommandDispatcher::runInTurn(Turn& turn, const Command& command) {
    const std::stop_token stop = stop_.get_token();
    bool myTurn = false;
    {
        std::unique_lock lock(mutex_);
        myTurn = changed_.wait(lock, stop, [&] { return serving_ == turn.ticket(); });
    }
    if (myTurn && !stop.stop_requested()) {
        CommandContext context{window_, state_, siteBase_, stop};
        command(context);
    }
    turn.giveUp();
}

void CommandDispatcher::Turn::giveUp() {
    if (!given_) {
        given_ = true;
        dispatcher_.finish(ticket_);
    }
}

void CommandDispatcher::finish(std::uint64_t ticket) {
    const std::scoped_lock lock(mutex_);
    finished_.insert(ticket);
    while (finished_.erase(serving_) > 0) {
        ++serving_;
    }
    --inFlight_;
    changed_.notify_all();
}

}  // namespace quorrin
