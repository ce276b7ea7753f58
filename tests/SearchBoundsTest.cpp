// The bounds that let the search skip: never above the truth, the truth where the tables reach,
// and tables that stay within their cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "SearchBounds.h"
#include "Support/TestSupport.h"

namespace {

using VantorelTest::DescribeInstance;

using Vantorel::TSubsetBounds;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// The least remainder of any combination of sizes[from..] that fits into remaining, by trying
// every combination.
std::int64_t TrueLeastRemainder(const std::vector<std::int64_t>& sizes, std::size_t from,
                                std::int64_t remaining) {
    const std::size_t count = sizes.size() - from;
    std::int64_t least = remaining;
    for (std::uint32_t mask = 0; mask < (1u << count); ++mask) {
        std::int64_t left = remaining;
        bool fits = true;
        for (std::size_t i = 0; i < count && fits; ++i) {
            if ((mask & (1u << i)) != 0) {
                fits = sizes[from + i] <= left;
                left -= fits ? sizes[from + i] : 0;
            }
        }
        if (fits) {
            least = std::min(least, left);
        }
    }
    return least;
}

// On generated lists, at every stage of the tail's growth, for every position and every
// remaining amount up to the volume: the bound is never above the truth, it is the truth at the
// first position of every run of equal sizes in the tail, and it keeps the remainder's residue
// modulo the common divisor.
TEST(SubsetBounds, NeverAboveTheTruthAndExactWhereTheTablesReach) {
    std::mt19937_64 random(20261214);
    for (int instance = 0; instance < 300; ++instance) {
        const std::size_t n = 1 + random() % 9;
        const std::int64_t divisor = 1 + static_cast<std::int64_t>(random() % 3);
        const std::int64_t range = (instance % 3 == 0) ? 3 : 15;  // small ranges repeat sizes
        std::vector<std::int64_t> sizes(n);
        for (std::int64_t& size : sizes) {
            size =
                divisor * static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(range));
        }
        std::sort(sizes.rbegin(), sizes.rend());
        const std::int64_t volume = 1 + static_cast<std::int64_t>(random() % 60);
        TSubsetBounds bounds(sizes, volume, 1000);
        do {
            const std::size_t tail = bounds.TailStart();
            for (std::size_t from = 0; from <= n; ++from) {
                for (std::int64_t remaining = 0; remaining <= volume; ++remaining) {
                    const std::int64_t truth = TrueLeastRemainder(sizes, from, remaining);
                    const std::int64_t bound = bounds.LeastRemainder(from, remaining);
                    ASSERT_LE(bound, truth) << DescribeInstance(sizes, volume) << "; from " << from
                                            << ", remaining " << remaining << ", tail " << tail;
                    ASSERT_GE(bound, 0);
                    const std::size_t fitting = bounds.FirstFitting(from, remaining);
                    // Exact where the first fitting item starts a run of equal sizes in the tail
                    // (the tail's first item starts one whatever comes before it).
                    const bool startsRunInTail =
                        fitting < n && sizes[fitting] > 0 && fitting >= tail &&
                        (fitting == tail || sizes[fitting - 1] != sizes[fitting]);
                    if (startsRunInTail) {
                        ASSERT_EQ(bound, truth) << DescribeInstance(sizes, volume) << "; from "
                                                << from << ", remaining " << remaining;
                    }
                    std::int64_t g = 0;
                    for (std::size_t i = from; i < n; ++i) {
                        g = std::gcd(g, sizes[i]);
                    }
                    if (g > 0) {
                        ASSERT_EQ(bound % g, remaining % g) << DescribeInstance(sizes, volume);
                    }
                }
            }
        } while (bounds.GrowTail());
        // The whole list tabulated, except items larger than the volume, which are never taken.
        const auto usable = std::partition_point(sizes.begin(), sizes.end(),
                                                 [volume](std::int64_t s) { return s > volume; });
        EXPECT_EQ(bounds.TailStart(), static_cast<std::size_t>(usable - sizes.begin()))
            << DescribeInstance(sizes, volume);
    }
}

