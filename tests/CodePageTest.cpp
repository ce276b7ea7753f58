// The ANSI code page (Windows-1251) and the console encoding (UTF-8) of the POSIX platform layer.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "Platform/CodePage.h"

namespace {

using namespace Kvetra::Platform;

std::wstring AnsiByteToWide(unsigned char byte) {
    const char ansi = static_cast<char>(byte);
    wchar_t wide = 0;
    AnsiToWideChars(&ansi, 1, &wide);
    return std::wstring(1, wide);
}

TEST(CodePage, EveryByteConvertsToOneUnitAndBack) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    std::wstring wide(all.size(), L'x');
    AnsiToWideChars(all.data(), all.size(), wide.data());
    std::string back(all.size(), 'x');
    WideToAnsiChars(wide.data(), wide.size(), back.data());
    EXPECT_EQ(back, all);
}

// The table is our own; the system's converter is an independent witness for every assigned byte.
TEST(CodePage, AgreesWithTheSystemConverterOnEveryAssignedByte) {
    iconv_t converter = iconv_open("WCHAR_T", "CP1251");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        GTEST_SKIP() << "this system's iconv has no CP1251 converter";
    }
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == 0x98) {  // unassigned in 1251
            continue;
        }
        char in = static_cast<char>(byte);
        wchar_t out = 0;
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(&out);
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        ASSERT_NE(iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft),
                  static_cast<std::size_t>(-1))
            << "byte " << byte;
        EXPECT_EQ(AnsiByteToWide(static_cast<unsigned char>(byte)), std::wstring(1, out))
            << "byte " << byte;
    }
    iconv_close(converter);
}

TEST(CodePage, CharactersTheCodePageLacksBecomeTheDefaultChar) {
    const std::wstring wide = L"a\u00E9\u97F3\U0001F3B5\xDC80\x0401z";
    std::string ansi(wide.size(), 'x');
    WideToAnsiChars(wide.data(), wide.size(), ansi.data());
    EXPECT_EQ(ansi, "a????\xA8z");
}

struct TConsoleCase {
    std::wstring Wide;
    std::string Console;
};

class WideToConsoleTest : public testing::TestWithParam<TConsoleCase> {};

TEST_P(WideToConsoleTest, ShowsEveryCharacterWhole) {
    EXPECT_EQ(WideToConsole(GetParam().Wide), GetParam().Console);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WideToConsoleTest,
    testing::Values(TConsoleCase{L"", ""}, TConsoleCase{L"plain.txt", "plain.txt"},
                    TConsoleCase{L"r\u00E9sum\u00E9.flac", "résumé.flac"},
                    TConsoleCase{L"\u97F3\u697D", "音楽"},
                    TConsoleCase{L"\U0001F3B5", "\xF0\x9F\x8E\xB5"},
                    // An escaped name byte and a lone surrogate cannot be shown.
                    TConsoleCase{L"a\xDCFF"
                                 L"b\xD800",
                                 "a?b?"},
                    TConsoleCase{std::wstring(L"a\0b", 3), std::string("a\0b", 3)}));

TEST(CodePage, AnsiTextReachesTheConsoleAsUtf8) {
    EXPECT_EQ(AnsiToConsole(""), "");
    EXPECT_EQ(AnsiToConsole("ASCII 1.5 KB"), "ASCII 1.5 KB");
    EXPECT_EQ(AnsiToConsole("\xC6\xE5\xEB\xE0\xE5\xEC\xFB\xE9 \xEE\xE1\xFA\xB8\xEC"),
              "Желаемый объём");
    EXPECT_EQ(AnsiToConsole("\xB9\x96\x85"), "№–…");
    EXPECT_EQ(AnsiToConsole("\x98"), "?");
}

TEST(CodePage, LowerCasesAsciiAndCyrillicInPlace) {
    std::wstring text = L"KB mB Tb \u041A\u0411 \u0401\u0406 \u00DF 7+";
    CharLowerBuffW(text.data(), text.size());
    EXPECT_EQ(text, L"kb mb tb \u043A\u0431 \u0451\u0456 \u00DF 7+");
}

TEST(CodePage, LowerCasesOnlyTheGivenCount) {
    std::wstring text = L"ABC";
    CharLowerBuffW(text.data(), 2);
    EXPECT_EQ(text, L"abC");
}

}  // namespace
