#include <windows.h>

#include <climits>

#include "Platform/Clock.h"

namespace Kvetra::Platform {

bool FormatLocalTimeOfDay(wchar_t* buffer, std::size_t size) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    // The locale's own time format, not the user's changes to it, always on the 24-hour clock.
    const int capacity = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    return ::GetTimeFormatW(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | TIME_FORCE24HOURFORMAT,
                            &now, nullptr, buffer, capacity) > 0;
}

}  // namespace Kvetra::Platform
