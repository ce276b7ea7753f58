// The program's search: the plain enumeration's walk, minus what provably cannot be reported.
//
// The walk is the plain one (see SearchPlain.cpp): combinations in lexicographic order of
// positions over the items sorted largest first, an improvement reported when it leaves strictly
// less than the best so far. The best only falls, so a part of the walk that holds no combination
// leaving less than the current best would report nothing now or later, and may be skipped. Doing
// only such skips keeps every report and its order exactly as the plain walk has them.
//
// Three skips are made:
// - At each depth, before the next position, TSubsetBounds gives a lower bound on what any
//   combination of the items still to come could leave. If it is not below the best, nothing
//   more can be reported at this depth: give back the last item at once.
// - After giving back an item, items of the same size right after it are passed over: every
//   combination that could follow one of them could follow the item just given back too, with the
//   same total, and all of those were visited or skipped already.
// - Items that do not fit are passed over by a binary search instead of one at a time, as the
//   sizes are sorted.
// The search also ends as soon as the best reaches the least remainder possible at all, the volume
// modulo the greatest common divisor of the sizes that fit into it: an exact fit is the case where
// that is 0.
//
// Bounds cost set-up: linear in the number of items, and the tables of subset sums grow with the
// work done. So the search starts as the plain walk and brings in the bounds only once it has done
// a few times as many steps as there are items. A search that the plain walk finishes at once is
// the plain walk.
#include "Search.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>

#include "Base/CheckedArithmetic.h"
#include "SearchBounds.h"
#include "SearchReports.h"
#include "SearchWalk.h"

namespace Vantorel {

namespace {

// The bounded walk's moves on the shared state.
struct TWalk {
    std::span<const std::int64_t> Sizes;
    const TSolutionReport& Report;
    std::uint64_t VisitLimit;
    TWalkState& State;

    // Takes the item at position and visits the combination that makes; reports it when it is an
    // improvement. Returns true when the search is over: the best has reached floor, or the visit
    // limit is used up.
    bool Take(std::size_t position, std::int64_t floor) {
        State.Selection.push_back(position);
        State.Remaining -= Sizes[position];
        State.Next = position + 1;
        if (State.Stats.Visited != kNoVisitLimit) {
            ++State.Stats.Visited;
        }
        if (State.Remaining < State.Best) {
            State.Best = State.Remaining;
            Report(State.Remaining, State.Selection);
            if (State.Best <= floor) {
                State.Stats.Finished = true;
                return true;
            }
        }
        return State.Stats.Visited == VisitLimit;
    }

    // Gives back the item taken last and returns its position, the walk to go on after it; returns
    // nothing, and marks the search finished, when nothing is taken.
    std::optional<std::size_t> GiveBack() {
        if (State.Selection.empty()) {
            State.Stats.Finished = true;
            return std::nullopt;
        }
        const std::size_t last = State.Selection.back();
        State.Selection.pop_back();
        State.Remaining += Sizes[last];
        State.Next = last + 1;
        return last;
    }
};

}  // namespace

void SortLargestFirst(std::vector<TItem>& items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const TItem& a, const TItem& b) { return a.Size > b.Size; });
}

TSearchStats SearchSubsets(std::span<const std::int64_t> sizes, std::int64_t volume,
                           const TSolutionReport& report, std::uint64_t visitLimit,
                           const TSearchTuning& tuning) {
    // Sorted largest first, the last size is the smallest: one pass checks both.
    if (!std::is_sorted(sizes.begin(), sizes.end(), std::greater<>())) {
        throw std::invalid_argument("the item sizes are not sorted largest first");
    }
    if (!sizes.empty() && sizes.back() < 0) {
        throw std::invalid_argument("an item size is negative");
    }

    const std::size_t n = sizes.size();
    std::uint64_t plainSteps = 0;
    if (!Kvetra::CheckedMul<std::uint64_t>(tuning.PlainStepsPerItem, n, &plainSteps) ||
        !Kvetra::CheckedAdd(plainSteps, tuning.PlainSteps, &plainSteps)) {
        plainSteps = std::numeric_limits<std::uint64_t>::max();
    }

    // The plain walk, for as long as the bounds would not pay for themselves.
    TWalkState state(volume);
    if (WalkPlain(sizes, report, visitLimit, plainSteps, state)) {
        return state.Stats;
    }
    TWalk walk{sizes, report, visitLimit, state};

    TSubsetBounds bounds(sizes, volume, tuning.MaxTabulatedSums);
    const std::int64_t floor = bounds.LeastPossibleRemainder();
    if (state.Best <= floor) {
        state.Stats.Finished = true;  // the plain walk already found the best there can be
        return state.Stats;
    }
    // Building the tables may write tuning.SumsPerGiveBack sums per item given back: a descent
    // costs the same with or without them, while every give-back is a cut they could sharpen.
    // `allowance` adds that up, stopping at the largest count rather than wrapping.
    bool tailCanGrow = tuning.SumsPerGiveBack != 0;
    std::uint64_t allowance = 0;
    for (;;) {
        const std::size_t position = bounds.FirstFitting(state.Next, state.Remaining);
        if (position == n || bounds.LeastRemainder(position, state.Remaining) >= state.Best) {
            const std::optional<std::size_t> last = walk.GiveBack();
            if (!last) {
                return state.Stats;
            }
            if (state.Next < n && sizes[state.Next] == sizes[*last]) {
                // Runs of equal sizes can be long (a million files of one size): find its end
                // without walking it.
                state.Next = static_cast<std::size_t>(
                    std::upper_bound(sizes.begin() + static_cast<std::ptrdiff_t>(state.Next),
                                     sizes.end(), sizes[*last], std::greater<>()) -
                    sizes.begin());
            }
            if (tailCanGrow) {
                if (!Kvetra::CheckedAdd(allowance, tuning.SumsPerGiveBack, &allowance)) {
                    allowance = std::numeric_limits<std::uint64_t>::max();
                }
                if (bounds.TabulationWork() < allowance) {
                    tailCanGrow = bounds.GrowTail();
                }
            }
            continue;
        }
        if (walk.Take(position, floor)) {
            return state.Stats;
        }
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
