// Directory listings on Windows: the system's own find operations, in the system's order, with a
// long pattern handed over in its extended-length form so that trees of any depth are read whole.
//
// The program's record (Platform/FileFind.h) is included before the system's headers, whose macros
// of the same names would otherwise replace its constants; below them the names are the system's.
#include "Platform/FileFind.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "Platform/ExtendedPathWin32.h"

namespace Kvetra::Platform {
namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedUncPrefix[] = L"\\\\?\\UNC\\";

void CopyRecord(const ::WIN32_FIND_DATAW& found, WIN32_FIND_DATAW* data) {
    static_assert(sizeof data->cFileName / sizeof data->cFileName[0] == MAX_PATH);
    data->dwFileAttributes = found.dwFileAttributes;
    data->nFileSizeHigh = found.nFileSizeHigh;
    data->nFileSizeLow = found.nFileSizeLow;
    std::copy(std::begin(found.cFileName), std::end(found.cFileName), data->cFileName);
}

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(kExtendedPrefix) ||
        path.starts_with(L"\\\\.\\")) {
        return path;
    }
    std::vector<wchar_t> full(path.size() + MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return path;
        }
        if (length < full.size()) {
            const std::wstring absolute(full.data(), length);
            if (absolute.starts_with(L"\\\\")) {
                return kExtendedUncPrefix + absolute.substr(2);
            }
            return kExtendedPrefix + absolute;
        }
        full.resize(length);  // too small: length is the size it needs
    }
}

Platform::HANDLE FindFirstFileW(const wchar_t* pattern, WIN32_FIND_DATAW* data) {
    ::WIN32_FIND_DATAW found{};
    const ::HANDLE handle = ::FindFirstFileW(ExtendedLengthPath(pattern).c_str(), &found);
    if (handle != INVALID_HANDLE_VALUE) {
        CopyRecord(found, data);
    }
    return handle;
}

BOOL FindNextFileW(Platform::HANDLE handle, WIN32_FIND_DATAW* data) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        return 0;
    }
    ::WIN32_FIND_DATAW found{};
    if (::FindNextFileW(handle, &found) == FALSE) {
        return 0;
    }
    CopyRecord(found, data);
    return 1;
}

BOOL FindClose(Platform::HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        return 0;
    }
    return ::FindClose(handle) != FALSE ? 1 : 0;
}

}  // namespace Kvetra::Platform
