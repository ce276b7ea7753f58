#include "ItemCollection.h"

#include <cstdint>
#include <limits>
#include <sstream>

#include "Errors/Exceptions.h"
#include "FileSystem/FileFinder.h"
#include "Platform/FileFind.h"
#include "Platform/Paths.h"

namespace Vantorel {
namespace {

namespace Platform = Kvetra::Platform;

bool IsDotOrDotDot(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

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

// Closes the listing on every way out of CollectItems.
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

}  // namespace

void CollectItems(const std::wstring& directory, const std::wstring& prefix,
                  std::vector<TItem>& items) {
    TItem item;
    Platform::WIN32_FIND_DATAW data{};
    // The directory is taken as typed; one that already ends in a separator gets a second one,
    // which the file system ignores.
    const std::wstring pattern = directory + Platform::kPathSeparator + L'*';
    const TListingHandle listing(Platform::FindFirstFileW(pattern.c_str(), &data));
    if (listing.Get() == Platform::INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (IsDotOrDotDot(data.cFileName)) {
            continue;
        }
        item.Name = prefix + data.cFileName;
        const std::wstring path = directory + Platform::kPathSeparator + data.cFileName;
        if ((data.dwFileAttributes & Platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
            item.Size = ItemSize(Kvetra::GetDirectorySize(path), path);
        } else {
            item.Size =
                ItemSize((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow, path);
        }
        items.push_back(item);
    } while (Platform::FindNextFileW(listing.Get(), &data) != 0);
}

}  // namespace Vantorel
