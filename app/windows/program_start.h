#pragma once

#include <functional>
#include <map>

#include "app/command_dispatcher.h"
#include "app/program_state.h"
#include "app/windows/main_window.h"
#include "platform/qt/qt_window_runtime.h"
#include "platform/text.h"

namespace quorrin {

// The program: prepares the program state, shows the main window and runs
// the message loop until the main window closes; answers 0.
int programStart(int& argc, char** argv);

// The part of programStart after the toolkit is up: shows the main window
// with these commands, runs the message loop until the window closes, then
// stops the commands and waits for every worker. `shown` runs once the
// window is on screen.
void runClient(QtWindowRuntime& runtime, ProgramState& state, const Text& siteBase,
               const std::map<Control, Command>& commands,
               const std::function<void(MainWindow&)>& shown = {});

}  // namespace quorrin
