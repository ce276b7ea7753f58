// Native byte strings (names, arguments) to wide strings and back.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Platform/NativeNames.h"

namespace {

using Kvetra::Platform::NativeToWide;
using Kvetra::Platform::WideToNative;

struct TDecodeCase {
    std::string Native;
    std::wstring Wide;
};

class NativeDecodeTest : public testing::TestWithParam<TDecodeCase> {};

TEST_P(NativeDecodeTest, DecodesAndRestoresTheExactBytes) {
    EXPECT_EQ(NativeToWide(GetParam().Native), GetParam().Wide);
    EXPECT_EQ(WideToNative(GetParam().Wide), GetParam().Native);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NativeDecodeTest,
    testing::Values(TDecodeCase{"", L""}, TDecodeCase{"Film.avi", L"Film.avi"},
                    TDecodeCase{"Кино", L"\u041A\u0438\u043D\u043E"},
                    TDecodeCase{"\xF0\x9F\x8E\xB5", L"\U0001F3B5"},
                    // Latin-1 bytes are not UTF-8: each one is kept as an escaped byte.
                    TDecodeCase{"caf\xE9.txt", L"caf\xDCE9.txt"},
                    // A lead byte cut short, a stray continuation byte, an overlong '/', an encoded
                    // surrogate and a code point above U+10FFFF are all invalid, byte by byte.
                    TDecodeCase{"\xD0", L"\xDCD0"}, TDecodeCase{"\x80z", L"\xDC80z"},
                    TDecodeCase{"\xC0\xAF", L"\xDCC0\xDCAF"},
                    TDecodeCase{"\xED\xB2\x80", L"\xDCED\xDCB2\xDC80"},
                    TDecodeCase{"\xF4\x90\x80\x80", L"\xDCF4\xDC90\xDC80\xDC80"},
                    TDecodeCase{"\xE2\x82", L"\xDCE2\xDC82"}));

TEST(NativeNames, EveryByteStringSurvivesTheRoundTrip) {
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 24);
    for (int i = 0; i < 20000; ++i) {
        std::string native(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : native) {
            c = static_cast<char>(byte(random));
        }
        ASSERT_EQ(WideToNative(NativeToWide(native)), native);
    }
}

TEST(NativeNames, CodePointsNoByteSequenceCarriesBecomeQuestionMarks) {
    EXPECT_EQ(WideToNative(L"a\xD800"
                           L"b"),
              "a?b");
}

}  // namespace
