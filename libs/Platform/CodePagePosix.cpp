// Code pages on POSIX: the ANSI code page is always Windows-1251, whatever the system's locale, and
// the console speaks UTF-8. The 1251 table is our own, so the program does not depend on which
// iconv converters a system happens to have.
#include "Platform/CodePage.h"

#include <array>

#include "Platform/NativeNames.h"

namespace Kvetra::Platform {
namespace {

// Code points of the bytes 0x80..0xFF. 0x98 is unassigned in 1251; it maps to U+0098 so that
// every byte still converts and converts back.
constexpr std::array<char32_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // 0xF8
};
constexpr unsigned char kUnassignedByte = 0x98;

char32_t AnsiByteToCodePoint(unsigned char byte) {
    return byte < 0x80 ? byte : kUpperHalf[byte - 0x80];
}

char CodePointToAnsiByte(char32_t codePoint) {
    if (codePoint < 0x80) {
        return static_cast<char>(codePoint);
    }
    if (codePoint >= 0x0410 && codePoint <= 0x044F) {  // the common case: А..я
        return static_cast<char>(0xC0 + (codePoint - 0x0410));
    }
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == codePoint) {
            return static_cast<char>(0x80 + i);
        }
    }
    return kAnsiDefaultChar;
}

}  // namespace

void WideToAnsiChars(const wchar_t* src, std::size_t n, char* dst) {
    for (std::size_t i = 0; i < n; ++i) {
        dst[i] = CodePointToAnsiByte(static_cast<char32_t>(src[i]));
    }
}

void AnsiToWideChars(const char* src, std::size_t n, wchar_t* dst) {
    for (std::size_t i = 0; i < n; ++i) {
        dst[i] = static_cast<wchar_t>(AnsiByteToCodePoint(static_cast<unsigned char>(src[i])));
    }
}

std::string AnsiToConsole(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() * 2);
    for (const char ch : ansi) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte == kUnassignedByte) {
            out += kAnsiDefaultChar;
        } else {
            AppendUtf8(out, AnsiByteToCodePoint(byte));
        }
    }
    return out;
}

std::string WideToConsole(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size() * 2);
    for (const wchar_t ch : wide) {
        const auto c = static_cast<char32_t>(ch);
        // Surrogates (escaped name bytes among them) are not characters and cannot be shown.
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            out += kAnsiDefaultChar;
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

void CharLowerBuffW(wchar_t* buffer, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t c = buffer[i];
        if ((c >= L'A' && c <= L'Z') || (c >= 0x0410 && c <= 0x042F)) {
            buffer[i] = static_cast<wchar_t>(c + 0x20);
        } else if (c >= 0x0400 && c <= 0x040F) {  // Ѐ..Џ
            buffer[i] = static_cast<wchar_t>(c + 0x50);
        }
    }
}

}  // namespace Kvetra::Platform
