// One candidate for the medium: a top-level entry of a directory the user named.
#pragma once

#include <cstdint>
#include <string>

namespace Vantorel {

struct TItem {
    std::wstring Name;      // the directory's prefix, then the entry's own name
    std::int64_t Size = 0;  // bytes, never negative; a directory's is the total of its files
};

}  // namespace Vantorel
