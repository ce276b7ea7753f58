// Helpers for the tests: the console stream captured in memory, the built program run as a child
// process, temporary directory trees, and lookups in the sources.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
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

// Replaces the time of day that opens each error record ("12:34:56 ") with "HH:MM:SS ".
std::string MaskTimes(const std::string& output);

// The line number (from 1) of a statement in a source file given relative to the source root: the
// only line that contains the first needle or, with more needles, the first line after it that
// contains the next needle, and so on. Fails the test when the first needle is not on exactly one
// line or a later one is not found.
int SourceLineOf(const std::string& relativeFile, const std::vector<std::string>& needles);

// What standard input the program gets.
enum class TInput { Closed, DevNull };

struct TRunResult {
    std::string Output;  // standard output, whole
    int ExitCode = -1;   // -1 when the program did not exit normally
    int Signal = 0;      // the signal that ended the program, 0 when it exited
};

// Runs the built program with the given arguments (argument 0 is supplied) in directory workDir
// (empty: the current one) and collects its standard output.
TRunResult RunVantorel(const std::vector<std::string>& args, TInput input = TInput::DevNull,
                       const std::string& workDir = "");

// Runs the built program like RunVantorel and sends it SIGINT, as Ctrl+C does, as soon as its
// output holds needle. Kills it when it is still running after patience (the needle never came).
TRunResult RunVantorelInterrupted(const std::vector<std::string>& args, const std::string& needle,
                                  std::chrono::seconds patience);

// A fresh directory under the system's temporary directory, removed with everything in it.
class TTempDir {
  public:
    // Below base, or below the system's temporary directory when base is empty.
    explicit TTempDir(const std::string& base = "");
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::string& Path() const { return Root; }
    // Creates a directory (with its parents) below the root and returns its path.
    std::string MakeDir(const std::string& relative) const;
    // Creates a sparse file of the given size below the root and returns its path.
    std::string MakeFile(const std::string& relative, long long size) const;
    // Creates a symbolic link below the root that points at target (stored as given) and returns
    // its path.
    std::string MakeLink(const std::string& relative, const std::string& target) const;

  private:
    std::string Root;
};

// Creates below root a chain of nested directories, each named with `length` copies of letter,
// until the chain's path relative to root is longer than minimumLength; opens each level relative
// to the one above, so the chain may be longer than any path the system accepts at once. Creates in
// the deepest directory a sparse file "bottom" of fileSize bytes. Returns the chain's relative
// path.
std::string MakeDeepChain(const std::string& root, char letter, std::size_t length,
                          std::size_t minimumLength, long long fileSize);

// Runs work where file permissions are enforced, and returns what it returns. A process running as
// root does that in a child process that gives up root for an ordinary user first (the files work
// reads must be reachable for every user); returns nothing when root cannot be given up.
std::optional<std::string> RunWithoutPrivileges(const std::function<std::string()>& work);

// A directory on a file system that takes sparse files of any 64-bit size, where there is one.
extern const char* const kHugeFileBase;
// Whether files of 2^63 - 1 bytes can be made below kHugeFileBase; kNoHugeFiles says why not.
bool CanMakeHugeFiles();
extern const char* const kNoHugeFiles;

// Why a test that needs a directory to refuse reading is skipped when RunWithoutPrivileges
// returns nothing.
extern const char* const kCannotRefuse;

// The usage banner as the console shows it, typed out independently of the program's copy.
extern const char* const kBannerUtf8;

}  // namespace VantorelTest
