#pragma once

#include <map>

#include "app/command_dispatcher.h"

namespace quorrin {

// The commands of the program's buttons: 按钮1 search, 按钮3 download
// address, 按钮4 load all.
[[nodiscard]] std::map<Control, Command> clientCommands();

}  // namespace quorrin
