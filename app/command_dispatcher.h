#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <stop_token>

#include "app/command_context.h"
#include "app/program_state.h"
#include "platform/text.h"
#include "platform/window_runtime.h"

namespace quorrin {

// A command's entry point, run on a worker thread.
using Command = std::function<void(CommandContext&)>;

// The click handlers of the main window's command buttons. A click starts a
// worker and returns at once; the worker runs the command bound to the
// button.
//
// Commands run one at a time, in the order of the clicks: a click while a
// command runs starts a worker that waits its turn. Dropping the click would
// lose what the user asked for (a "加载全部" right after "搜索" is the usual
// path); waiting keeps each command's own behaviour while the program state
// and the result list are never written by two at once.
//
// requestStop() (the main window closing) asks the running command to stop
// and makes waiting ones leave without running. The destructor does the
// same and then waits until every worker of this dispatcher has left, so it
// must not run on a thread those workers wait for.
class CommandDispatcher {
  public:
    CommandDispatcher(WindowRuntime& window, ProgramState& state, Text siteBase);
    CommandDispatcher(const CommandDispatcher&) = delete;
    CommandDispatcher& operator=(const CommandDispatcher&) = delete;
    ~CommandDispatcher();

    // Binds a button to its command; a later call replaces the binding.
    void registerCommand(Control button, Command command);
    [[nodiscard]] bool hasCommand(Control button) const;

    // The click handler. Answers whether a worker was started: not for a
    // button without a command, nor once stop has been requested.
    bool click(Control button);

    void requestStop();
    [[nodiscard]] std::stop_token stopToken() const { return stop_.get_token(); }

  private:
    // One click's place in the line. Given up exactly once: when its command
    // has run or been skipped, or, should the runtime drop the worker
    // without running it, when the routine holding it is destroyed. So the
    // line always moves on and the destructor never waits for a worker that
    // does not exist.
    class Turn {
      public:
        Turn(CommandDispatcher& dispatcher, std::uint64_t ticket)
            : dispatcher_(dispatcher), ticket_(ticket) {}
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        ~Turn() { giveUp(); }
        [[nodiscard]] std::uint64_t ticket() const { return ticket_; }
        void giveUp();

      private:
        CommandDispatcher& dispatcher_;
        const std::uint64_t ticket_;
        bool given_ = false;
    };

    void runInTurn(Turn& turn, const Command& command);
    void finish(std::uint64_t ticket);

    WindowRuntime& window_;
    ProgramState& state_;
    const Text siteBase_;
    std::map<Control, Command> commands_;
    std::stop_source stop_;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t serving_ = 0;         // the ticket whose command may run
    std::set<std::uint64_t> finished_;  // tickets given up out of order
    int inFlight_ = 0;
};

}  // namespace quorrin
