// Directory listings over the POSIX directory calls.
//
// FindFirstFileW reads the whole listing at once: the names and types from the directory stream,
// then, for each entry the stream does not already show as a directory, one stat relative to the
// open directory (links not followed) for its type and size. The directory is closed before the
// call returns, so a walk holds no descriptor per level and any depth can be walked. The entries
// are then sorted by name, byte by byte, which makes the order independent of the file system.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/FileFind.h"
#include "Platform/NativeNames.h"
#include "Platform/Paths.h"

namespace Kvetra::Platform {
namespace {

struct TEntry {
    std::size_t NameOffset;  // into TListing::Names; the name is followed by a zero byte
    std::size_t NameLength;
    DWORD Attributes;
    std::uint64_t Size;
    bool Missing;  // could not be looked up; left out
};

struct TListing {
    std::string Names;  // every name, each followed by a zero byte
    std::vector<TEntry> Entries;
    std::size_t Next = 0;  // the entry FindNextFileW delivers next
    std::wstring Name;     // the delivered entry's name, reused from entry to entry

    std::string_view NameOf(const TEntry& entry) const {
        return std::string_view(Names).substr(entry.NameOffset, entry.NameLength);
    }
};

// Closes a directory stream on every path out of the function that opened it.
class TDirectoryStream {
  public:
    explicit TDirectoryStream(DIR* stream) : Stream(stream) {}
    ~TDirectoryStream() {
        if (Stream != nullptr) {
            ::closedir(Stream);
        }
    }
    TDirectoryStream(const TDirectoryStream&) = delete;
    TDirectoryStream& operator=(const TDirectoryStream&) = delete;
    DIR* Get() const { return Stream; }

  private:
    DIR* Stream;
};

// Only search permission is needed on the directories a long path passes through.
#ifdef O_PATH
constexpr int kPassThroughFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kPassThroughFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// Opens a directory for reading. A path too long for one system call is opened piece by piece,
// each piece shorter than PATH_MAX and opened relative to the directory the previous one reached,
// so no tree is cut short for its depth. Returns -1 on failure.
int OpenDirectory(const std::string& path) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    constexpr std::size_t kLimit = PATH_MAX;
    if (path.size() < kLimit) {
        return ::open(path.c_str(), kFlags);
    }
    int at = AT_FDCWD;
    std::size_t position = 0;
    const auto release = [&at] {
        if (at != AT_FDCWD) {
            ::close(at);
        }
    };
    for (;;) {
        if (at != AT_FDCWD) {
            // A piece relative to a directory must not start at the root again.
            position = path.find_first_not_of('/', position);
            if (position == std::string::npos) {
                position = path.size();
            }
        }
        if (path.size() - position < kLimit) {
            const std::string rest = position == path.size() ? "." : path.substr(position);
            const int fd = ::openat(at, rest.c_str(), kFlags);
            release();
            return fd;
        }
        const std::size_t cut = path.rfind('/', position + kLimit - 1);
        if (cut == std::string::npos || cut <= position) {
            // A single name longer than PATH_MAX: no file system holds one.
            release();
            errno = ENAMETOOLONG;
            return -1;
        }
        const std::string piece = path.substr(position, cut - position);
        const int next = ::openat(at, piece.c_str(), kPassThroughFlags);
        release();
        if (next < 0) {
            return -1;
        }
        at = next;
        position = cut + 1;
    }
}

// Looks up the type and size of the entries that the directory stream did not show as
// directories; an entry that cannot be looked up is marked missing.
void LookUpEntries(int directoryFd, TListing& listing) {
    for (TEntry& entry : listing.Entries) {
        if (entry.Attributes == FILE_ATTRIBUTE_DIRECTORY) {
            continue;
        }
        struct stat info {};
        const char* name = listing.Names.data() + entry.NameOffset;
        if (::fstatat(directoryFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            // Gone since the listing was read, or its details are refused: there is no size to
            // report, so the entry is left out rather than shown as empty.
            entry.Missing = true;
        } else if (S_ISDIR(info.st_mode)) {
            entry.Attributes = FILE_ATTRIBUTE_DIRECTORY;
        } else {
            entry.Size = static_cast<std::uint64_t>(info.st_size);
        }
    }
}

// Reads the listing of an open directory stream. Reading stops at the first error, keeping what
// was read, as if the listing had ended there.
void ReadListing(DIR* stream, TListing& listing) {
    while (const dirent* entry = ::readdir(stream)) {
        const std::size_t length = std::strlen(entry->d_name);
        const DWORD attributes = entry->d_type == DT_DIR ? FILE_ATTRIBUTE_DIRECTORY : 0;
        listing.Entries.push_back(TEntry{listing.Names.size(), length, attributes, 0, false});
        listing.Names.append(entry->d_name, length + 1);
    }
    LookUpEntries(::dirfd(stream), listing);
    std::erase_if(listing.Entries, [](const TEntry& entry) { return entry.Missing; });
    std::sort(listing.Entries.begin(), listing.Entries.end(),
              [&listing](const TEntry& a, const TEntry& b) {
                  // char_traits<char> compares as unsigned char: byte order.
                  return listing.NameOf(a) < listing.NameOf(b);
              });
}

// Fills *data with the listing's next entry. Returns false when none is left.
bool DeliverNext(TListing& listing, WIN32_FIND_DATAW* data) {
    while (listing.Next < listing.Entries.size()) {
        const TEntry& entry = listing.Entries[listing.Next++];
        std::wstring& name = listing.Name;
        name.clear();
        AppendNativeAsWide(listing.NameOf(entry), name);
        if (name.size() >= kFindNameCapacity) {
            // Cannot happen: POSIX names are at most NAME_MAX (255) bytes, and a byte never
            // becomes more than one wide character.
            continue;
        }
        data->dwFileAttributes = entry.Attributes;
        data->nFileSizeHigh = static_cast<DWORD>(entry.Size >> 32);
        data->nFileSizeLow = static_cast<DWORD>(entry.Size & 0xFFFFFFFFu);
        std::copy(name.begin(), name.end(), data->cFileName);
        data->cFileName[name.size()] = L'\0';
        return true;
    }
    return false;
}

}  // namespace

HANDLE FindFirstFileW(const wchar_t* pattern, WIN32_FIND_DATAW* data) {
    const std::wstring_view text(pattern);
    if (text.size() < 2 || text.back() != L'*' || text[text.size() - 2] != kPathSeparator) {
        return INVALID_HANDLE_VALUE;
    }
    const std::string directory = WideToNative(text.substr(0, text.size() - 1));
    const int fd = OpenDirectory(directory);
    if (fd < 0) {
        return INVALID_HANDLE_VALUE;
    }
    TDirectoryStream stream(::fdopendir(fd));
    if (stream.Get() == nullptr) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    auto listing = std::make_unique<TListing>();
    ReadListing(stream.Get(), *listing);
    if (!DeliverNext(*listing, data)) {
        return INVALID_HANDLE_VALUE;
    }
    return listing.release();
}

BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* data) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        return 0;
    }
    return DeliverNext(*static_cast<TListing*>(handle), data) ? 1 : 0;
}

BOOL FindClose(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        return 0;
    }
    delete static_cast<TListing*>(handle);
    return 1;
}

}  // namespace Kvetra::Platform
