// The search reports with names that only POSIX systems produce, shown on a UTF-8 console.
#include <gtest/gtest.h>

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

// A name may hold any character but '/' and NUL on Linux. A newline in one must not split it into
// two lines of the report, nor may an escape sequence in one act on the terminal.
TEST(PrintSolution, ShowsControlCharactersInNamesAsQuestionMarks) {
    const std::vector<TItem> items = {
        {L"two\nlines", 1}, {L"\x1b[2Jclear\ttab\x7f\x9b", 2}, {L"été\x9f\xa0no-break", 3}};
    TCoutCapture capture;
    PrintSolution(0, {0, 1, 2}, items);
    EXPECT_EQ(capture.Text(),
              "\n----- Найдено частное решение -----\n"
              "Осталось не использованно: 0 B\n"
              "two?lines\n"
              "?[2Jclear?tab??\n"
              "été?\u00a0no-break\n"
              "Всего: 6 B\n");
    TCoutCapture oversized;
    ReportOversized(items, 1);
    EXPECT_NE(oversized.Text().find("?[2Jclear?tab??\t1 B\n"), std::string::npos);
}

}  // namespace
