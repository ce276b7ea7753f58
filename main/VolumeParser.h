// The desired volume: the last command-line argument, a whole number with an optional unit.
#pragma once

#include <cstdint>
#include <string>

namespace Vantorel {

// Reads optional blanks or tabs, an optional sign and ASCII decimal digits from [first, last) into
// value. Returns the position just after the last digit, or first when no number was read or when
// the number lies outside the signed 64-bit range (value is then 0).
const wchar_t* ReadInteger(const wchar_t* first, const wchar_t* last, std::int64_t& value);

// Parses the volume argument into a count of bytes: the number, optional blanks, then nothing or
// one of the units b, kb, mb, gb, tb in any letter case (powers of 1024). The value is not judged:
// zero and negative counts are returned as they are. Raises TAplThrowException with the conversion
// error when no number can be read or the count lies outside the signed 64-bit range, and with the
// unit error when the rest of the argument is not a unit.
std::int64_t ParseVolume(const std::wstring& argument);

}  // namespace Vantorel
