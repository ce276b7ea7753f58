// The console writer: console stream versus any other stream, narrow versus wide text.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

#include "Support/TestSupport.h"
#include "Text/ConsoleText.h"

namespace {

using Kvetra::AnsiToWide;
using Kvetra::ConsoleWrite;
using Kvetra::WideToAnsi;
using VantorelTest::TCoutCapture;

// "Чтение каталога" in Windows-1251.
constexpr char kAnsiReading[] = "\xD7\xF2\xE5\xED\xE8\xE5 \xEA\xE0\xF2\xE0\xEB\xEE\xE3\xE0";

TEST(ConsoleWriteNarrow, ConvertsForTheConsoleStreamOnly) {
    TCoutCapture capture;
    std::ostringstream other;
    EXPECT_EQ(&ConsoleWrite(std::cout, kAnsiReading), &std::cout);
    EXPECT_EQ(&ConsoleWrite(other, kAnsiReading), &other);
    EXPECT_EQ(capture.Text(), "Чтение каталога");
    EXPECT_EQ(other.str(), kAnsiReading);
}

TEST(ConsoleWriteNarrow, EndsAtTheFirstZeroByteAndWritesNothingForEmptyText) {
    TCoutCapture capture;
    std::ostringstream other;
    ConsoleWrite(std::cout, "ab\0cd");
    ConsoleWrite(std::cout, "");
    ConsoleWrite(other, "ab\0cd");
    EXPECT_EQ(capture.Text(), "ab");
    EXPECT_EQ(other.str(), "ab");
}

TEST(ConsoleWriteWide, ShowsNamesWholeOnTheConsoleAndAnsiElsewhere) {
    const std::wstring name = L"r\u00E9sum\u00E9 \u97F3\u697D \u041A\u0438\u043D\u043E";
    TCoutCapture capture;
    std::ostringstream other;
    EXPECT_EQ(&ConsoleWrite(std::cout, name), &std::cout);
    EXPECT_EQ(&ConsoleWrite(other, name), &other);
    EXPECT_EQ(capture.Text(), "résumé 音楽 Кино");
    EXPECT_EQ(other.str(), "r?sum? ?? \xCA\xE8\xED\xEE");
}

TEST(ConsoleWriteWide, WritesZeroUnitsLikeAnyOtherAndNothingForEmptyText) {
    const std::wstring withZero(L"a\0b", 3);
    TCoutCapture capture;
    std::ostringstream other;
    ConsoleWrite(std::cout, withZero);
    ConsoleWrite(std::cout, std::wstring());
    ConsoleWrite(other, withZero);
    EXPECT_EQ(capture.Text(), std::string("a\0b", 3));
    EXPECT_EQ(other.str(), std::string("a\0b", 3));
}

TEST(ConsoleWrite, AFailedStreamWritesNothing) {
    std::ostringstream other;
    other.setstate(std::ios_base::badbit);
    ConsoleWrite(other, "text");
    ConsoleWrite(other, std::wstring(L"text"));
    EXPECT_EQ(other.str(), "");
}

TEST(Conversions, KeepOneUnitPerByteEvenForZerosAndMissingCharacters) {
    const std::wstring wide(L"\u0416\0\u97F3x", 4);
    const std::string ansi = WideToAnsi(wide);
    EXPECT_EQ(ansi, std::string("\xC6\0?x", 4));
    const std::wstring back = AnsiToWide(ansi);
    EXPECT_EQ(back, std::wstring(L"\u0416\0?x", 4));
    EXPECT_EQ(WideToAnsi(L""), "");
    EXPECT_EQ(AnsiToWide(""), L"");
}

}  // namespace
