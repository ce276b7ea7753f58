// The identity of the running process.
#pragma once

namespace Kvetra::Platform {

// A number that tells this process apart from every other running one. A child made by fork gets a
// number of its own, which is how code that owns threads notices it is in such a child (where the
// threads do not exist).
unsigned long CurrentProcessId();

}  // namespace Kvetra::Platform
