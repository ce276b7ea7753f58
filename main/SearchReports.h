// What the search shows on the console: the items that can never fit, and each combination that
// beats every one found before it. Lines are flushed as they end, so that a run stopped with Ctrl+C
// leaves every finished line on the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "Item.h"

namespace Vantorel {

// Lists, in the order of items, every item larger than volume with the amount by which it is too
// large, between two lines of hyphens and under a header. Writes nothing when no item is larger
// than volume. Requires volume >= 0 and sizes >= 0.
void ReportOversized(const std::vector<TItem>& items, std::int64_t volume);

// Shows one combination that leaves remainder bytes of the volume unused: a header, the space left
// unused, the name of each selected item of items on a line of its own, and their total. The total
// is computed before anything is written, so a report is never left half written by a sum that
// does not fit (std::overflow_error). Characters that would act on the terminal instead of showing
// (control characters) are shown as '?' in names.
void PrintSolution(std::int64_t remainder, const TSelection& selection,
                   const std::vector<TItem>& items);

}  // namespace Vantorel
