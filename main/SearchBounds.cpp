// Bounds on the remainder that the items after a position can still reach.
//
// Three cheap bounds hold for any stretch of the list that starts at position q, all of whose
// items fit into what is left, r:
// - no combination adds more than the stretch's total;
// - no combination holds more items than the c smallest of the stretch can make up together
//   (those are its last c, as the list is sorted), so none adds more than its c largest (its
//   first c);
// - every total is a multiple of g, the greatest common divisor of the stretch's sizes, so the
//   largest total that fits is at most r rounded down to a multiple of g.
// Suffix sums and suffix divisors answer each in constant or logarithmic time.
//
// Near the end of the list, where most of the search's work happens, these bounds give way to the
// truth: the sorted distinct totals of all combinations of the items from a position on, with an
// index of buckets that narrows the search for the largest total at most r to a few neighbours.
// Extending the tail by an item merges the table with itself shifted by that item's size, at a
// cost proportional to the new table's length; the search decides when that is worth paying. Items
// of equal size share one table, that of the first of them: the tables of the others would be
// nearly as long and add little, while a list with many duplicates could then hold a far longer
// tail in the same memory. For a position inside such a run, the run's table still bounds what can
// be added, as it allows a few more copies of the item than there are.
#include "SearchBounds.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <numeric>

