// The searches: which combinations they report, in what order, where they stop, that the program's
// search reports exactly what the plain enumeration does, and that depth and size extremes break
// neither.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iostream>
#include <iterator>
#include <limits>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Item.h"
#include "Search.h"
#include "Support/TestSupport.h"

namespace {

using VantorelTest::DescribeInstance;

using Vantorel::SearchSubsets;
using Vantorel::SearchSubsetsPlain;
using Vantorel::TItem;
using Vantorel::TSearchStats;
using Vantorel::TSearchTuning;
using Vantorel::TSelection;
using Vantorel::TSolutionReport;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

struct TReport {
    std::int64_t Remainder;
    TSelection Selection;
    bool operator==(const TReport&) const = default;
};

struct TOutcome {
    std::vector<TReport> Reports;
    std::uint64_t Visited = 0;
    bool Finished = true;
    bool operator==(const TOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& s, const TOutcome& outcome) {
    s << "visited " << outcome.Visited << (outcome.Finished ? "" : ", unfinished") << ";";
    for (const TReport& report : outcome.Reports) {
        s << " [" << report.Remainder << ":";
        for (const std::size_t position : report.Selection) {
            s << " " << position;
        }
        s << "]";
    }
    return s;
}

TOutcome Record(const std::function<TSearchStats(const TSolutionReport&)>& search) {
    TOutcome outcome;
    const TSearchStats stats = search([&](std::int64_t remainder, const TSelection& selection) {
        outcome.Reports.push_back({remainder, selection});
    });
    outcome.Visited = stats.Visited;
    outcome.Finished = stats.Finished;
    return outcome;
}

TOutcome SearchPlain(const std::vector<std::int64_t>& sizes, std::int64_t volume,
                     std::uint64_t visitLimit = Vantorel::kNoVisitLimit) {
    return Record([&](const TSolutionReport& report) {
        return SearchSubsetsPlain(sizes, volume, report, visitLimit);
    });
}

TOutcome SearchFast(const std::vector<std::int64_t>& sizes, std::int64_t volume,
                    const TSearchTuning& tuning = {},
                    std::uint64_t visitLimit = Vantorel::kNoVisitLimit) {
    return Record([&](const TSolutionReport& report) {
        return SearchSubsets(sizes, volume, report, visitLimit, tuning);
    });
}

// Settings of the program's search that bring each of its parts into play on small inputs: the
// plain start, bounds without tables, tables that grow with the work or are built at once, tables
// cut short by their cap, and bounds brought in part-way through the walk.
struct TNamedTuning {
    const char* Name;
    TSearchTuning Tuning;
};
constexpr std::uint64_t kAll = std::numeric_limits<std::uint64_t>::max();
const TNamedTuning kTunings[] = {
    {"as the program runs", {}},
    {"bounds from the start, tables growing with the work", {0, 0, 8, std::size_t{1} << 24}},
    {"bounds without tables", {0, 0, 0, std::size_t{1} << 24}},
    {"tables built at once", {0, 0, kAll, std::size_t{1} << 24}},
    {"tables capped at a few sums", {0, 0, kAll, 9}},
    {"bounds after a few plain steps", {7, 0, 2, std::size_t{1} << 24}},
    {"bounds after a plain step per item", {0, 1, 1, std::size_t{1} << 24}},
};

// What the search must report, found another way. Each subset of positions gets a number whose
// base-13 digits, most significant first, are its positions plus one, padded with zeros to twelve
// digits; sorting by that number puts the subsets in lexicographic order, a prefix before its
// extensions. The subsets that fit are then walked in that order, keeping the best.
TOutcome Oracle(const std::vector<std::int64_t>& sizes, std::int64_t volume) {
    const std::size_t n = sizes.size();
    if (n > 12) {
        throw std::invalid_argument("the oracle handles at most 12 items");
    }
    std::vector<std::pair<std::uint64_t, std::uint32_t>> subsets;  // order number, bit mask
    for (std::uint32_t mask = 1; mask < (1u << n); ++mask) {
        std::uint64_t number = 0;
        int digits = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if ((mask & (1u << i)) != 0) {
                number = number * 13 + i + 1;
                ++digits;
            }
        }
        for (; digits < 12; ++digits) {
            number *= 13;
        }
        subsets.emplace_back(number, mask);
    }
    std::sort(subsets.begin(), subsets.end());
    TOutcome outcome;
    std::int64_t best = volume;
    for (const auto& [number, mask] : subsets) {
        std::int64_t total = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if ((mask & (1u << i)) != 0) {
                total += sizes[i];
            }
        }
        if (total > volume) {
            continue;
        }
        ++outcome.Visited;
        if (volume - total < best) {
            best = volume - total;
            TSelection subset;
            for (std::size_t i = 0; i < n; ++i) {
                if ((mask & (1u << i)) != 0) {
                    subset.push_back(i);
                }
            }
            outcome.Reports.push_back({best, subset});
            if (best == 0) {
                break;
            }
        }
    }
    return outcome;
}

