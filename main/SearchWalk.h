// The state of a walk through the combinations, shared by the plain enumeration and the program's
// search, so that the program's search can start plainly and go on with bounds from where the
// plain walk stopped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "Item.h"
#include "Search.h"

namespace Vantorel {

struct TWalkState {
    TSelection Selection;    // the positions taken on the current path
    std::int64_t Remaining;  // the volume less the sizes of the selection
    std::int64_t Best;       // the least left unused by any combination so far
    std::size_t Next = 0;    // the next position to try at the current depth
    TSearchStats Stats;

    // The state before the first step: nothing taken, nothing found.
    explicit TWalkState(std::int64_t volume) : Remaining(volume), Best(volume) {}
};

// Walks plainly on from state for at most maxSteps steps (a step tries one position or gives back
// one item), reporting improvements. Returns true when the search is over: every combination has
// been visited, an exact fit was found, or visitLimit combinations have been visited (only the
// first two set Stats.Finished). Sizes must not be negative.
bool WalkPlain(std::span<const std::int64_t> sizes, const TSolutionReport& report,
               std::uint64_t visitLimit, std::uint64_t maxSteps, TWalkState& state);

}  // namespace Vantorel
