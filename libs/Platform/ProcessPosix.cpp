#include "Platform/Process.h"

#include <unistd.h>

namespace Kvetra::Platform {

unsigned long CurrentProcessId() {
    return static_cast<unsigned long>(::getpid());
}

}  // namespace Kvetra::Platform