struct TSearchCase {
    const char* Name;
    std::int64_t Volume;
    std::vector<std::int64_t> Sizes;  // already largest first, as the program hands them over
    TOutcome Expected;
};

void PrintTo(const TSearchCase& c, std::ostream* s) {
    *s << DescribeInstance(c.Sizes, c.Volume);
}

class SearchSubsetsTest : public testing::TestWithParam<TSearchCase> {};

TEST_P(SearchSubsetsTest, ReportsEachImprovementInVisitingOrder) {
    const TSearchCase& c = GetParam();
    EXPECT_EQ(SearchPlain(c.Sizes, c.Volume), c.Expected);
    for (const TNamedTuning& tuning : kTunings) {
        const TOutcome fast = SearchFast(c.Sizes, c.Volume, tuning.Tuning);
        EXPECT_EQ(fast.Reports, c.Expected.Reports) << tuning.Name;
        EXPECT_TRUE(fast.Finished) << tuning.Name;
        EXPECT_LE(fast.Visited, c.Expected.Visited) << tuning.Name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchSubsetsTest,
    testing::Values(
        // Greedy 520 + 470 first; only backtracking finds 500 + 495. 8 combinations fit.
        TSearchCase{"BacktrackingBeatsGreedy",
                    1000,
                    {520, 500, 495, 470},
                    {{{480, {0}}, {10, {0, 3}}, {5, {1, 2}}}, 8}},
        // Everything fits without an exact fit: one report per item on the first descent, then all
        // 2^3 - 1 combinations visited without another report.
        TSearchCase{"AllFitTogether",
                    1000,
                    {300, 200, 100},
                    {{{700, {0}}, {500, {0, 1}}, {400, {0, 1, 2}}}, 7}},
        // The exact fit stops the search: the second 300 is never looked at.
        TSearchCase{"ExactFitStops", 1000, {700, 300, 300}, {{{300, {0}}, {0, {0, 1}}}, 2}},
        // Of two items as large as the volume only the first is shown, and nothing after it.
        TSearchCase{"AnItemAsLargeAsTheVolume", 1000, {1000, 1000, 10}, {{{0, {0}}}, 1}},
        // Oversized items stay in the list but are never taken.
        TSearchCase{"OversizedAreSkipped", 1000, {5000, 1001, 600, 600}, {{{400, {2}}}, 2}},
        TSearchCase{"AllOversized", 10, {30, 20, 11}, {{}, 0}},
        TSearchCase{"NoItems", 10, {}, {{}, 0}},
        // Items of size 0 always fit, so they multiply the combinations, but never improve one.
        TSearchCase{"OnlyZerosFit", 10, {11, 0, 0, 0}, {{}, 7}},
        TSearchCase{"ZerosAreNeverShown", 10, {4, 0, 0}, {{{6, {0}}}, 7}},
        // A later combination that only equals the best is not shown.
        TSearchCase{"EqualIsNotBetter", 10, {6, 3, 3}, {{{4, {0}}, {1, {0, 1}}}, 6}},
        TSearchCase{
            "EqualIsNotBetterBeforeAnExactFit", 10, {6, 4, 4, 3, 3}, {{{4, {0}}, {0, {0, 1}}}, 2}},
        TSearchCase{"TiesGoToTheFirstVisited",
                    9,
                    {5, 5, 3, 1},
                    {{{4, {0}}, {1, {0, 2}}, {0, {0, 2, 3}}}, 3}},
        // Sizes at the top of the 64-bit range: nothing may overflow on the way.
        TSearchCase{"LargestSizes", kMax, {kMax, kMax - 1, 1}, {{{0, {0}}}, 1}},
        TSearchCase{"LargestSizesWithoutAnExactFit",
                    kMax - 1,
                    {kMax, kMax - 2, kMax - 2, 0},
                    {{{1, {1}}}, 5}}),
    [](const testing::TestParamInfo<TSearchCase>& info) { return std::string(info.param.Name); });

// Thousands of small instances against the oracle: duplicates, zeros, oversized items, exact fits
// and volumes that take everything or nothing.
TEST(SearchSubsets, BothSearchesMatchTheOracleOnGeneratedInstances) {
    std::mt19937_64 random(20261211);
    for (int instance = 0; instance < 4000; ++instance) {
        const std::size_t n = random() % 13;
        const std::int64_t range = (instance % 3 == 0) ? 4 : (instance % 3 == 1) ? 30 : 1000000;
        std::vector<std::int64_t> sizes(n);
        std::int64_t sum = 0;
        for (std::int64_t& size : sizes) {
            size = static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(range + 1));
            sum += size;
        }
        std::sort(sizes.rbegin(), sizes.rend());
        const std::int64_t volume =
            1 + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(sum + 3));
        const TOutcome expected = Oracle(sizes, volume);
        ASSERT_EQ(SearchPlain(sizes, volume), expected) << DescribeInstance(sizes, volume);
        const TNamedTuning& tuning = kTunings[instance % std::size(kTunings)];
        ASSERT_EQ(SearchFast(sizes, volume, tuning.Tuning).Reports, expected.Reports)
            << DescribeInstance(sizes, volume) << "; " << tuning.Name;
    }
}

