#include "app/windows/program_start.h"

#include <QApplication>

#include "app/program_state.h"
#include "app/site_grammar.h"
#include "app/windows/client_commands.h"
#include "app/windows/client_windows.h"
#include "platform/curl_global.h"
#include "platform/qt/qt_window_runtime.h"

namespace quorrin {
namespace {

// Releases the program state when the program ends. Declared after the
// runtime and before the windows, it runs once the windows have shut down,
// so no worker can still be using the state.
class ReleaseAtExit {
  public:
    explicit ReleaseAtExit(ProgramState& state) : state_(state) {}
    ReleaseAtExit(const ReleaseAtExit&) = delete;
    ReleaseAtExit& operator=(const ReleaseAtExit&) = delete;
    ~ReleaseAtExit() { releaseProgramState(state_); }

  private:
    ProgramState& state_;
};

}  // namespace

int programStart(int& argc, char** argv) {
    // libcurl's process-wide set-up, before any worker can start a fetch.
    ensureCurlInitialised();
    // The window runtime initialises itself.
    QApplication app(argc, argv);
    QtWindowRuntime runtime;

    // The result arrays start empty with the state.
    ProgramState state;

    const ReleaseAtExit release(state);

    runClient(runtime, state, site::siteBase(), clientCommands());
    return 0;
}

void runClient(QtWindowRuntime& runtime, ProgramState& state, const Text& siteBase,
               const std::map<Control, Command>& commands,
               const std::function<void(MainWindow&)>& shown) {
    ClientWindows windows(runtime, state, siteBase, commands);
    windows.mainWindow().show();
    if (shown) {
        shown(windows.mainWindow());
    }
    QApplication::exec();
    // Leaving shuts the windows down: stop, close, wait for the workers.
}

}  // namespace quorrin
