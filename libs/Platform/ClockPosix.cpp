#include "Platform/Clock.h"

#include <ctime>
#include <cwchar>

namespace Kvetra::Platform {

bool FormatLocalTimeOfDay(wchar_t* buffer, std::size_t size) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || ::localtime_r(&now, &local) == nullptr) {
        return false;
    }
    const int written =
        std::swprintf(buffer, size, L"%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return written > 0 && static_cast<std::size_t>(written) < size;
}

}  // namespace Kvetra::Platform