// Eight thousand generated instances, each searched both ways: the program's search must
// report exactly what the plain enumeration reports, in the same order, and end after the same
// last report. Families: duplicates, zero sizes, oversized items, planted exact fits, everything
// fitting, nothing fitting, a common divisor without an exact fit, few distinct sizes, sizes near
// the top of the 64-bit range, and one to 24 items.
TEST(SearchSubsets, ReportsExactlyWhatThePlainEnumerationReports) {
    std::mt19937_64 random(20261212);
    const auto below = [&random](std::uint64_t bound) {
        return static_cast<std::int64_t>(random() % bound);
    };
    for (int instance = 0; instance < 8000; ++instance) {
        const int family = instance % 10;
        // The plain enumeration may visit 2^n combinations: one round of the ten families in 60
        // has 17 to 24 items (at most 20 where everything fits, as all 2^n then fit).
        const bool large = (instance / 10) % 60 == 0;
        const std::size_t n = static_cast<std::size_t>(
            large ? (family == 3 ? 17 + below(4) : 17 + below(8)) : 1 + below(16));
        std::vector<std::int64_t> sizes(n);
        std::int64_t volume = 0;
        std::int64_t divisor = 1;
        switch (family) {
            case 0:  // many duplicates and zeros
            case 1:  // a wider range
            case 2:  // sizes like files
                for (std::int64_t& size : sizes) {
                    size = below(family == 0 ? 5 : family == 1 ? 40 : 1000000000);
                }
                break;
            case 3:  // everything fits
            case 4:  // nothing fits but zeros
            case 5:  // an exact fit planted among the rest
            case 6:  // a common divisor, and a volume no combination can fill
            case 7:  // few distinct sizes
                divisor = family == 6 ? 2 + below(6) : 1;
                for (std::int64_t& size : sizes) {
                    size = divisor * (family == 7 ? 1000 + 77 * below(3) : 1 + below(1000000));
                }
                break;
            case 8:  // sizes near the top of the 64-bit range: their sums overflow
                for (std::int64_t& size : sizes) {
                    size = std::numeric_limits<std::int64_t>::max() / 4 + below(1000);
                }
                break;
            default:  // the hard kind: sizes close together, each needed to fill the volume
                for (std::size_t i = 0; i < n; ++i) {
                    sizes[i] = static_cast<std::int64_t>(n * (n + 1) + i + 1);
                }
                break;
        }
        std::sort(sizes.rbegin(), sizes.rend());
        std::int64_t sum = 0;
        for (const std::int64_t size : sizes) {
            sum = (sum > std::numeric_limits<std::int64_t>::max() - size)
                      ? std::numeric_limits<std::int64_t>::max()
                      : sum + size;
        }
        if (family == 3) {
            volume = sum + below(3);
        } else if (family == 4) {
            volume = std::max<std::int64_t>(1, sizes.back() - 1);
        } else if (family == 5) {
            for (const std::int64_t size : sizes) {
                volume += below(2) * size;
            }
        } else if (family == 6) {
            volume = divisor * below(static_cast<std::uint64_t>(sum / divisor) + 2) + 1 +
                     below(static_cast<std::uint64_t>(divisor - 1));
        } else {
            volume = sum / 2;
        }
        volume = std::max<std::int64_t>(volume, 1);
        if (below(4) == 0) {
            sizes.insert(sizes.end(), static_cast<std::size_t>(below(3)), 0);  // zeros come last
        }

        const TOutcome expected = SearchPlain(sizes, volume);
        const TNamedTuning& tuning =
            kTunings[static_cast<std::size_t>(instance / 10) % std::size(kTunings)];
        const TOutcome actual = SearchFast(sizes, volume, tuning.Tuning);
        ASSERT_EQ(actual.Reports, expected.Reports)
            << DescribeInstance(sizes, volume) << "; " << tuning.Name << "\nfast:  " << actual
            << "\nplain: " << expected;
        ASSERT_TRUE(actual.Finished);
        ASSERT_LE(actual.Visited, expected.Visited)
            << DescribeInstance(sizes, volume) << "; " << tuning.Name;
    }
}

