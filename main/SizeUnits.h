#pragma once

#include <array>

namespace Vantorel {

// Names of the size units; entry i stands for 1024 to the power i bytes. TB is the largest unit.
// Plain ASCII, so the same bytes in every code page.
inline constexpr std::array<const char*, 5> g_SizeUnits = {"B", "KB", "MB", "GB", "TB"};

}  // namespace Vantorel
