// The exhaustive search.
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

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "SearchReports.h"

namespace Vantorel {

void SortLargestFirst(std::vector<TItem>& items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const TItem& a, const TItem& b) { return a.Size > b.Size; });
}

std::uint64_t SearchSubsets(std::span<const std::int64_t> sizes, std::int64_t volume,
                            const TSolutionReport& report) {
    if (std::any_of(sizes.begin(), sizes.end(), [](std::int64_t size) { return size < 0; })) {
        throw std::invalid_argument("an item size is negative");
    }

    TSelection selection;             // the positions taken on the current path
    std::int64_t remaining = volume;  // volume less the sizes of the selection
    std::int64_t best = volume;       // the least left unused by any combination so far
    std::uint64_t visited = 0;
    std::size_t next = 0;  // the next position to try at the current depth

    for (;;) {
        if (next == sizes.size()) {
            // This depth has tried every position: give back the item taken last and go on after it
            // one depth up. Nothing taken means every combination has been visited.
            if (selection.empty()) {
                return visited;
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
        if (visited != std::numeric_limits<std::uint64_t>::max()) {
            ++visited;
        }
        if (remaining < best) {
            best = remaining;
            report(remaining, selection);
            if (best == 0) {
                return visited;  // an exact fit: nothing can leave less
            }
        }
        // Descend: the next depth tries the positions after this one, which is where `next` is.
    }
}

void FindOptimalFill(std::int64_t volume, std::vector<TItem>& items) {
    SortLargestFirst(items);
    std::vector<std::int64_t> sizes;
    sizes.reserve(items.size());
    for (const TItem& item : items) {
        sizes.push_back(item.Size);
    }
    SearchSubsets(sizes, volume, [&items](std::int64_t remainder, const TSelection& selection) {
        PrintSolution(remainder, selection, items);
    });
}

}  // namespace Vantorel