// The least remainder of any combination, by meeting in the middle: all totals of each half of the
// items, and for each total of the first half the largest fitting total of the second.
std::int64_t LeastRemainderByHalves(const std::vector<std::int64_t>& sizes, std::int64_t volume) {
    const auto totals = [](std::span<const std::int64_t> part) {
        std::vector<std::int64_t> sums{0};
        for (const std::int64_t size : part) {
            const std::size_t count = sums.size();
            for (std::size_t i = 0; i < count; ++i) {
                sums.push_back(sums[i] + size);
            }
        }
        return sums;
    };
    const std::span<const std::int64_t> all(sizes);
    const std::vector<std::int64_t> first = totals(all.first(sizes.size() / 2));
    std::vector<std::int64_t> second = totals(all.subspan(sizes.size() / 2));
    std::sort(second.begin(), second.end());
    std::int64_t least = volume;
    for (const std::int64_t a : first) {
        if (a <= volume) {
            const auto b = std::upper_bound(second.begin(), second.end(), volume - a) - 1;
            least = std::min(least, volume - a - *b);
        }
    }
    return least;
}

// Instances whose plain enumeration would outlast anyone's patience, with optima known in closed
// form: the program's search proves them within a bounded number of visits.
TEST(SearchSubsets, ProvesHardOptimaWithinFewVisits) {
    struct TCase {
        const char* Name;
        std::vector<std::int64_t> Sizes;
        std::int64_t Volume;
        std::int64_t Optimum;  // the least remainder possible
    };
    std::vector<TCase> cases;
    {
        // Sizes n(n+1)+j: half the items, less one, fit; the best of them are the largest.
        const std::int64_t n = 60;
        TCase c{"CloseSizes", {}, (n - 1) / 2 * n * (n + 1) + n * (n - 1) / 2, 0};
        for (std::int64_t j = n; j >= 1; --j) {
            c.Sizes.push_back(n * (n + 1) + j);
        }
        const std::int64_t fit = (n - 1) / 2;
        std::int64_t total = 0;
        for (std::int64_t j = 0; j < fit; ++j) {
            total += c.Sizes[static_cast<std::size_t>(j)];
        }
        c.Optimum = c.Volume - total;
        cases.push_back(c);
    }
    {
        // Sizes 2^(k+n+1) + 2^(k+j) + 1 against half their sum: exactly n/2 items fit, and the
        // best leaves 2^k (2^(n/2) - 1).
        const int n = 40;
        const int k = 5;
        TCase c{"PowersOfTwo", {}, 0, (std::int64_t{1} << k) * ((std::int64_t{1} << (n / 2)) - 1)};
        std::int64_t sum = 0;
        for (int j = n; j >= 1; --j) {
            c.Sizes.push_back((std::int64_t{1} << (k + n + 1)) + (std::int64_t{1} << (k + j)) + 1);
            sum += c.Sizes.back();
        }
        c.Volume = sum / 2;
        cases.push_back(c);
    }
    {
        // Even sizes against an odd volume between what three and four items can make: no
        // combination comes within one byte of the volume, so only the bounds can end the search.
        TCase c{"EvenSizesOddVolume", {}, 7000001, 7000001 - 2 * (3000000 + 59 + 58 + 57)};
        for (int i = 59; i >= 0; --i) {
            c.Sizes.push_back(2 * (1000000 + i));
        }
        cases.push_back(c);
    }
    {
        // Random even sizes of up to 10^12 against an odd volume of half their sum: the optimum
        // comes from meeting in the middle, an independent way to find it.
        std::mt19937_64 random(20261213);
        for (const std::size_t n : {30, 36}) {
            TCase c{"RandomEvenSizesOddVolume", {}, 0, 0};
            std::int64_t sum = 0;
            for (std::size_t i = 0; i < n; ++i) {
                c.Sizes.push_back(2 * static_cast<std::int64_t>(1 + random() % 500000000000));
                sum += c.Sizes.back();
            }
            std::sort(c.Sizes.rbegin(), c.Sizes.rend());
            c.Volume = sum / 2 | 1;
            c.Optimum = LeastRemainderByHalves(c.Sizes, c.Volume);
            cases.push_back(c);
        }
    }
    for (const TCase& c : cases) {
        const TOutcome outcome = SearchFast(c.Sizes, c.Volume, {}, 2000000);
        ASSERT_TRUE(outcome.Finished) << c.Name;
        ASSERT_FALSE(outcome.Reports.empty()) << c.Name;
        EXPECT_EQ(outcome.Reports.back().Remainder, c.Optimum) << c.Name;
    }
}

