// The local time of day, for the time stamp of error records.
#pragma once

#include <cstddef>

namespace Kvetra::Platform {

// Writes the current local time of day on the 24-hour clock, in the local convention, into buffer
// as a zero-terminated wide text of at most size - 1 characters. Returns false, leaving buffer
// unspecified, when the time cannot be had or does not fit.
bool FormatLocalTimeOfDay(wchar_t* buffer, std::size_t size);

}  // namespace Kvetra::Platform
