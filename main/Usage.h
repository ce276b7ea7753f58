#pragma once

#include <ostream>
#include <string>

namespace Vantorel {

// The usage banner: what the program does, how to call it, and how to stop a long search. Ends
// with a newline.
extern const std::wstring g_UsageBanner;

// Writes the banner to the console stream in one piece and returns the console stream.
std::ostream& PrintUsage();

}  // namespace Vantorel
