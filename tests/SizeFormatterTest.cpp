// Byte counts in human-readable form.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <sstream>

#include "SizeFormatter.h"
#include "Support/TestSupport.h"

namespace {

using Vantorel::WriteSize;

struct TSizeCase {
    std::int64_t Size;
    const char* Text;
};

class WriteSizeTest : public testing::TestWithParam<TSizeCase> {};

TEST_P(WriteSizeTest, WritesTheExactText) {
    std::ostringstream out;
    WriteSize(out, GetParam().Size);
    EXPECT_EQ(out.str(), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WriteSizeTest,
    testing::Values(
        TSizeCase{0, "0 B"}, TSizeCase{1023, "1023 B"}, TSizeCase{-5, "-5 B"},
        TSizeCase{INT64_MIN, "-9223372036854775808 B"}, TSizeCase{1024, "1.00 KB (1024 B)"},
        TSizeCase{1025, "1.00 KB (1025 B)"}, TSizeCase{1536, "1.50 KB (1536 B)"},
        TSizeCase{1048575, "1024.00 KB (1048575 B)"}, TSizeCase{1048576, "1024.00 KB (1048576 B)"},
        TSizeCase{1048577, "1.00 MB (1048577 B)"}, TSizeCase{734003200, "700.00 MB (734003200 B)"},
        TSizeCase{4700000000, "4.38 GB (4700000000 B)"},
        TSizeCase{1099511627776, "1024.00 GB (1099511627776 B)"},
        TSizeCase{2199023255552000, "2000.00 TB (2199023255552000 B)"},
        TSizeCase{INT64_MAX, "8388608.00 TB (9223372036854775807 B)"}));

TEST(WriteSize, LeavesFixedNotationWithTwoDecimalsOnlyAfterAScaledValue) {
    std::ostringstream out;
    WriteSize(out, 100);
    EXPECT_EQ(out.flags() & std::ios_base::floatfield, std::ios_base::fmtflags{});
    EXPECT_EQ(out.precision(), 6);
    WriteSize(out, 5000);
    EXPECT_EQ(out.flags() & std::ios_base::floatfield, std::ios_base::fixed);
    EXPECT_EQ(out.precision(), 2);
}

// The size text is ASCII, so the console stream shows the very same text as any other stream.
TEST(WriteSize, WritesTheSameTextOnTheConsoleStream) {
    VantorelTest::TCoutCapture capture;
    WriteSize(std::cout, 1536);
    std::cout.unsetf(std::ios_base::floatfield);
    std::cout.precision(6);
    EXPECT_EQ(capture.Text(), "1.50 KB (1536 B)");
}

}  // namespace