// A million items that all go into one combination: the search is a million deep and must neither
// run out of stack nor slow down with depth. With one byte to spare, the program's search must
// also prove that nothing beats taking everything without visiting more than that path.
TEST(SearchSubsets, AMillionItemsDeep) {
    const std::size_t n = 1000000;
    const std::vector<std::int64_t> sizes(n, 1);
    // Copying a million selections would take far longer than the searches: keep only counts.
    struct TSummary {
        std::size_t Reports = 0;
        std::int64_t LastRemainder = -1;
        std::size_t LastLength = 0;
        TSearchStats Stats;
    };
    const auto summarize = [](const auto& search) {
        TSummary summary;
        summary.Stats = search([&summary](std::int64_t remainder, const TSelection& selection) {
            ++summary.Reports;
            summary.LastRemainder = remainder;
            summary.LastLength = selection.size();
        });
        return summary;
    };
    const auto volume = static_cast<std::int64_t>(n);
    for (const auto& [name, summary, remainder, visited] : {
             std::tuple{"plain", summarize([&](const TSolutionReport& report) {
                            return SearchSubsetsPlain(sizes, volume, report);
                        }),
                        std::int64_t{0}, n},
             std::tuple{"fast", summarize([&](const TSolutionReport& report) {
                            return SearchSubsets(sizes, volume, report);
                        }),
                        std::int64_t{0}, n},
             // One byte to spare: only the bounds can prove that nothing beats taking everything.
             std::tuple{"fast, bounds from the start",
                        summarize([&](const TSolutionReport& report) {
                            return SearchSubsets(sizes, volume + 1, report, Vantorel::kNoVisitLimit,
                                                 TSearchTuning{0, 0, 8, std::size_t{1} << 20});
                        }),
                        std::int64_t{1}, n},
         }) {
        EXPECT_EQ(summary.Reports, n) << name;
        EXPECT_EQ(summary.LastRemainder, remainder) << name;
        EXPECT_EQ(summary.LastLength, n) << name;
        EXPECT_EQ(summary.Stats.Visited, visited) << name;
        EXPECT_TRUE(summary.Stats.Finished) << name;
    }
}

