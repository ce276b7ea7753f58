// What the items after a position can still add to a combination: the bounds that let the search
// skip what cannot improve on the best combination found so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace Vantorel {

// Bounds over the items of one search. The sizes must be sorted largest first and none may be
// negative; they must outlive the object and not change.
//
// LeastRemainder answers "how little could be left unused at best, if any combination of the
// items from this position on were added?". Its answer never exceeds the truth, so a search that
// skips whatever cannot beat its best never misses an improvement. Near the end of the list it is
// the truth: the tail, the stretch of the list whose subset sums are tabulated, holds one table
// per run of equal sizes, exact at the run's first position. GrowTail extends the tail by one
// item, as far as the memory cap allows.
class TSubsetBounds {
  public:
    // The tail tables together hold at most maxTabulatedSums subset sums, even while one is being
    // rebuilt; their indexes take a sixteenth of that memory again.
    TSubsetBounds(std::span<const std::int64_t> sizes, std::int64_t volume,
                  std::size_t maxTabulatedSums);

    // The first position at or after from whose item fits into remaining (at least 0); the number
    // of items if there is none.
    std::size_t FirstFitting(std::size_t from, std::int64_t remaining) const;

    // A lower bound on remaining - total over every combination of the items at positions from
    // `from` on (the empty combination included) whose total is at most remaining; exact when the
    // first of those items that fits starts a run of equal sizes in the tail. The answer is
    // congruent to remaining modulo the greatest common divisor of the sizes involved, as every
    // reachable remainder is.
    std::int64_t LeastRemainder(std::size_t from, std::int64_t remaining) const;

    // The least that any combination of all the items can leave unused: volume modulo the greatest
    // common divisor of the positive sizes that fit into it; the volume itself when none does.
    std::int64_t LeastPossibleRemainder() const { return LeastPossible; }

    // Tabulates the subset sums of the item just before the tail together with the tail's. Returns
    // false, changing nothing, when there is no such item that could ever be taken or when the
    // tables could grow beyond their cap.
    bool GrowTail();

    // The first position of the tail; the number of positive sizes while nothing is tabulated.
    std::size_t TailStart() const { return Segments.back().Start; }

    // How many subset sums the tables hold now, and how many all the tables built so far held:
    // the memory they take, and the work it took to build them.
    std::size_t TabulatedSums() const { return Tabulated; }
    std::uint64_t TabulationWork() const { return Work; }

  private:
    std::span<const std::int64_t> Sizes;
    std::int64_t Volume;
    std::size_t MaxTabulated;
    std::size_t PositiveEnd;  // sizes are positive before this position and 0 from it on
    std::size_t FirstUsable;  // the first position whose size is at most the volume
    std::int64_t LeastPossible;

    // SuffixSum[p]: the total of the sizes from p on, or kSaturated when it exceeds the 64-bit
    // range. SuffixGcd[p]: their greatest common divisor. Both have PositiveEnd + 1 entries.
    std::vector<std::int64_t> SuffixSum;
    std::vector<std::int64_t> SuffixGcd;

    // A stretch of the tail whose items have one size, and every distinct total, at most the
    // volume, of a combination of the items from its start on, in increasing order. Segments run
    // from the end of the list towards its front: the first is the empty stretch at PositiveEnd
    // with the single total 0, the last starts the tail.
    struct TSegment {
        std::size_t Start;
        std::vector<std::int64_t> Sums;
        // Buckets of totals with equal bits above Shift: Index[k] is the position of the first
        // total whose bits above Shift are at least k, so a query reads one bucket of a few totals
        // instead of searching the whole table, which is mostly out of the cache.
        int Shift = 0;
        std::vector<std::uint32_t> Index;
    };
    static TSegment MakeSegment(std::size_t start, std::vector<std::int64_t> sums);
    // The largest total of segment at most remaining (at least 0).
    static std::int64_t LargestAtMost(const TSegment& segment, std::int64_t remaining);
    std::vector<TSegment> Segments;
    std::size_t Tabulated = 1;
    std::uint64_t Work = 0;
};

}  // namespace Vantorel
