// The walk keeps one level per directory on the current path. Each level holds an open listing and
// the entry it will process next. A step looks at the top level's pending entry: a directory is
// entered by appending its name to the current path and pushing a level for it (after the parent
// has moved past it); a file is handed out if accepted. A level whose listing has ended is popped,
// cutting its part off the current path, on the step after its last file was handed out, so that
// the current path still names that file's directory while the caller reads it.
#include "FileSystem/FileFinder.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "Base/CheckedArithmetic.h"
#include "Platform/Paths.h"

namespace Kvetra {
namespace {

using Platform::FILE_ATTRIBUTE_DIRECTORY;
using Platform::INVALID_HANDLE_VALUE;

// Code unit by code unit as unsigned values, so the order does not depend on the signedness of
// wchar_t; a prefix orders first. Case counts.
bool OrdinalLess(std::wstring_view a, std::wstring_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
            return static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(y);
        });
}

// What follows the last '.' (empty when the name ends in one), or the whole name without a '.'.
std::wstring_view ExtensionOf(std::wstring_view name) {
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? name : name.substr(dot + 1);
}

// Moves a level to its next entry; a listing that has ended is closed at once.
void Advance(TFindLevel& level) {
    if (Platform::FindNextFileW(level.Handle, &level.PendingData) == 0) {
        Platform::FindClose(level.Handle);
        level.Handle = INVALID_HANDLE_VALUE;
    }
}

}  // namespace

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

TFileFinder::TFileFinder(const std::wstring& startPath) {
    Reset(startPath, {}, true);
}

TFileFinder::~TFileFinder() {
    Close();
}

void TFileFinder::Reset(const std::wstring& startPath, const std::vector<std::wstring>& extensions,
                        bool recursive) {
    Close();
    Extensions = extensions;
    std::sort(Extensions.begin(), Extensions.end(), OrdinalLess);
    Directory = startPath;
    Recursive = recursive;
    if (Directory.empty() || Directory.back() != Platform::kPathSeparator) {
        Directory += Platform::kPathSeparator;
    }
    // Pushed even when the listing fails to open, so the first step ends the walk.
    Levels.push_back(OpenLevel(Directory.size()));
}

TFindLevel TFileFinder::OpenLevel(std::size_t addedLength) const {
    TFindLevel level{INVALID_HANDLE_VALUE, addedLength, {}};
    std::wstring pattern;
    pattern.reserve(Directory.size() + 1);
    pattern += Directory;
    pattern += L'*';
    level.Handle = Platform::FindFirstFileW(pattern.c_str(), &level.PendingData);
    return level;
}

bool TFileFinder::IsAccepted(const wchar_t* name) const {
    if (Extensions.empty()) {
        return true;
    }
    return std::binary_search(
        Extensions.begin(), Extensions.end(), ExtensionOf(name),
        [](std::wstring_view a, std::wstring_view b) { return OrdinalLess(a, b); });
}

bool TFileFinder::Next() {
    while (!Levels.empty()) {
        TFindLevel& top = Levels.back();
        if (top.Handle == INVALID_HANDLE_VALUE) {
            Directory.resize(Directory.size() - top.AddedLength);
            Levels.pop_back();
            continue;
        }
        const Platform::WIN32_FIND_DATAW& entry = top.PendingData;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (!Recursive || IsDotOrDotDot(entry.cFileName)) {
                Advance(top);
                continue;
            }
            // Room first, so that nothing below can fail halfway: the push cannot fail and leave
            // the child's listing open, and the path does not end up with half a step. This may
            // move the levels: `top` and `entry` are not used after it.
            const std::size_t length = std::wcslen(entry.cFileName) + 1;
            Directory.reserve(Directory.size() + length);
            if (Levels.size() == Levels.capacity()) {
                Levels.reserve(2 * Levels.size() + 8);
            }
            TFindLevel& parent = Levels.back();
            Directory += parent.PendingData.cFileName;
            Directory += Platform::kPathSeparator;
            TFindLevel child = OpenLevel(length);
            // The parent moves past the subdirectory before the child goes on top.
            try {
                Advance(parent);
            } catch (...) {
                if (child.Handle != INVALID_HANDLE_VALUE) {
                    Platform::FindClose(child.Handle);
                }
                throw;
            }
            Levels.push_back(child);
            continue;
        }
        const bool accepted = IsAccepted(entry.cFileName);
        if (accepted) {
            Data = entry;
            Name = entry.cFileName;
        }
        Advance(top);
        if (accepted) {
            return true;
        }
    }
    return false;
}

void TFileFinder::Close() {
    for (TFindLevel& level : Levels) {
        if (level.Handle != INVALID_HANDLE_VALUE) {
            Platform::FindClose(level.Handle);
            level.Handle = INVALID_HANDLE_VALUE;
        }
    }
    Levels.clear();
    Name.clear();
    Directory.clear();
    Extensions.clear();
}

std::uint64_t GetDirectorySize(const std::wstring& path) {
    TFileFinder finder(path);
    std::uint64_t total = 0;
    while (finder.Next()) {
        if (!CheckedAdd(total, EntrySize(finder.CurrentData()), &total)) {
            // Files this large exist only as sparse files; the caller still learns the total is
            // beyond any medium.
            return UINT64_MAX;
        }
    }
    return total;
}

}  // namespace Kvetra