// Bad input is refused before anything is reported; a failing report ends either search at once;
// the visit limit ends either search unfinished.
TEST(SearchSubsets, RefusesBadInputStopsOnAFailingReportAndAtTheLimit) {
    const std::vector<std::int64_t> negative = {5, -1};
    const std::vector<std::int64_t> unsorted = {1, 2};
    const std::vector<std::int64_t> sizes = {3, 2, 1};
    EXPECT_THROW(SearchPlain(negative, 10), std::invalid_argument);
    EXPECT_THROW(SearchFast(negative, 10), std::invalid_argument);
    EXPECT_THROW(SearchFast(unsorted, 10), std::invalid_argument);

    for (const bool fast : {false, true}) {
        int calls = 0;
        const auto failing = [&](std::int64_t, const TSelection&) {
            ++calls;
            throw std::bad_alloc();
        };
        EXPECT_THROW(
            fast ? SearchSubsets(sizes, 10, failing) : SearchSubsetsPlain(sizes, 10, failing),
            std::bad_alloc);
        EXPECT_EQ(calls, 1) << fast;
    }

    // With the bounds at work from the start: every limit below the full count stops the search
    // unfinished after exactly that many visits, having shown the first reports of the full run.
    const std::vector<std::int64_t> primes = {97, 89, 83, 79, 73, 71, 67, 61, 59, 53};
    const TSearchTuning bounded{0, 0, 2, std::size_t{1} << 20};
    const TOutcome full = SearchFast(primes, 301, bounded);
    ASSERT_TRUE(full.Finished);
    ASSERT_EQ(full.Reports, SearchPlain(primes, 301).Reports);
    ASSERT_GE(full.Visited, 3u);
    for (std::uint64_t limit = 1; limit < full.Visited; ++limit) {
        const TOutcome limited = SearchFast(primes, 301, bounded, limit);
        EXPECT_FALSE(limited.Finished) << limit;
        EXPECT_EQ(limited.Visited, limit);
        ASSERT_LE(limited.Reports.size(), full.Reports.size());
        EXPECT_TRUE(
            std::equal(limited.Reports.begin(), limited.Reports.end(), full.Reports.begin()))
            << limit;
    }
    EXPECT_EQ(SearchFast(primes, 301, bounded, full.Visited + 1), full);

    EXPECT_EQ(SearchPlain(sizes, 10, 2), (TOutcome{{{7, {0}}, {5, {0, 1}}}, 2, false}));
    EXPECT_EQ(SearchFast(sizes, 10, {}, 2), (TOutcome{{{7, {0}}, {5, {0, 1}}}, 2, false}));
    EXPECT_EQ(SearchPlain(sizes, 10, 8),
              (TOutcome{{{7, {0}}, {5, {0, 1}}, {4, {0, 1, 2}}}, 7, true}));
}

