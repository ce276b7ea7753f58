// Listing the entries of one directory, for the directory walker and item collection.
//
// The interface is the Win32 one the program was designed around: FindFirstFileW opens a listing
// and delivers its first entry, FindNextFileW the following ones, FindClose ends it; "." and ".."
// may be among the entries. On Windows these are the system's operations, in the system's order.
// On POSIX systems the listing is read whole when it is opened and sorted by name, byte by byte, so
// that every file system and every machine gives the same order.
//
// The types and constants are the program's own on every platform, so that the code above the
// platform layer never sees the system's headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Kvetra::Platform {

using DWORD = std::uint32_t;
using BOOL = int;
using HANDLE = void*;

// Returned by FindFirstFileW when no listing could be opened.
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

// The attribute bit of an entry that is a directory (a real one: a symbolic link to a directory
// does not carry it).
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;

// Room for an entry's name with its terminating zero.
inline constexpr std::size_t kFindNameCapacity = 260;

// One entry of a listing, filled from the entry itself (symbolic links are not followed).
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;  // FILE_ATTRIBUTE_DIRECTORY or 0
    // The entry's apparent size in bytes, as two 32-bit words: nFileSizeHigh * 2^32 +
    // nFileSizeLow. A symbolic link has its own size; a directory has size 0.
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    wchar_t cFileName[kFindNameCapacity];  // the entry's name, zero-terminated
};

// Opens the listing of a directory. The pattern is the directory's path, one path separator and
// "*". On success returns an open handle and fills *data with the first entry; on any failure
// (missing, not a directory, no permission) returns INVALID_HANDLE_VALUE. A path of any length is
// accepted: on Windows one of MAX_PATH characters or more is handed to the system in its
// extended-length form. On POSIX systems a pattern of another form gives INVALID_HANDLE_VALUE, and
// an entry that disappears while the listing is read, or whose details cannot be read, is left out.
HANDLE FindFirstFileW(const wchar_t* pattern, WIN32_FIND_DATAW* data);

// Fills *data with the listing's next entry and returns non-zero, or returns zero when there is no
// entry left.
BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* data);

// Ends a listing opened by FindFirstFileW and releases what it holds. Returns zero for
// INVALID_HANDLE_VALUE.
BOOL FindClose(HANDLE handle);

}  // namespace Kvetra::Platform
