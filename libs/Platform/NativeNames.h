// Conversion between the byte strings of a POSIX system (file names, command-line arguments) and
// the program's wide strings.
//
// Bytes are read as UTF-8. Each byte that is not part of a valid UTF-8 sequence becomes one code
// point U+DC80..U+DCFF (0x80 + the byte's low seven bits), and converting back restores that byte,
// so every name, valid text or not, survives the round trip exactly and can be opened again.
#pragma once

#include <string>
#include <string_view>

namespace Kvetra::Platform {

// First and last code point that stand for a raw byte that was not valid UTF-8.
inline constexpr wchar_t kFirstEscapedByte = 0xDC80;
inline constexpr wchar_t kLastEscapedByte = 0xDCFF;

std::wstring NativeToWide(std::string_view native);

// NativeToWide appending to wide, so that a caller converting many names can reuse one buffer.
void AppendNativeAsWide(std::string_view native, std::wstring& wide);

// The inverse of NativeToWide. A code point that no UTF-8 sequence can carry (a surrogate other
// than an escaped byte, or one above U+10FFFF) becomes '?'.
std::string WideToNative(std::wstring_view wide);

// Appends the UTF-8 form of a Unicode scalar value (not a surrogate, at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t scalar);

}  // namespace Kvetra::Platform