// The names of items in their order, each followed by ';'.
std::wstring NamesInOrder(const std::vector<TItem>& items) {
    std::wstring names;
    for (const TItem& item : items) {
        names += item.Name + L";";
    }
    return names;
}

TEST(SortLargestFirst, KeepsTheOrderOfEqualSizes) {
    std::vector<TItem> items = {{L"a", 5}, {L"b", 7}, {L"c", 5}, {L"d", 0},
                                {L"e", 7}, {L"f", 5}, {L"g", 0}, {L"h", kMax}};
    Vantorel::SortLargestFirst(items);
    EXPECT_EQ(NamesInOrder(items), L"h;b;e;a;c;f;d;g;");

    // Long enough that a sort which does not keep the order of equals shows it.
    std::vector<TItem> many;
    for (int i = 0; i < 300; ++i) {
        many.push_back({std::to_wstring(i), (i * 7) % 5});
    }
    Vantorel::SortLargestFirst(many);
    for (std::size_t i = 1; i < many.size(); ++i) {
        const TItem& a = many[i - 1];
        const TItem& b = many[i];
        ASSERT_TRUE(a.Size > b.Size || (a.Size == b.Size && std::stoi(a.Name) < std::stoi(b.Name)))
            << "position " << i;
    }
}

// The program's search: sorted in place, every improvement shown on the console.
TEST(FindOptimalFill, SortsTheItemsAndShowsEveryImprovement) {
    std::vector<TItem> items = {
        {L"1\\470", 470}, {L"2\\Фильм", 500}, {L"1\\495", 495}, {L"1\\520", 520}, {L"1\\zero", 0}};
    VantorelTest::TCoutCapture capture;
    Vantorel::FindOptimalFill(1000, items);
    EXPECT_EQ(capture.Text(), VantorelTest::Console("\n----- Найдено частное решение -----\n"
                                                    "Осталось не использованно: 480 B\n"
                                                    "1\\520\n"
                                                    "Всего: 520 B\n"
                                                    "\n----- Найдено частное решение -----\n"
                                                    "Осталось не использованно: 10 B\n"
                                                    "1\\520\n"
                                                    "1\\470\n"
                                                    "Всего: 990 B\n"
                                                    "\n----- Найдено частное решение -----\n"
                                                    "Осталось не использованно: 5 B\n"
                                                    "2\\Фильм\n"
                                                    "1\\495\n"
                                                    "Всего: 995 B\n"));
    EXPECT_EQ(NamesInOrder(items), L"1\\520;2\\Фильм;1\\495;1\\470;1\\zero;");
}

// Of many items of equal size, the one read first is the one shown: enough items that a sort which
// does not keep the order of equals would show another.
TEST(FindOptimalFill, OfEqualItemsShowsTheOneReadFirst) {
    std::vector<TItem> items;
    for (int i = 10; i < 50; ++i) {
        items.push_back({L"f" + std::to_wstring(i), i % 3 + 5});
    }
    VantorelTest::TCoutCapture capture;
    Vantorel::FindOptimalFill(6, items);
    EXPECT_EQ(capture.Text(), VantorelTest::Console("\n----- Найдено частное решение -----\n"
                                                    "Осталось не использованно: 0 B\n"
                                                    "f10\n"
                                                    "Всего: 6 B\n"));
}

}  // namespace