namespace Vantorel {

namespace {

constexpr std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max();

}  // namespace

TSubsetBounds::TSubsetBounds(std::span<const std::int64_t> sizes, std::int64_t volume,
                             std::size_t maxTabulatedSums)
    : Sizes(sizes),
      Volume(volume),
      // The indexes hold positions in 32 bits.
      MaxTabulated(
          std::min<std::size_t>(maxTabulatedSums, std::numeric_limits<std::uint32_t>::max())),
      PositiveEnd(static_cast<std::size_t>(
          std::partition_point(sizes.begin(), sizes.end(),
                               [](std::int64_t size) { return size > 0; }) -
          sizes.begin())),
      FirstUsable(static_cast<std::size_t>(
          std::partition_point(sizes.begin(), sizes.end(),
                               [volume](std::int64_t size) { return size > volume; }) -
          sizes.begin())),
      LeastPossible(volume),
      SuffixSum(PositiveEnd + 1, 0),
      SuffixGcd(PositiveEnd + 1, 0),
      Segments{MakeSegment(PositiveEnd, {0})} {
    for (std::size_t p = PositiveEnd; p-- > 0;) {
        const std::int64_t next = SuffixSum[p + 1];
        SuffixSum[p] = (next > kSaturated - Sizes[p]) ? kSaturated : next + Sizes[p];
        SuffixGcd[p] = std::gcd(SuffixGcd[p + 1], Sizes[p]);
    }
    if (FirstUsable < PositiveEnd) {
        LeastPossible = volume % SuffixGcd[FirstUsable];
    }
}

std::size_t TSubsetBounds::FirstFitting(std::size_t from, std::int64_t remaining) const {
    if (from >= Sizes.size() || Sizes[from] <= remaining) {
        return from;  // the common case costs one comparison
    }
    return static_cast<std::size_t>(
        std::partition_point(Sizes.begin() + static_cast<std::ptrdiff_t>(from), Sizes.end(),
                             [remaining](std::int64_t size) { return size > remaining; }) -
        Sizes.begin());
}

std::int64_t TSubsetBounds::LeastRemainder(std::size_t from, std::int64_t remaining) const {
    const std::size_t q = FirstFitting(from, remaining);
    if (q >= PositiveEnd) {
        return remaining;  // nothing left but items of size 0
    }
    if (q >= Segments.back().Start) {
        // The segment that holds q: the last one, counting from the end, that starts at or
        // before q.
        const auto segment =
            std::partition_point(Segments.begin(), Segments.end(),
                                 [q](const TSegment& candidate) { return candidate.Start > q; });
        return remaining - LargestAtMost(*segment, remaining);
    }

    const std::int64_t divisor = SuffixGcd[q];
    std::int64_t most = remaining - remaining % divisor;
    const std::int64_t total = SuffixSum[q];
    if (total <= remaining) {
        return remaining - total;  // everything fits: the whole stretch is the best it can do
    }
    if (total != kSaturated) {
        // Find the first position i whose suffix fits: the items from i on are the smallest ones
        // that fit together, so no fitting combination holds more than PositiveEnd - i items.
        const auto first = SuffixSum.begin() + static_cast<std::ptrdiff_t>(q);
        const auto end = SuffixSum.begin() + static_cast<std::ptrdiff_t>(PositiveEnd) + 1;
        const std::size_t i = static_cast<std::size_t>(
            std::partition_point(first, end,
                                 [remaining](std::int64_t sum) { return sum > remaining; }) -
            SuffixSum.begin());
        const std::size_t count = PositiveEnd - i;
        // The largest `count` items of the stretch are the first `count`. Both sums are exact
        // because the larger one did not saturate.
        most = std::min(most, total - SuffixSum[q + count]);
    }
    return remaining - most;
}

bool TSubsetBounds::GrowTail() {
    const std::size_t start = Segments.back().Start;
    if (start == 0 || start <= FirstUsable) {
        return false;  // the items before the tail are larger than the volume: never taken
    }
    const std::size_t position = start - 1;
    const std::int64_t size = Sizes[position];
    // The item joins the run that starts the tail when it has the same size; the empty stretch
    // at the end is no run (its size would be 0).
    const bool joinsRun = start < PositiveEnd && Sizes[start] == size;
    const std::vector<std::int64_t>& next = Segments.back().Sums;
    // The new table holds next and next + size; totals beyond the volume are of no use.
    const std::int64_t limit = Volume - size;
    const std::size_t shifted =
        static_cast<std::size_t>(std::upper_bound(next.begin(), next.end(), limit) - next.begin());
    // Walks the merge of the two in increasing order, handing each distinct total to take.
    const auto merge = [&next, shifted, size](auto&& take) {
        std::size_t a = 0;
        std::size_t b = 0;
        bool any = false;
        std::int64_t last = 0;
        while (a < next.size() || b < shifted) {
            std::int64_t value;
            if (b == shifted || (a < next.size() && next[a] <= next[b] + size)) {
                value = next[a++];
            } else {
                value = next[b++] + size;
            }
            if (!any || value != last) {
                take(value);
                any = true;
                last = value;
            }
        }
    };
    // Counting first lets the table be allocated at its exact length, and the cap be checked
    // against it: the new table is built while the old ones are all still held.
    std::size_t length = 0;
    merge([&length](std::int64_t) { ++length; });
    if (Tabulated + length > MaxTabulated) {
        return false;
    }
    const std::size_t kept = joinsRun ? Tabulated - next.size() : Tabulated;
    std::vector<std::int64_t> sums;
    sums.reserve(length);
    merge([&sums](std::int64_t value) { sums.push_back(value); });
    Tabulated = kept + sums.size();
    Work += sums.size();
    if (joinsRun) {
        Segments.back() = MakeSegment(position, std::move(sums));
    } else {
        Segments.push_back(MakeSegment(position, std::move(sums)));
    }
    return true;
}

TSubsetBounds::TSegment TSubsetBounds::MakeSegment(std::size_t start,
                                                   std::vector<std::int64_t> sums) {
    TSegment segment{start, std::move(sums), 0, {}};
    // Eight or more totals a bucket on average, so the index takes at most a sixteenth of the
    // table's memory: a power of two of buckets that covers the largest total once shifted.
    const std::size_t buckets = std::bit_floor(std::max<std::size_t>(1, segment.Sums.size() / 8));
    const auto largest = static_cast<std::uint64_t>(segment.Sums.back());
    while ((largest >> segment.Shift) >= buckets) {
        ++segment.Shift;
    }
    segment.Index.resize(buckets + 1);
    std::size_t position = 0;
    for (std::size_t k = 0; k <= buckets; ++k) {
        while (position < segment.Sums.size() &&
               (static_cast<std::uint64_t>(segment.Sums[position]) >> segment.Shift) < k) {
            ++position;
        }
        segment.Index[k] = static_cast<std::uint32_t>(position);
    }
    return segment;
}

std::int64_t TSubsetBounds::LargestAtMost(const TSegment& segment, std::int64_t remaining) {
    const std::vector<std::int64_t>& sums = segment.Sums;
    if (remaining >= sums.back()) {
        return sums.back();
    }
    // remaining is below the largest total, so its bucket is within the index.
    const std::size_t k =
        static_cast<std::size_t>(static_cast<std::uint64_t>(remaining) >> segment.Shift);
    const auto first = sums.begin() + segment.Index[k];
    const auto end = sums.begin() + segment.Index[k + 1];
    // The last total at most remaining is in this bucket, or else it ends the bucket before; the
    // first bucket holds 0, which is at most any remaining.
    const auto above = std::upper_bound(first, end, remaining);
    return *(above - 1);
}

}  // namespace Vantorel
