// Item collection lists a directory once, then walks its subdirectories for their totals, several
// at a time: reading a tree is bound by the system's per-file lookups, which the kernel serves on
// every core at once. The items are then appended in listing order, exactly as a walk of one
// subdirectory after the other would have appended them.
#include "ItemCollection.h"

#include <cstdint>
#include <exception>
#include <limits>
#include <sstream>

#include "Base/WorkSharing.h"
#include "Errors/Exceptions.h"
#include "FileSystem/FileFinder.h"
#include "Platform/FileFind.h"
#include "Platform/Paths.h"

namespace Vantorel {
namespace {

namespace Platform = Kvetra::Platform;

// A byte count as an item size. Only a directory total made of sparse files can exceed the signed
// 64-bit range; stored as it is, it would turn negative, so it is refused instead.
std::int64_t ItemSize(std::uint64_t bytes, const std::wstring& path) {
    if (bytes > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        std::wostringstream message;
        message << L"Размер '" << path << L"' больше " << std::numeric_limits<std::int64_t>::max()
                << L" B";
        Kvetra::RaiseAplError(message.str());
    }
    return static_cast<std::int64_t>(bytes);
}

// Closes the listing on every way out of ListEntries.
class TListingHandle {
  public:
    explicit TListingHandle(Platform::HANDLE handle) : Handle(handle) {}
    ~TListingHandle() {
        if (Handle != Platform::INVALID_HANDLE_VALUE) {
            Platform::FindClose(Handle);
        }
    }
    TListingHandle(const TListingHandle&) = delete;
    TListingHandle& operator=(const TListingHandle&) = delete;
    Platform::HANDLE Get() const { return Handle; }

  private:
    Platform::HANDLE Handle;
};

// One top-level entry on its way to becoming an item.
struct TEntry {
    std::wstring Name;
    std::wstring Path;  // the directory, a separator, the name
    bool IsDirectory = false;
    std::uint64_t Bytes = 0;     // a file's size; a subdirectory's once it has been walked
    std::exception_ptr Failure;  // what walking the subdirectory raised
};

// The entries of directory ("." and ".." aside), in listing order; none when it cannot be listed.
std::vector<TEntry> ListEntries(const std::wstring& directory) {
    std::vector<TEntry> entries;
    if (directory.empty()) {
        // Not a directory; the pattern would name the root.
        return entries;
    }
    Platform::WIN32_FIND_DATAW data{};
    // The directory is taken as typed; one that already ends in a separator gets a second one,
    // which the file system ignores.
    const std::wstring pattern = directory + Platform::kPathSeparator + L'*';
    const TListingHandle listing(Platform::FindFirstFileW(pattern.c_str(), &data));
    if (listing.Get() == Platform::INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        if (Kvetra::IsDotOrDotDot(data.cFileName)) {
            continue;
        }
        TEntry& entry = entries.emplace_back();
        entry.Name = data.cFileName;
        entry.Path = directory + Platform::kPathSeparator + data.cFileName;
        entry.IsDirectory = (data.dwFileAttributes & Platform::FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!entry.IsDirectory) {
            entry.Bytes = Kvetra::EntrySize(data);
        }
    } while (Platform::FindNextFileW(listing.Get(), &data) != 0);
    return entries;
}

// Walks every subdirectory entry for its total. Each walk is independent of the others, so they
// run on as many cores as the machine offers; each walker stays on one thread.
void SizeSubdirectories(std::vector<TEntry>& entries) {
    std::vector<TEntry*> subdirectories;
    for (TEntry& entry : entries) {
        if (entry.IsDirectory) {
            subdirectories.push_back(&entry);
        }
    }
    Kvetra::TWorkSharing::Instance().ForEachRange(
        subdirectories.size(), 1, [&subdirectories](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                TEntry& entry = *subdirectories[i];
                try {
                    entry.Bytes = Kvetra::GetDirectorySize(entry.Path);
                } catch (...) {
                    entry.Failure = std::current_exception();
                }
            }
        });
}

}  // namespace

void CollectItems(const std::wstring& directory, const std::wstring& prefix,
                  std::vector<TItem>& items) {
    std::vector<TEntry> entries = ListEntries(directory);
    SizeSubdirectories(entries);
    for (const TEntry& entry : entries) {
        if (entry.Failure) {
            std::rethrow_exception(entry.Failure);
        }
        items.push_back(TItem{prefix + entry.Name, ItemSize(entry.Bytes, entry.Path)});
    }
}

}  // namespace Vantorel
