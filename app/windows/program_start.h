#pragma once

namespace quorrin {

// The program: prepares the program state, shows the main window and runs
// the message loop until the main window closes; answers 0.
int programStart(int& argc, char** argv);

}  // namespace quorrin
