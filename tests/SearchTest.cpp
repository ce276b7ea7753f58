// The exhaustive search: which combinations it reports, in what order, where it stops, and that
// depth and size extremes cannot break it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Item.h"
#include "Search.h"
#include "Support/TestSupport.h"

namespace {

using Vantorel::SearchSubsets;
using Vantorel::TItem;
using Vantorel::TSelection;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

struct TReport {
    std::int64_t Remainder;
    TSelection Selection;
    bool operator==(const TReport&) const = default;
};

struct TOutcome {
    std::vector<TReport> Reports;
    std::uint64_t Visited = 0;
    bool operator==(const TOutcome&) const = default;
};

std::string Describe(const std::vector<std::int64_t>& sizes, std::int64_t volume) {
    std::ostringstream s;
    s << "volume " << volume << ", sizes {";
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        s << (i == 0 ? "" : ", ") << sizes[i];
    }
    s << "}";
    return s.str();
}

std::ostream& operator<<(std::ostream& s, const TOutcome& outcome) {
    s << "visited " << outcome.Visited << ";";
    for (const TReport& report : outcome.Reports) {
        s << " [" << report.Remainder << ":";
        for (const std::size_t position : report.Selection) {
            s << " " << position;
        }
        s << "]";
    }
    return s;
}

TOutcome Search(const std::vector<std::int64_t>& sizes, std::int64_t volume) {
    TOutcome outcome;
    outcome.Visited =
        SearchSubsets(sizes, volume, [&](std::int64_t remainder, const TSelection& selection) {
            outcome.Reports.push_back({remainder, selection});
        });
    return outcome;
}

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
    *s << Describe(c.Sizes, c.Volume);
}

class SearchSubsetsTest : public testing::TestWithParam<TSearchCase> {};

TEST_P(SearchSubsetsTest, ReportsEachImprovementInVisitingOrder) {
    const TSearchCase& c = GetParam();
    EXPECT_EQ(Search(c.Sizes, c.Volume), c.Expected);
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
TEST(SearchSubsets, MatchesTheOracleOnGeneratedInstances) {
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
        const TOutcome actual = Search(sizes, volume);
        ASSERT_EQ(actual, expected) << Describe(sizes, volume);
    }
}

// A million items that all go into one combination: the search is a million deep and must neither
// run out of stack nor slow down with depth.
TEST(SearchSubsets, AMillionItemsDeep) {
    const std::size_t n = 1000000;
    const std::vector<std::int64_t> sizes(n, 1);
    std::size_t reports = 0;
    std::int64_t lastRemainder = -1;
    std::size_t lastLength = 0;
    const std::uint64_t visited =
        SearchSubsets(sizes, static_cast<std::int64_t>(n),
                      [&](std::int64_t remainder, const TSelection& selection) {
                          ++reports;
                          lastRemainder = remainder;
                          lastLength = selection.size();
                      });
    EXPECT_EQ(reports, n);
    EXPECT_EQ(lastRemainder, 0);
    EXPECT_EQ(lastLength, n);
    EXPECT_EQ(visited, n);
}

TEST(SearchSubsets, RefusesANegativeSize) {
    const std::vector<std::int64_t> sizes = {5, -1};
    bool reported = false;
    EXPECT_THROW(
        SearchSubsets(sizes, 10, [&](std::int64_t, const TSelection&) { reported = true; }),
        std::invalid_argument);
    EXPECT_FALSE(reported);
}

// An exception from a report leaves the search at once.
TEST(SearchSubsets, AFailingReportEndsTheSearch) {
    const std::vector<std::int64_t> sizes = {3, 2, 1};
    int calls = 0;
    EXPECT_THROW(SearchSubsets(sizes, 10,
                               [&](std::int64_t, const TSelection&) {
                                   ++calls;
                                   throw std::bad_alloc();
                               }),
                 std::bad_alloc);
    EXPECT_EQ(calls, 1);
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
