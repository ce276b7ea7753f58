// Code pages on Windows: the system's ANSI and OEM code pages, through the system's conversions.
// The console gets text in two steps, wide to ANSI and ANSI to OEM, so a character the ANSI code
// page lacks shows as its default character even where the OEM code page has it.
#include <windows.h>

#include <algorithm>
#include <climits>

#include "Platform/CodePage.h"

namespace Kvetra::Platform {
namespace {

// The conversions take int or DWORD counts; longer texts go in pieces of at most this many units.
constexpr std::size_t kPiece = INT_MAX / 2;

// Calls convert(offset, count) for consecutive pieces covering [0, n). A piece of wide text never
// ends between the two halves of a surrogate pair.
template <typename TConvert>
void InPieces(std::size_t n, const wchar_t* wide, TConvert convert) {
    std::size_t offset = 0;
    while (offset < n) {
        std::size_t count = std::min(kPiece, n - offset);
        if (wide != nullptr && count < n - offset && IS_HIGH_SURROGATE(wide[offset + count - 1])) {
            --count;
        }
        convert(offset, count);
        offset += count;
    }
}

void AnsiToOemInPlace(char* text, std::size_t n) {
    InPieces(n, nullptr, [text](std::size_t offset, std::size_t count) {
        ::CharToOemBuffA(text + offset, text + offset, static_cast<DWORD>(count));
    });
}

}  // namespace

void WideToAnsiChars(const wchar_t* src, std::size_t n, char* dst) {
    // What the system does not convert (it reports no failure that matters here) stays zero.
    std::fill(dst, dst + n, '\0');
    InPieces(n, src, [src, dst](std::size_t offset, std::size_t count) {
        ::WideCharToMultiByte(CP_ACP, 0, src + offset, static_cast<int>(count), dst + offset,
                              static_cast<int>(count), nullptr, nullptr);
    });
}

void AnsiToWideChars(const char* src, std::size_t n, wchar_t* dst) {
    std::fill(dst, dst + n, L'\0');
    InPieces(n, nullptr, [src, dst](std::size_t offset, std::size_t count) {
        ::MultiByteToWideChar(CP_ACP, 0, src + offset, static_cast<int>(count), dst + offset,
                              static_cast<int>(count));
    });
}

std::string AnsiToConsole(std::string_view ansi) {
    std::string oem(ansi);
    AnsiToOemInPlace(oem.data(), oem.size());
    return oem;
}

std::string WideToConsole(std::wstring_view wide) {
    std::string text(wide.size(), '\0');
    WideToAnsiChars(wide.data(), wide.size(), text.data());
    AnsiToOemInPlace(text.data(), text.size());
    return text;
}

void CharLowerBuffW(wchar_t* buffer, std::size_t n) {
    InPieces(n, buffer, [buffer](std::size_t offset, std::size_t count) {
        ::CharLowerBuffW(buffer + offset, static_cast<DWORD>(count));
    });
}

}  // namespace Kvetra::Platform
