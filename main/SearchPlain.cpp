// The plain exhaustive search: the reference that the program's faster search must match report
// for report.
//
// Items are sorted largest first and every combination that fits is visited depth first, in
// lexicographic order of positions: take the first item that fits, then the first after it that
// still fits, and so on; when a depth runs out of items, give back the item taken last and go on
// after it. The first descent is therefore the greedy fill, largest first, and later combinations
// come from backtracking. A combination is reported when it leaves strictly less unused than the
// best so far, so among equally good combinations the first visited is the one shown. The only
// cuts are an item that does not fit in what is left (smaller ones after it still may) and an
// exact fit, after which nothing can be better.
//
// The recursion is unrolled into a loop over the selection itself: the selection is the stack of
// positions taken, and the position to resume at after giving back an item is that item's
// position plus one. What is left unused is kept as a single count that the loop lowers when it
// takes an item and raises by the same amount when it gives it back, so it never leaves the range
// [0, volume] and cannot overflow.
#include "Search.h"
#include "SearchWalk.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace Vantorel {

bool WalkPlain(std::span<const std::int64_t> sizes, const TSolutionReport& report,
               std::uint64_t visitLimit, std::uint64_t maxSteps, TWalkState& state) {
    // The loop works on local copies, which the compiler keeps in registers, and stores them back
    // when it stops.
    TSelection selection = std::move(state.Selection);
    std::int64_t remaining = state.Remaining;
    std::int64_t best = state.Best;
    std::size_t next = state.Next;
    TSearchStats stats = state.Stats;
    bool over = false;

    for (std::uint64_t step = 0; step < maxSteps; ++step) {
        if (next == sizes.size()) {
            // This depth has tried every position: give back the item taken last and go on after it
            // one depth up. Nothing taken means every combination has been visited.
            if (selection.empty()) {
                stats.Finished = true;
                over = true;
                break;
            }
            const std::size_t last = selection.back();
            selection.pop_back();
            remaining += sizes[last];
            next = last + 1;
            continue;
        }

        const std::size_t position = next++;
        if (sizes[position] > remaining) {
            continue;  // does not fit here; a smaller item further on still may
        }

        // Take the item: the selection is now the next combination in visiting order.
        selection.push_back(position);
        remaining -= sizes[position];
        if (stats.Visited != std::numeric_limits<std::uint64_t>::max()) {
            ++stats.Visited;
        }
        if (remaining < best) {
            best = remaining;
            report(remaining, selection);
            if (best == 0) {
                stats.Finished = true;  // an exact fit: nothing can leave less
                over = true;
                break;
            }
        }
        if (stats.Visited == visitLimit) {
            over = true;
            break;
        }
        // Descend: the next depth tries the positions after this one, which is where `next` is.
    }

    state.Selection = std::move(selection);
    state.Remaining = remaining;
    state.Best = best;
    state.Next = next;
    state.Stats = stats;
    return over;
}

TSearchStats SearchSubsetsPlain(std::span<const std::int64_t> sizes, std::int64_t volume,
                                const TSolutionReport& report, std::uint64_t visitLimit) {
    if (std::any_of(sizes.begin(), sizes.end(), [](std::int64_t size) { return size < 0; })) {
        throw std::invalid_argument("an item size is negative");
    }
    TWalkState state(volume);
    WalkPlain(sizes, report, visitLimit, std::numeric_limits<std::uint64_t>::max(), state);
    return state.Stats;
}

}  // namespace Vantorel
