#include <shlwapi.h>
#include <windows.h>

#include "Platform/Paths.h"

namespace Kvetra::Platform {

const wchar_t kPathSeparator = L'\\';

bool PathIsDirectoryW(const std::wstring& path) {
    return !path.empty() && ::PathIsDirectoryW(path.c_str()) != FALSE;
}

}  // namespace Kvetra::Platform
