// The Win32 platform layer: code pages and the console's two-step text, paths, the time of day and
// key input without a console. The tests run with the ANSI code page 1251 and the OEM code page 866
// (tools/wine-run sets them up under Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <sstream>
#include <string>

#include "Platform/Clock.h"
#include "Platform/CodePage.h"
#include "Platform/Keyboard.h"
#include "Platform/Paths.h"
#include "Support/TestSupport.h"
#include "Text/ConsoleText.h"

namespace {

namespace Platform = Kvetra::Platform;
using VantorelTest::Console;
using VantorelTest::TCoutCapture;

// "Желаемый объём" in Windows-1251.
constexpr char kAnsiVolume[] = "\xC6\xE5\xEB\xE0\xE5\xEC\xFB\xE9 \xEE\xE1\xFA\xB8\xEC";

TEST(CodePagesWin32, TheTestsRunWithTheRussianCodePages) {
    ASSERT_EQ(::GetACP(), 1251u) << "run the tests with a Russian locale (LC_ALL=ru_RU.UTF-8)";
    ASSERT_EQ(::GetOEMCP(), 866u);
}

TEST(CodePagesWin32, AnsiBytesBecomeOneCodeUnitEachAndConvertBack) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    std::wstring wide(all.size(), L'x');
    Platform::AnsiToWideChars(all.data(), all.size(), wide.data());
    // A few bytes whose characters are known independently of the system.
    EXPECT_EQ(wide[0x41], L'A');
    EXPECT_EQ(wide[0xC0], L'\u0410');
    EXPECT_EQ(wide[0xFF], L'\u044F');
    EXPECT_EQ(wide[0xA8], L'\u0401');
    EXPECT_EQ(wide[0xB9], L'\u2116');
    EXPECT_EQ(wide[0x88], L'\u20AC');
    std::string back(all.size(), 'x');
    Platform::WideToAnsiChars(wide.data(), wide.size(), back.data());
    EXPECT_EQ(back, all);
}

TEST(CodePagesWin32, CharactersTheCodePageLacksBecomeItsDefaultCharacter) {
    const std::wstring wide(L"a\u97F3\u697D\0\u0416z", 6);
    std::string ansi(wide.size(), 'x');
    Platform::WideToAnsiChars(wide.data(), wide.size(), ansi.data());
    EXPECT_EQ(ansi, std::string("a??\0\xC6z", 6));
}

TEST(CodePagesWin32, LowerCasesTheGivenCountInPlace) {
    std::wstring text = L"KB mB Tb \u041A\u0411 \u0401\u0406 7+ XY";
    Platform::CharLowerBuffW(text.data(), text.size() - 1);
    EXPECT_EQ(text, L"kb mb tb \u043A\u0431 \u0451\u0456 7+ xY");
}

TEST(ConsoleWin32, AnsiTextReachesTheConsoleInTheOemCodePage) {
    EXPECT_EQ(Platform::AnsiToConsole(""), "");
    EXPECT_EQ(Platform::AnsiToConsole(kAnsiVolume), Console("Желаемый объём"));
    EXPECT_EQ(Platform::AnsiToConsole("ASCII 1.5 KB\t\n"), "ASCII 1.5 KB\t\n");
}

TEST(ConsoleWin32, WideTextReachesTheConsoleThroughTheAnsiCodePage) {
    EXPECT_EQ(Platform::WideToConsole(L""), "");
    EXPECT_EQ(Platform::WideToConsole(L"2\\\u041A\u0438\u043D\u043E \u0451"), Console("2\\Кино ё"));
    EXPECT_EQ(Platform::WideToConsole(L"\u97F3\u697D.flac"), "??.flac");
    EXPECT_EQ(Platform::WideToConsole(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
    // The box-drawing line is in code page 866 (0xC4) but not in 1251: the way through the ANSI
    // code page loses it, as the console must show it.
    const std::wstring line = L"\u2500";
    EXPECT_NE(Platform::WideToConsole(line), "\xC4");
    EXPECT_EQ(Platform::WideToConsole(line), Platform::AnsiToConsole(Kvetra::WideToAnsi(line)));
}

TEST(ConsoleWin32, ConsoleWriteConvertsForTheConsoleStreamOnly) {
    const std::wstring name = L"\u041A\u0438\u043D\u043E \u97F3";
    TCoutCapture capture;
    std::ostringstream other;
    Kvetra::ConsoleWrite(std::cout, kAnsiVolume);
    Kvetra::ConsoleWrite(std::cout, name);
    Kvetra::ConsoleWrite(other, kAnsiVolume);
    Kvetra::ConsoleWrite(other, name);
    EXPECT_EQ(capture.Text(), Console("Желаемый объёмКино ") + "?");
    EXPECT_EQ(other.str(), std::string(kAnsiVolume) + "\xCA\xE8\xED\xEE ?");
}

TEST(PathsWin32, TheSeparatorIsTheBackslashAndDirectoriesAreRecognised) {
    EXPECT_EQ(Platform::kPathSeparator, L'\\');
    VantorelTest::TTempDir tree;
    const std::wstring directory = VantorelTest::Wide(tree.MakeDir("Фильмы"));
    const std::wstring file = VantorelTest::Wide(tree.MakeFile("notes.txt", 3));
    EXPECT_TRUE(Platform::PathIsDirectoryW(directory));
    EXPECT_TRUE(Platform::PathIsDirectoryW(directory + L"\\"));
    EXPECT_TRUE(Platform::PathIsDirectoryW(L"."));
    EXPECT_FALSE(Platform::PathIsDirectoryW(file));
    EXPECT_FALSE(Platform::PathIsDirectoryW(directory + L"\\missing"));
    EXPECT_FALSE(Platform::PathIsDirectoryW(L""));
}

TEST(ClockWin32, TheTimeOfDayFitsTheRecordsBufferOrIsRefused) {
    wchar_t buffer[10] = {};
    ASSERT_TRUE(Platform::FormatLocalTimeOfDay(buffer, std::size(buffer)));
    const std::wstring time = buffer;
    EXPECT_GE(time.size(), 7u);
    EXPECT_LE(time.size(), 9u);
    wchar_t tiny[3] = {};
    EXPECT_FALSE(Platform::FormatLocalTimeOfDay(tiny, std::size(tiny)));
}

TEST(KeyboardWin32, WithoutAConsoleNothingIsWaitedFor) {
    DWORD mode = 0;
    if (::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0) {
        GTEST_SKIP() << "standard input is a console here";
    }
    const Platform::TKeyInputMode keyMode;
    EXPECT_EQ(Platform::_kbhit(), 0);
    EXPECT_EQ(Platform::_getch(), -1);
}

}  // namespace
