#include "app/windows/client_windows.h"

#include <utility>

#include "app/windows/link_window.h"

namespace quorrin {

ClientWindows::ClientWindows(QtWindowRuntime& runtime, ProgramState& state, Text siteBase,
                             const std::map<Control, Command>& commands)
    : runtime_(runtime), dispatcher_(runtime, state, siteBase) {
    for (const auto& [button, command] : commands) {
        dispatcher_.registerCommand(button, command);
    }
    runtime_.setModalWindowFactory(ModalWindowId::linkWindow, [&runtime, &state] {
        return std::make_unique<LinkWindow>(runtime, state);
    });
    window_ = std::make_unique<MainWindow>(runtime_, dispatcher_, siteBase);
}

ClientWindows::~ClientWindows() {
    shutDown();
}

void ClientWindows::shutDown() {
    dispatcher_.requestStop();
    runtime_.beginClosing();
    runtime_.waitForWorkers();
}

}  // namespace quorrin
