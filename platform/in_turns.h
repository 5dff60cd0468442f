#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

// The way every conversion with a quick path goes through its input.
namespace quorrin {

// Goes through `in` in turns: `quick` as far as it takes the input, then
// `convert` (the converter) up to and including the next unit that
// `standsAlone` (after which any reading is back at a character boundary),
// then `quick` again. The joined result is what the converter alone gives,
// as `quick` stops only on a character boundary.
//
// `quick(rest)` writes what it takes of `rest` and answers how much input
// that was; `convert(piece)` writes all of `piece` and answers false when it
// cannot. Both keep their own place in the output, so the output may be a
// fixed buffer or one that grows. False as soon as `convert` fails.
template <typename In, typename Quick, typename Convert, typename StandsAlone>
bool inTurns(std::basic_string_view<In> in, Quick quick, Convert convert, StandsAlone standsAlone) {
    std::size_t at = 0;
    while (at < in.size()) {
        at += quick(in.substr(at));
        if (at == in.size()) {
            break;
        }
        std::size_t end = at;
        while (end < in.size() && !standsAlone(in[end])) {
            ++end;
        }
        end = std::min(end + 1, in.size());
        if (!convert(in.substr(at, end - at))) {
            return false;
        }
        at = end;
    }
    return true;
}

}  // namespace quorrin
