#include "app/windows/client_commands.h"

namespace quorrin {

std::map<Control, Command> clientCommands() {
    return {};
}

}  // namespace quorrin
