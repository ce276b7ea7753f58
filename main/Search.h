// The search for the combination of items that fills the volume best.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
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

// How a search went.
struct TSearchStats {
    std::uint64_t Visited = 0;  // combinations visited, at most 2^64 - 1
    bool Finished = false;      // false when the visit limit ended the search first
};

inline constexpr std::uint64_t kNoVisitLimit = std::numeric_limits<std::uint64_t>::max();

// How the program's search spends set-up effort. The defaults suit the program; tests vary them to
// reach every part of the search with small inputs.
struct TSearchTuning {
    // Steps of the plain walk before the bounds are built, as a base and an amount per item: they
    // pay for the bounds' set-up, which is linear in the number of items.
    std::uint64_t PlainSteps = 4096;
    std::uint64_t PlainStepsPerItem = 4;
    // Building the tables of subset sums may write this many sums per item the bounded walk has
    // given back, so it never costs more than a small multiple of the search itself; 0 builds none.
    std::uint64_t SumsPerGiveBack = 2;
    // The most sums the tables may hold: 2^20 of 8 bytes, 8 MiB. Memory is slow to come by on some
    // machines (a fresh page costs microseconds), so more rarely pays for itself.
    std::size_t MaxTabulatedSums = std::size_t{1} << 20;
};

// The search the program runs. Sizes must be sorted largest first. Calls report exactly as
// SearchSubsetsPlain does, with the same remainders and selections in the same order, and ends
// after the same last report; it only visits fewer combinations, skipping those that cannot
// improve on the best so far. Stops early once visitLimit combinations have been visited. Extra
// memory: two words per item, and tables of subset sums (by default at most 8 MiB, and a sixteenth
// more for their indexes) that it builds only as the search does comparable work. Throws
// std::invalid_argument when a size is negative or the sizes are not sorted.
TSearchStats SearchSubsets(std::span<const std::int64_t> sizes, std::int64_t volume,
                           const TSolutionReport& report, std::uint64_t visitLimit = kNoVisitLimit,
                           const TSearchTuning& tuning = {});

// The plain exhaustive search, kept as the reference for the one above. Visits every non-empty
// combination of positions of sizes whose total is at most volume, in lexicographic order of
// positions ({0}, {0,1}, {0,1,2}, ..., {1}, ...), and calls report for each that leaves strictly
// less unused than all visited before it (the first improvement is any combination that leaves
// less than volume). Stops right after a combination that leaves nothing, or once visitLimit
// combinations have been visited. Depth costs no stack: a million items are searched as safely as
// ten. Sizes may come in any order. Throws std::invalid_argument when a size is negative.
TSearchStats SearchSubsetsPlain(std::span<const std::int64_t> sizes, std::int64_t volume,
                                const TSolutionReport& report,
                                std::uint64_t visitLimit = kNoVisitLimit);

// Sorts items largest first and searches them for volume (at least 1), showing every improvement on
// the console as it is found. The last combination shown is the best there is, unless the run is
// stopped early. Leaves items sorted.
void FindOptimalFill(std::int64_t volume, std::vector<TItem>& items);

}  // namespace Vantorel
