// The directory walker: every file at any depth below a start directory, one at a time, and the
// total size of a directory's files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Platform/FileFind.h"

namespace Kvetra {

// One open directory on the walker's current path.
struct TFindLevel {
    Platform::HANDLE Handle;  // INVALID_HANDLE_VALUE once the listing failed to open or has ended
    std::size_t AddedLength;  // characters this level appended to CurrentDir
    Platform::WIN32_FIND_DATAW
        PendingData;  // the next entry not yet processed, while Handle is open
};

// Hands out the files below a start directory, depth first, in listing order: a subdirectory is
// entered when it is met, so the files below it come before the entries that follow it. Only
// files are handed out, never directories. The walk keeps a stack of open listings, one per level
// of the current path, instead of recursing, so its memory grows with the depth of the tree, not
// with the number of files. Nothing that cannot be read is reported: a directory that cannot be
// listed contributes no files, and the walk goes on with its siblings.
class TFileFinder {
  public:
    // Ready to walk startPath, every file accepted, subdirectories entered.
    explicit TFileFinder(const std::wstring& startPath);
    ~TFileFinder();
    TFileFinder(const TFileFinder&) = delete;
    TFileFinder& operator=(const TFileFinder&) = delete;

    // Starts a fresh walk of startPath (never empty). A file is accepted when extensions is empty,
    // or when its extension (what follows the last '.' of its name; the whole name when it has
    // none) equals one of them, case included. Subdirectories are entered when recursive is set.
    void Reset(const std::wstring& startPath, const std::vector<std::wstring>& extensions,
               bool recursive);

    // Moves to the next accepted file and returns true, or returns false when the walk is over
    // (and again on every later call). After true, CurrentDir (ending in a separator) followed by
    // CurrentName is the file's path, and CurrentData is the listing's record of it; they hold
    // until the next call of Next, Reset or Close.
    bool Next();

    // Ends the walk at once: closes every open listing and empties the walker.
    void Close();

    const std::wstring& CurrentName() const { return Name; }
    const std::wstring& CurrentDir() const { return Directory; }
    const Platform::WIN32_FIND_DATAW& CurrentData() const { return Data; }

  private:
    std::wstring Name;       // of the file the walker is on
    std::wstring Directory;  // of the directory being read, ending in a separator; empty when over
    bool Recursive = true;
    Platform::WIN32_FIND_DATAW Data{};     // the listing's record of the file the walker is on
    std::vector<std::wstring> Extensions;  // sorted; empty accepts every file
    // One level per directory on the current path; the last is the directory being read. The
    // lengths the levels added sum to the length of Directory.
    std::vector<TFindLevel> Levels;

    // Opens the listing of CurrentDir as a new level that appended addedLength characters.
    TFindLevel OpenLevel(std::size_t addedLength) const;
    bool IsAccepted(const wchar_t* name) const;
};

// True for the entries "." and ".." that a listing holds besides the directory's own entries.
bool IsDotOrDotDot(const wchar_t* name);

// An entry's size in bytes, from the two 32-bit words of its record.
inline std::uint64_t EntrySize(const Platform::WIN32_FIND_DATAW& data) {
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// The total size in bytes of every file below path, at any depth; 0 when nothing can be read.
// Only files count; symbolic links count with their own size and are not followed. A total beyond
// the range of 64 bits is given as the largest 64-bit value.
std::uint64_t GetDirectorySize(const std::wstring& path);

}  // namespace Kvetra
