// Writing the program's text to the console, and the conversions between wide strings and narrow
// text in the ANSI code page.
//
// The console stream is std::cout, recognised by the identity of the stream object (never by asking
// whether standard output is a terminal): text written to it is converted for the console, so a
// redirected standard output receives what a terminal would. Text written to any other stream
// arrives as ANSI bytes.
#pragma once

#include <ostream>
#include <string>

namespace Kvetra {

// Writes the zero-terminated ANSI text: converted for the console when s is the console stream,
// byte for byte otherwise. Returns s.
std::ostream& ConsoleWrite(std::ostream& s, const char* text);

// Writes every code unit of the wide string, zero units included: converted straight for the
// console when s is the console stream (so names show whole where the console can show them), as
// WideToAnsi bytes otherwise. Returns s.
std::ostream& ConsoleWrite(std::ostream& s, const std::wstring& text);

// The wide string as ANSI text: one byte per code unit, characters the code page lacks replaced by
// its default character.
std::string WideToAnsi(const std::wstring& wide);

// The ANSI text as a wide string: one code unit per byte.
std::wstring AnsiToWide(const std::string& ansi);

}  // namespace Kvetra
