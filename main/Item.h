// One candidate for the medium, and a combination of candidates as the search holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Vantorel {

struct TItem {
    std::wstring Name;      // the directory's prefix, then the entry's own name
    std::int64_t Size = 0;  // bytes, never negative; a directory's is the total of its files
};

// A combination of items: their positions in the item list, in increasing order. The search keeps
// one for the path it is on and extends and shortens it at the end only, so names are never
// copied.
using TSelection = std::vector<std::size_t>;

}  // namespace Vantorel
