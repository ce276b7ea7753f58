// Helpers for the tests on every platform: the console stream captured in memory, temporary
// directory trees, text as the console shows it, and lookups in the sources. The helpers that only
// POSIX systems have are in TestSupportPosix.h.
#pragma once

#include <cstdint>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace VantorelTest {

// Captures what is written to std::cout while it lives. The stream object stays the console
// stream, so text written to it still takes the console path.
class TCoutCapture {
  public:
    TCoutCapture();
    ~TCoutCapture();
    TCoutCapture(const TCoutCapture&) = delete;
    TCoutCapture& operator=(const TCoutCapture&) = delete;
    std::string Text() const { return Buffer.str(); }

  private:
    std::ostringstream Buffer;
    std::streambuf* Saved;
};

// The time of day that opens each error record, as a regular expression: two-digit hours on POSIX
// systems; on Windows the locale's format, whose hours may have one digit ("9:05:03").
extern const char* const kTimeOfDayPattern;

// Replaces the time of day that opens each error record ("12:34:56 ") with "HH:MM:SS ".
std::string MaskTimes(const std::string& output);

// The bytes the console shows for a text given as UTF-8: the text itself on POSIX systems; on
// Windows its OEM code page 866 form, worked out here independently of the program. On Windows the
// text may hold only ASCII, Cyrillic letters and the no-break space (the tests run with the code
// pages 1251 and 866); anything else raises std::invalid_argument.
std::string Console(const std::string& utf8);

// Test paths and names are UTF-8 std::strings; these convert them to and from the program's wide
// strings (on POSIX systems keeping bytes that are not UTF-8, as the program does).
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// A search instance as a failure message shows it: "volume 10, sizes {6, 3, 3}".
std::string DescribeInstance(const std::vector<std::int64_t>& sizes, std::int64_t volume);

// The platform's path separator, for building expected paths.
extern const char kSeparator;

// The line number (from 1) of a statement in a source file given relative to the source root: the
// only line that contains the first needle or, with more needles, the first line after it that
// contains the next needle, and so on. Fails the test when the first needle is not on exactly one
// line or a later one is not found.
int SourceLineOf(const std::string& relativeFile, const std::vector<std::string>& needles);

// A fresh directory under the system's temporary directory, removed with everything in it.
class TTempDir {
  public:
    // Below base, or below the system's temporary directory when base is empty.
    explicit TTempDir(const std::string& base = "");
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::string& Path() const { return Root; }
    // Creates a directory (with its parents) below the root and returns its path. Relative paths
    // may use '/' on every platform; the path returned uses the platform's separator.
    std::string MakeDir(const std::string& relative) const;
    // Creates a sparse file of the given size below the root and returns its path.
    std::string MakeFile(const std::string& relative, long long size) const;
    // Creates a symbolic link below the root that points at target (stored as given) and returns
    // its path. POSIX systems only.
    std::string MakeLink(const std::string& relative, const std::string& target) const;

  private:
    std::string Root;
};

// The usage banner as the console shows it, typed out independently of the program's copy.
extern const char* const kBannerUtf8;

}  // namespace VantorelTest
