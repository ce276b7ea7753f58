// Byte counts in a form a person reads at a glance.
#pragma once

#include <cstdint>
#include <ostream>

namespace Vantorel {

// Writes size to s: "<n> B" below 1024; otherwise the value in the largest unit (KB up to TB) in
// which it stays above 1024 rather than reaching it, with two decimals, then the exact count, as in
// "1.50 KB (1536 B)". Leaves s in fixed notation with precision 2 when it wrote a value with
// decimals. Writes no line end.
void WriteSize(std::ostream& s, std::int64_t size);

}  // namespace Vantorel
