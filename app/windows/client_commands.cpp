#include "app/windows/client_commands.h"

#include "app/run_load_all.h"
#include "app/run_resolve_download.h"
#include "app/run_search.h"

namespace quorrin {

std::map<Control, Command> clientCommands() {
    return {
        {Control::按钮1, runSearch},
        {Control::按钮3, runResolveDownload},
        {Control::按钮4, runLoadAll},
    };
}

}  // namespace quorrin
