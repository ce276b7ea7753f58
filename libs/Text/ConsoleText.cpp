#include "Text/ConsoleText.h"

#include <cstring>
#include <iostream>

#include "Platform/CodePage.h"

namespace Kvetra {
namespace {

bool IsConsoleStream(const std::ostream& s) {
    return &s == &std::cout;
}

std::ostream& WriteBytes(std::ostream& s, const std::string& bytes) {
    return s.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

std::ostream& ConsoleWrite(std::ostream& s, const char* text) {
    const std::size_t n = std::strlen(text);
    if (IsConsoleStream(s)) {
        return WriteBytes(s, Platform::AnsiToConsole({text, n}));
    }
    return s.write(text, static_cast<std::streamsize>(n));
}

std::ostream& ConsoleWrite(std::ostream& s, const std::wstring& text) {
    if (IsConsoleStream(s)) {
        return WriteBytes(s, Platform::WideToConsole(text));
    }
    return WriteBytes(s, WideToAnsi(text));
}

std::string WideToAnsi(const std::wstring& wide) {
    std::string ansi(wide.size(), '\0');
    Platform::WideToAnsiChars(wide.data(), wide.size(), ansi.data());
    return ansi;
}

std::wstring AnsiToWide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    Platform::AnsiToWideChars(ansi.data(), ansi.size(), wide.data());
    return wide;
}

}  // namespace Kvetra
