#include "Platform/Paths.h"

#include <sys/stat.h>

#include "Platform/NativeNames.h"

namespace Kvetra::Platform {

const wchar_t kPathSeparator = L'/';

bool PathIsDirectoryW(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    const std::string native = WideToNative(path);
    struct stat info {};
    return ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace Kvetra::Platform
