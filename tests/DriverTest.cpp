// The driver's catch clauses: which record each kind of failure gets, and the exit code.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

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

}  // namespace
