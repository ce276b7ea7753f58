// Code-page conversions that the console writer and the volume parser need of the platform.
//
// Narrow text is in the system's ANSI code page, one byte per character; wide text is one
// wchar_t per code unit. The program's own narrow literals are Windows-1251 text. What the
// console shows is the platform's affair: OEM bytes on a Windows console, UTF-8 on a POSIX
// terminal, so the console conversions may change the length of the text.
//
// On Windows these are the system's conversions with its ANSI code page (CP_ACP) and its OEM code
// page, and wide text reaches the console in two steps, wide to ANSI, then ANSI to OEM. On POSIX
// systems the ANSI code page is always Windows-1251 and the console gets UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Kvetra::Platform {

// The byte that stands for a character the ANSI code page lacks (on Windows: where the system has
// no close substitute of its own).
inline constexpr char kAnsiDefaultChar = '?';

// Converts exactly n wide code units to n bytes of the ANSI code page at dst. A character the code
// page lacks becomes kAnsiDefaultChar; a zero code unit becomes a zero byte.
void WideToAnsiChars(const wchar_t* src, std::size_t n, char* dst);

// Converts exactly n ANSI bytes to n wide code units at dst.
void AnsiToWideChars(const char* src, std::size_t n, wchar_t* dst);

// The bytes that show the given ANSI text on the console.
std::string AnsiToConsole(std::string_view ansi);

// The bytes that show the given wide text on the console. On POSIX systems every character the
// console can show is kept and the rest (such as a name byte that is not valid text) shows as
// kAnsiDefaultChar; on Windows the text is first made ANSI text, one byte per code unit, so what
// the ANSI code page lacks is lost.
std::string WideToConsole(std::wstring_view wide);

// Lower-cases n code units in place. Letters of the ASCII range and of the Cyrillic alphabet are
// mapped; other characters stay as they are.
void CharLowerBuffW(wchar_t* buffer, std::size_t n);

}  // namespace Kvetra::Platform