// Runs of equal sizes share one table, and the tables never hold more sums than their cap.
TEST(SubsetBounds, RunsShareATableAndTheCapHolds) {
    const std::vector<std::int64_t> sizes = {9, 5, 5, 5, 2, 0};
    TSubsetBounds bounds(sizes, 100, 24);
    EXPECT_EQ(bounds.TabulatedSums(), 1u);  // the end of the list: the total 0
    ASSERT_TRUE(bounds.GrowTail());         // {2}: 0 2
    EXPECT_EQ(bounds.TailStart(), 4u);
    EXPECT_EQ(bounds.TabulatedSums(), 3u);
    ASSERT_TRUE(bounds.GrowTail());  // {5, 2}: 0 2 5 7
    ASSERT_TRUE(bounds.GrowTail());  // {5, 5, 2} replaces it: 0 2 5 7 10 12
    EXPECT_EQ(bounds.TabulatedSums(), 1u + 2u + 6u);
    ASSERT_TRUE(bounds.GrowTail());  // {5, 5, 5, 2}: 0 2 5 7 10 12 15 17
    EXPECT_EQ(bounds.TabulatedSums(), 1u + 2u + 8u);
    EXPECT_EQ(bounds.TabulationWork(), 2u + 4u + 6u + 8u);
    // With 9 the new table could hold 16 sums beside the 11 held: over the cap, nothing changes.
    // (The run's last table was built while the 9 before it were held: 9 + 12 is within 24.)
    EXPECT_FALSE(bounds.GrowTail());
    EXPECT_EQ(bounds.TailStart(), 1u);
    EXPECT_EQ(bounds.TabulatedSums(), 11u);
    EXPECT_EQ(bounds.LeastRemainder(1, 16), 1);  // exact: 15 is the best under 16
    EXPECT_EQ(bounds.LeastRemainder(1, 4), 2);   // exact: 2 is the best under 4
    // Inside the run of fives the run's table bounds: it allows one five too many.
    EXPECT_EQ(bounds.LeastRemainder(2, 15), 0);

    // An item larger than the volume is never tabulated.
    const std::vector<std::int64_t> oversized = {50, 3};
    TSubsetBounds small(oversized, 10, 100);
    EXPECT_TRUE(small.GrowTail());
    EXPECT_FALSE(small.GrowTail());
    EXPECT_EQ(small.TailStart(), 1u);
}

// What the search may stop at, and the cheap bounds where sums leave the 64-bit range.
TEST(SubsetBounds, FloorsAndExtremeSizes) {
    struct TCase {
        std::vector<std::int64_t> Sizes;
        std::int64_t Volume;
        std::int64_t LeastPossible;
    };
    for (const TCase& c : {
             TCase{{6, 4, 0}, 11, 1},   // even sizes, odd volume
             TCase{{30, 9, 6}, 20, 2},  // 30 never fits: the divisor is 3
             TCase{{30, 0}, 20, 20},    // nothing positive fits
             TCase{{}, 5, 5},           // no items
             TCase{{7, 7, 7}, 7, 0},    // an exact fit is possible
         }) {
        const TSubsetBounds bounds(c.Sizes, c.Volume, 100);
        EXPECT_EQ(bounds.LeastPossibleRemainder(), c.LeastPossible)
            << DescribeInstance(c.Sizes, c.Volume);
    }

    // Totals beyond 2^63 - 1: the bound must still never exceed the truth.
    const std::vector<std::int64_t> huge = {kMax - 1, kMax / 2 + 1, kMax / 2, kMax / 4, 3};
    const TSubsetBounds bounds(huge, kMax, 100);
    for (const std::int64_t remaining :
         {kMax, kMax - 1, kMax / 2 + 3, kMax / 4 + 2, std::int64_t{3}}) {
        for (std::size_t from = 0; from <= huge.size(); ++from) {
            EXPECT_LE(bounds.LeastRemainder(from, remaining),
                      TrueLeastRemainder(huge, from, remaining))
                << "from " << from << ", remaining " << remaining;
        }
    }
    EXPECT_EQ(bounds.FirstFitting(0, kMax / 2), 2u);
    EXPECT_EQ(bounds.FirstFitting(0, 2), huge.size());
    EXPECT_EQ(bounds.FirstFitting(4, 3), 4u);
}

}  // namespace
