// The error log's three record forms, its time stamp and its lock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <iostream>
#include <memory>
#include <regex>
#include <streambuf>
#include <thread>
#include <vector>

#include "Errors/ErrorLog.h"
#include "Errors/Exceptions.h"
#include "Support/TestSupport.h"

namespace {

using VantorelTest::MaskTimes;
using VantorelTest::TCoutCapture;

struct TAplCase {
    const char* File;
    int Line;
    const char* Message;  // Windows-1251
    const char* Record;   // as the console shows it
};

class LogAplExceptionTest : public testing::TestWithParam<TAplCase> {};

TEST_P(LogAplExceptionTest, WritesTheThreeLineRecord) {
    TCoutCapture capture;
    Kvetra::LogAplException(GetParam().File, GetParam().Line, GetParam().Message);
    EXPECT_EQ(MaskTimes(capture.Text()), VantorelTest::Console(GetParam().Record));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LogAplExceptionTest,
    testing::Values(TAplCase{"main/Driver.cpp", 57,
                             "\xCA\xE0\xF2\xE0\xEB\xEE\xE3 'x' \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED",
                             "HH:MM:SS Kvetra::TAplThrowException main/Driver.cpp, 57:\n\tКаталог "
                             "'x' не найден\n\n"},
                    TAplCase{"a.cpp", 0, "",
                             "HH:MM:SS Kvetra::TAplThrowException a.cpp, 0:\n\t\n\n"},
                    TAplCase{"a.cpp", -3, "one\ntwo",
                             "HH:MM:SS Kvetra::TAplThrowException a.cpp, -3:\n\tone\ntwo\n\n"},
                    TAplCase{"a.cpp", 1234567, "x",
                             "HH:MM:SS Kvetra::TAplThrowException a.cpp, 1234567:\n\tx\n\n"}));

TEST(ErrorLog, StdAndUnknownRecordsAreOneLineEach) {
    TCoutCapture capture;
    Kvetra::LogStdException("std::bad_alloc");
    Kvetra::LogUnknownException();
    EXPECT_EQ(MaskTimes(capture.Text()),
              "HH:MM:SS std::exception: std::bad_alloc\nHH:MM:SS <UNKNOWN_EXCEPTION>\n");
}

TEST(ErrorLog, TheTimeIsTheTimeOfDayOnTheTwentyFourHourClock) {
    const std::wstring wide = Kvetra::CurrentTimeText();
    const std::string time(wide.begin(), wide.end());
    std::smatch parts;
    const std::string pattern = VantorelTest::kTimeOfDayPattern;
    ASSERT_TRUE(std::regex_match(time, parts, std::regex("(" + pattern + ")"))) << time;
    int hour = -1;
    int minute = -1;
    int second = -1;
    ASSERT_EQ(std::sscanf(time.c_str(), "%d:%d:%d", &hour, &minute, &second), 3) << time;
    EXPECT_TRUE(hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 &&
                second <= 59)
        << time;
}

// Records written from several threads at once never interleave.
TEST(ErrorLog, RecordsFromSeveralThreadsStayWhole) {
    TCoutCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            const std::string file = "thread" + std::to_string(t) + ".cpp";
            for (int i = 0; i < 100; ++i) {
                Kvetra::LogAplException(file.c_str(), i, "message");
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::regex record(
        R"(HH:MM:SS Kvetra::TAplThrowException thread\d\.cpp, \d+:\n\tmessage\n\n)");
    const std::string masked = MaskTimes(capture.Text());
    const auto begin = std::sregex_iterator(masked.begin(), masked.end(), record);
    std::size_t covered = 0;
    int records = 0;
    for (auto it = begin; it != std::sregex_iterator(); ++it, ++records) {
        ASSERT_EQ(static_cast<std::size_t>(it->position()), covered) << "interleaved record";
        covered += static_cast<std::size_t>(it->length());
    }
    EXPECT_EQ(records, 400);
    EXPECT_EQ(covered, masked.size());
}

class TFailingBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// A writer that fails lets the failure pass and still releases the lock for the next record.
TEST(ErrorLog, AFailedWriterReleasesTheLock) {
    TFailingBuffer failing;
    std::streambuf* saved = std::cout.rdbuf(&failing);
    std::cout.exceptions(std::ios_base::badbit);
    EXPECT_THROW(Kvetra::LogAplException("f.cpp", 1, "m"), std::ios_base::failure);
    std::cout.exceptions(std::ios_base::goodbit);
    std::cout.clear();
    std::cout.rdbuf(saved);

    TCoutCapture capture;
    // The writer runs on a thread of its own, so that a lock left held shows as a time-out here
    // rather than as a hung test.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([done] {
        Kvetra::LogUnknownException();
        done->set_value();
    }).detach();
    ASSERT_EQ(finished.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "the lock was not released";
    EXPECT_EQ(MaskTimes(capture.Text()), "HH:MM:SS <UNKNOWN_EXCEPTION>\n");
}

TEST(Exceptions, AplExceptionKeepsItsOwnCopiesAndIsCopyable) {
    std::string message = "message";
    std::string file = "main/File.cpp";
    const Kvetra::TAplThrowException original(message.c_str(), file.c_str(), 7);
    message.assign("changed");
    file.assign("changed");
    const Kvetra::TAplThrowException copy = original;
    EXPECT_STREQ(copy.what(), "message");
    EXPECT_EQ(copy.SourceFile(), "main/File.cpp");
    EXPECT_EQ(copy.SourceLine(), 7);
}

TEST(Exceptions, RaiseConvertsTheMessageAndNamesTheCallerRelativeToTheSourceRoot) {
    try {
        Kvetra::RaiseAplError(L"\u041E\u0448\u0438\u0431\u043A\u0430 \u97F3");  // "Ошибка 音"
    } catch (const Kvetra::TAplThrowException& e) {
        EXPECT_STREQ(e.what(), "\xCE\xF8\xE8\xE1\xEA\xE0 ?");
        EXPECT_EQ(e.SourceFile(), "tests/ErrorLogTest.cpp");
        EXPECT_EQ(e.SourceLine(), __LINE__ - 4);
        return;
    }
    FAIL() << "nothing raised";
}

}  // namespace
