#pragma once

#include <map>
#include <memory>

#include "app/command_dispatcher.h"
#include "app/program_state.h"
#include "app/windows/main_window.h"
#include "platform/qt/qt_window_runtime.h"
#include "platform/text.h"

namespace quorrin {

// The client's windows wired together: the dispatcher with the commands,
// the main window, and the link window that commands load. The runtime and
// the program state must outlive it.
class ClientWindows {
  public:
    ClientWindows(QtWindowRuntime& runtime, ProgramState& state, Text siteBase,
                  const std::map<Control, Command>& commands);
    ClientWindows(const ClientWindows&) = delete;
    ClientWindows& operator=(const ClientWindows&) = delete;
    // Shuts down first, so no worker outlives the windows.
    ~ClientWindows();

    [[nodiscard]] MainWindow& mainWindow() { return *window_; }
    [[nodiscard]] CommandDispatcher& dispatcher() { return dispatcher_; }

    // Stops the commands, closes whatever a worker waits on and waits for
    // every worker, handling window events meanwhile. Window thread only.
    void shutDown();

  private:
    QtWindowRuntime& runtime_;
    CommandDispatcher dispatcher_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace quorrin
