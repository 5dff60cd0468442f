#include "app/program_state.h"

#include <utility>

namespace quorrin {

void releaseProgramState(ProgramState& state) {
    // Swapping with empty values frees the memory, which clear() would keep.
    ProgramState empty;
    std::swap(state, empty);
}

}  // namespace quorrin
