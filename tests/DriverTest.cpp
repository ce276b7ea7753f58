// The driver: which record each kind of failure gets, the exit code, and the reading of the
// directories into one item list.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Driver.h"
#include "Errors/Exceptions.h"
#include "Support/TestSupport.h"

namespace {

using VantorelTest::MaskTimes;
using VantorelTest::TCoutCapture;

struct TFailureCase {
    const char* Name;
    std::function<void()> Body;
    int ExitCode;
    const char* Record;
};

class RunReportingFailuresTest : public testing::TestWithParam<TFailureCase> {};

TEST_P(RunReportingFailuresTest, WritesOneRecordOfTheRightForm) {
    TCoutCapture capture;
    EXPECT_EQ(Vantorel::RunReportingFailures(GetParam().Body), GetParam().ExitCode);
    EXPECT_EQ(MaskTimes(capture.Text()), GetParam().Record);
}

INSTANTIATE_TEST_SUITE_P(
    CatchClauses, RunReportingFailuresTest,
    testing::Values(
        TFailureCase{"Success", [] {}, 0, ""},
        TFailureCase{"Silent", [] { throw Kvetra::TSilentException(); }, 1, ""},
        // The record for the library's own type comes before the clause for std::exception.
        TFailureCase{"Apl", [] { throw Kvetra::TAplThrowException("bad", "main/X.cpp", 9); }, 1,
                     "HH:MM:SS Kvetra::TAplThrowException main/X.cpp, 9:\n\tbad\n\n"},
        TFailureCase{"AllocationFailure", [] { throw std::bad_alloc(); }, 1,
                     "HH:MM:SS std::exception: std::bad_alloc\n"},
        TFailureCase{"RuntimeError", [] { throw std::runtime_error("disk on fire"); }, 1,
                     "HH:MM:SS std::exception: disk on fire\n"},
        TFailureCase{"NotAnException", [] { throw 42; }, 1, "HH:MM:SS <UNKNOWN_EXCEPTION>\n"}),
    [](const testing::TestParamInfo<TFailureCase>& info) { return info.param.Name; });

using TFlatItems = std::vector<std::pair<std::string, std::int64_t>>;

TFlatItems Flatten(const std::vector<Vantorel::TItem>& items) {
    TFlatItems flat;
    for (const Vantorel::TItem& item : items) {
        flat.emplace_back(VantorelTest::Utf8(item.Name), item.Size);
    }
    return flat;
}

TEST(ReadDirectories, OneDirectoryHasNoPrefix) {
    VantorelTest::TTempDir tree;
    const std::string films = tree.MakeDir("Фильмы");
    tree.MakeFile("Фильмы/Сталкер.mkv", 4000);
    std::vector<Vantorel::TItem> items;
    TCoutCapture capture;
    Vantorel::ReadDirectories({VantorelTest::Wide(films)}, items);
    EXPECT_EQ(capture.Text(), VantorelTest::Console("Чтение каталога : " + films + " ...\n"));
    EXPECT_EQ(Flatten(items), (TFlatItems{{"Сталкер.mkv", 4000}}));
}

TEST(ReadDirectories, SeveralDirectoriesArePrefixedByTheirPosition) {
    VantorelTest::TTempDir tree;
    const std::wstring a = VantorelTest::Wide(tree.MakeDir("a"));
    const std::wstring b = VantorelTest::Wide(tree.MakeDir("b"));
    tree.MakeFile("a/x", 1);
    tree.MakeFile("b/y/z", 2);
    tree.MakeFile("b/w", 3);
    // b twice, then eight empty ones, then a as the twelfth.
    std::vector<std::wstring> directories = {b, a, b};
    for (int i = 0; i < 8; ++i) {
        directories.push_back(VantorelTest::Wide(tree.MakeDir("empty")));
    }
    directories.push_back(a);
    std::vector<Vantorel::TItem> items;
    TCoutCapture capture;
    Vantorel::ReadDirectories(directories, items);
    std::string expectedLines;
    for (std::size_t k = 0; k < directories.size(); ++k) {
        expectedLines += "Чтение каталога " + std::to_string(k + 1) +
                         "\\: " + VantorelTest::Utf8(directories[k]) + " ...\n";
    }
    EXPECT_EQ(capture.Text(), VantorelTest::Console(expectedLines));
    const TFlatItems expected = {{"1\\w", 3}, {"1\\y", 2}, {"2\\x", 1},
                                 {"3\\w", 3}, {"3\\y", 2}, {"12\\x", 1}};
    EXPECT_EQ(Flatten(items), expected);
}

}  // namespace
