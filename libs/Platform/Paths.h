// Questions about paths that the driver asks of the file system.
#pragma once

#include <string>

namespace Kvetra::Platform {

// The separator that the program writes between a directory and a name, and that it recognises at
// the end of a path: the backslash on Windows, '/' on POSIX systems.
extern const wchar_t kPathSeparator;

// True exactly when the path names an existing directory. A relative path is taken relative to the
// current directory; symbolic links are followed. A missing path, a file and an empty path give
// false.
bool PathIsDirectoryW(const std::wstring& path);

}  // namespace Kvetra::Platform
