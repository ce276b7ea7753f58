// The search's two console reports: oversized items, and one combination.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "Item.h"
#include "SearchReports.h"
#include "Support/TestSupport.h"

namespace {

using Vantorel::PrintSolution;
using Vantorel::ReportOversized;
using Vantorel::TItem;
using VantorelTest::TCoutCapture;

const std::string kHyphens(79, '-');

struct TOversizedCase {
    const char* Name;
    std::vector<TItem> Items;
    std::int64_t Volume;
    std::string Expected;
};

void PrintTo(const TOversizedCase& c, std::ostream* s) {
    *s << c.Name;
}

class ReportOversizedTest : public testing::TestWithParam<TOversizedCase> {};

TEST_P(ReportOversizedTest, ListsWhatCanNeverFit) {
    TCoutCapture capture;
    ReportOversized(GetParam().Items, GetParam().Volume);
    EXPECT_EQ(capture.Text(), VantorelTest::Console(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportOversizedTest,
    testing::Values(
        TOversizedCase{"NoItems", {}, 100, ""},
        // An item exactly as large as the volume fits.
        TOversizedCase{"NothingOversized", {{L"a", 100}, {L"b", 0}, {L"c", 99}}, 100, ""},
        // In the order given, each with its excess, under one header and above one closing line.
        TOversizedCase{
            "SeveralInTheirOrder",
            {{L"1\\small", 5}, {L"2\\Фильмы", 2148}, {L"1\\exact", 100}, {L"1\\b.iso", 101}},
            100,
            "\n" + kHyphens +
                "\nОбнаружены файлы/каталоги которые не поместятся в заданный объём:\n"
                "2\\Фильмы\t2.00 KB (2048 B)\n"
                "1\\b.iso\t1 B\n" +
                kHyphens + "\n"},
        TOversizedCase{"TheLargestSizeAgainstTheSmallestVolume",
                       {{L"huge", std::numeric_limits<std::int64_t>::max()}},
                       1,
                       "\n" + kHyphens +
                           "\nОбнаружены файлы/каталоги которые не поместятся в заданный объём:\n"
                           "huge\t8388608.00 TB (9223372036854775806 B)\n" +
                           kHyphens + "\n"}),
    [](const testing::TestParamInfo<TOversizedCase>& info) {
        return std::string(info.param.Name);
    });

TEST(PrintSolution, ShowsTheSpaceLeftTheNamesInOrderAndTheTotal) {
    const std::vector<TItem> items = {
        {L"1\\Сталкер.mkv", 4928307200}, {L"2\\Music", 1536}, {L"1\\unused", 7}};
    TCoutCapture capture;
    PrintSolution(5, {0, 1}, items);
    EXPECT_EQ(capture.Text(), VantorelTest::Console("\n----- Найдено частное решение -----\n"
                                                    "Осталось не использованно: 5 B\n"
                                                    "1\\Сталкер.mkv\n"
                                                    "2\\Music\n"
                                                    "Всего: 4.59 GB (4928308736 B)\n"));
}

// A total that does not fit in 64 bits cannot come from the search; were it handed one, nothing of
// the report is written.
TEST(PrintSolution, RefusesATotalBeyond64BitsBeforeWritingAnything) {
    const std::vector<TItem> items = {{L"a", std::numeric_limits<std::int64_t>::max()}, {L"b", 1}};
    TCoutCapture capture;
    EXPECT_THROW(PrintSolution(0, {0, 1}, items), std::overflow_error);
    EXPECT_EQ(capture.Text(), "");
}

}  // namespace
