#include <windows.h>

#include "Platform/Process.h"

namespace Kvetra::Platform {

unsigned long CurrentProcessId() {
    return ::GetCurrentProcessId();
}

}  // namespace Kvetra::Platform
