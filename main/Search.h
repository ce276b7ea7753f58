// The search for the combination of items that fills the volume best.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "Item.h"

namespace Vantorel {

// Called for each combination that leaves less of the volume unused than every combination before
// it: remainder is what it leaves unused, selection the positions it takes. The selection is the
// search's own and changes once the call returns.
using TSolutionReport = std::function<void(std::int64_t remainder, const TSelection& selection)>;

// Sorts items largest first. Items of equal size keep their order, so the same directories give the
// same reports on every machine.
void SortLargestFirst(std::vector<TItem>& items);

// The plain exhaustive search, kept as the reference for any faster one. Visits every non-empty
// combination of positions of sizes whose total is at most volume, in lexicographic order of
// positions ({0}, {0,1}, {0,1,2}, ..., {1}, ...), and calls report for each that leaves strictly
// less unused than all visited before it (the first improvement is any combination that leaves
// less than volume). Stops right after a combination that leaves nothing. Returns the number of
// combinations visited, at most 2^64 - 1. Depth costs no stack: a million items are searched as
// safely as ten. Throws std::invalid_argument when a size is negative.
std::uint64_t SearchSubsets(std::span<const std::int64_t> sizes, std::int64_t volume,
                            const TSolutionReport& report);

// Sorts items largest first and searches them for volume (at least 1), showing every improvement on
// the console as it is found. The last combination shown is the best there is, unless the run is
// stopped early. Leaves items sorted.
void FindOptimalFill(std::int64_t volume, std::vector<TItem>& items);

}  // namespace Vantorel
