// Helpers for the tests that only POSIX systems have: the built program run as a child process,
// directory chains deeper than any path, work done without root's privileges, and huge sparse
// files.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Support/TestSupport.h"

namespace VantorelTest {

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

}  // namespace VantorelTest
