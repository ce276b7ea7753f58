// The volume argument: whole numbers with an optional unit, and the two errors.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Errors/Exceptions.h"
#include "Text/ConsoleText.h"
#include "VolumeParser.h"

namespace {

using Vantorel::ParseVolume;
using Vantorel::ReadInteger;

struct TValueCase {
    std::wstring Argument;
    std::int64_t Bytes;
};

class ParseVolumeValueTest : public testing::TestWithParam<TValueCase> {};

TEST_P(ParseVolumeValueTest, GivesTheByteCount) {
    EXPECT_EQ(ParseVolume(GetParam().Argument), GetParam().Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseVolumeValueTest,
    testing::Values(
        TValueCase{L"700Mb", 734003200}, TValueCase{L"700 mb", 734003200},
        TValueCase{L"  700MB", 734003200}, TValueCase{L"\t700mB", 734003200},
        TValueCase{L"+4Gb", 4294967296}, TValueCase{L"100", 100}, TValueCase{L"100   ", 100},
        TValueCase{L"100b", 100}, TValueCase{L"1Tb", 1099511627776}, TValueCase{L"007kb", 7168},
        TValueCase{L"4482Mb", 4699717632}, TValueCase{L"-5Gb", -5368709120}, TValueCase{L"0", 0},
        TValueCase{L"0Tb", 0}, TValueCase{L"-0", 0}, TValueCase{L"9223372036854775807", INT64_MAX},
        TValueCase{L"-9223372036854775808", INT64_MIN},
        TValueCase{L"8388607Tb", 9223370937343148032}, TValueCase{L"-8388608Tb", INT64_MIN}));

enum class TError { Conversion, Unit };

struct TErrorCase {
    std::wstring Argument;
    TError Error;
};

class ParseVolumeErrorTest : public testing::TestWithParam<TErrorCase> {};

// The message quotes the argument exactly as typed: neither trimmed nor lower-cased.
TEST_P(ParseVolumeErrorTest, RaisesTheRightErrorQuotingTheArgument) {
    const std::wstring& argument = GetParam().Argument;
    const std::wstring expected =
        GetParam().Error == TError::Conversion
            ? L"Ошибка при преобразовании параметра '" + argument + L"' в число"
            : L"Ошибка при определении единиц измерения параметра '" + argument + L"'";
    try {
        ParseVolume(argument);
        FAIL() << "no error raised";
    } catch (const Kvetra::TAplThrowException& e) {
        EXPECT_EQ(Kvetra::AnsiToWide(e.what()), Kvetra::AnsiToWide(Kvetra::WideToAnsi(expected)));
        EXPECT_EQ(e.SourceFile(), "main/VolumeParser.cpp");
        EXPECT_GT(e.SourceLine(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseVolumeErrorTest,
    testing::Values(
        TErrorCase{L"Mb", TError::Conversion}, TErrorCase{L"", TError::Conversion},
        TErrorCase{L"   ", TError::Conversion}, TErrorCase{L"-", TError::Conversion},
        TErrorCase{L"+Gb", TError::Conversion}, TErrorCase{L"- 5", TError::Conversion},
        TErrorCase{L"1.5Gb", TError::Unit}, TErrorCase{L"5Gb ", TError::Unit},
        TErrorCase{L"5\tGb", TError::Unit}, TErrorCase{L"5k", TError::Unit},
        TErrorCase{L"5kib", TError::Unit}, TErrorCase{L"5 kilobytes", TError::Unit},
        TErrorCase{L"5\u041A\u0431", TError::Unit}, TErrorCase{L"0x10", TError::Unit},
        TErrorCase{L"5\x0661", TError::Unit},  // an Arabic-Indic digit is no digit here
        // Out of the signed 64-bit range: never a wrapped value.
        TErrorCase{L"9223372036854775808", TError::Conversion},
        TErrorCase{L"-9223372036854775809", TError::Conversion},
        TErrorCase{L"99999999999999999999999Gb", TError::Conversion},
        TErrorCase{L"8388608Tb", TError::Conversion},
        TErrorCase{L"9007199254740992Kb", TError::Conversion},
        TErrorCase{L"-8388609Tb", TError::Conversion},
        // An overflow that no unit asks for is not an overflow: the unit is what is wrong.
        TErrorCase{L"9223372036854775807 pb", TError::Unit}));

TEST(ParseVolume, TheTwoErrorsHaveRaiseSitesOfTheirOwn) {
    auto lineOf = [](const std::wstring& argument) {
        try {
            ParseVolume(argument);
        } catch (const Kvetra::TAplThrowException& e) {
            return e.SourceLine();
        }
        return 0;
    };
    EXPECT_NE(lineOf(L"x"), lineOf(L"5x"));
}

struct TReadCase {
    std::wstring Text;
    std::size_t Stop;  // characters consumed
    std::int64_t Value;
};

class ReadIntegerTest : public testing::TestWithParam<TReadCase> {};

TEST_P(ReadIntegerTest, StopsAfterTheLastDigitOrReadsNothing) {
    const std::wstring& text = GetParam().Text;
    std::int64_t value = 42;
    const wchar_t* stop = ReadInteger(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(static_cast<std::size_t>(stop - text.data()), GetParam().Stop);
    EXPECT_EQ(value, GetParam().Value);
}

INSTANTIATE_TEST_SUITE_P(Table, ReadIntegerTest,
                         testing::Values(TReadCase{L"", 0, 0}, TReadCase{L" \t ", 0, 0},
                                         TReadCase{L" \t-12ab", 5, -12}, TReadCase{L"+0", 2, 0},
                                         TReadCase{L"x1", 0, 0}, TReadCase{L"--1", 0, 0},
                                         TReadCase{L"12 34", 2, 12},
                                         TReadCase{L"92233720368547758070", 0, 0}));

}  // namespace
