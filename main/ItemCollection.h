// Turning the top-level entries of a directory into items.
#pragma once

#include <string>
#include <vector>

#include "Item.h"

namespace Vantorel {

// Appends one item per entry of directory ("." and ".." aside), in listing order, to items: a file
// with its own size, a subdirectory with the total size of the files below it. Each name is prefix
// followed by the entry's name. Nothing already in items is touched. A directory that cannot be
// listed adds nothing; a subdirectory that can be read only in part is sized by what could be
// read. Subdirectories are walked several at a time, each on one thread; the result is the same as
// walking them one after the other. Raises TAplThrowException when a subdirectory's total is too
// large for a signed 64-bit byte count; what a walk raises is raised here, in listing order.
void CollectItems(const std::wstring& directory, const std::wstring& prefix,
                  std::vector<TItem>& items);

}  // namespace Vantorel
