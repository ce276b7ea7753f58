#include "Support/TestSupportPosix.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "Platform/NativeNames.h"

namespace VantorelTest {

const char* const kTimeOfDayPattern = R"(\d\d:\d\d:\d\d)";
const char kSeparator = '/';

std::string Console(const std::string& utf8) {
    return utf8;  // the console speaks UTF-8
}

std::wstring Wide(const std::string& utf8) {
    return Kvetra::Platform::NativeToWide(utf8);
}

std::string Utf8(const std::wstring& wide) {
    return Kvetra::Platform::WideToNative(wide);
}

namespace {

struct TChildOutcome {
    std::string Output;  // what the child wrote to the descriptor it was given
    int Status = 0;      // as waitpid reports it
};

// Watches a child's output as it arrives: returns true once the child should be interrupted.
using TInterruptWhen = std::function<bool(const std::string& outputSoFar)>;

// Forks; the child gets the writing end of a pipe and must end with _exit or exec. Collects what
// the child writes until it ends, and its status. With interruptWhen, the child is sent SIGINT, as
// Ctrl+C does, once interruptWhen holds for its output; a child still running after `patience`
// is killed.
TChildOutcome RunChild(const std::function<void(int outFd)>& inChild,
                       const TInterruptWhen& interruptWhen = nullptr,
                       std::chrono::seconds patience = std::chrono::seconds(30)) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        inChild(pipeFds[1]);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    TChildOutcome outcome;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    bool interrupted = false;
    bool killed = false;
    char buffer[4096];
    for (;;) {
        if (interruptWhen) {
            // Wait in short steps, so that a child that never writes what is awaited, or never
            // stops writing, is still ended.
            if (!killed && std::chrono::steady_clock::now() > deadline) {
                ::kill(child, SIGKILL);
                killed = true;
            }
            pollfd readable{pipeFds[0], POLLIN, 0};
            if (::poll(&readable, 1, 100) <= 0) {
                continue;  // nothing yet, or interrupted
            }
        }
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        outcome.Output.append(buffer, static_cast<std::size_t>(n));
        if (interruptWhen && !interrupted && interruptWhen(outcome.Output)) {
            ::kill(child, SIGINT);
            interrupted = true;
        }
    }
    ::close(pipeFds[0]);
    while (::waitpid(child, &outcome.Status, 0) < 0 && errno == EINTR) {
    }
    return outcome;
}

void ExecVantorel(int outFd, const std::vector<std::string>& args, TInput input,
                  const std::string& workDir) {
    ::dup2(outFd, STDOUT_FILENO);
    ::close(outFd);
    // Ctrl+C acts as it does from a terminal, even where the test run itself ignores or blocks it
    // (a script that runs the tests in the background).
    ::signal(SIGINT, SIG_DFL);
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    ::sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
    if (input == TInput::Closed) {
        ::close(STDIN_FILENO);
    } else {
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, STDIN_FILENO);
        ::close(devNull);
    }
    if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) {
        ::_exit(125);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(VANTOREL_BINARY));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(VANTOREL_BINARY, argv.data());
}

TRunResult ResultOf(const TChildOutcome& outcome) {
    TRunResult result;
    result.Output = outcome.Output;
    if (WIFEXITED(outcome.Status)) {
        result.ExitCode = WEXITSTATUS(outcome.Status);
    }
    if (WIFSIGNALED(outcome.Status)) {
        result.Signal = WTERMSIG(outcome.Status);
    }
    return result;
}

}  // namespace

TRunResult RunVantorel(const std::vector<std::string>& args, TInput input,
                       const std::string& workDir) {
    return ResultOf(RunChild([&](int outFd) { ExecVantorel(outFd, args, input, workDir); }));
}

TRunResult RunVantorelInterrupted(const std::vector<std::string>& args, const std::string& needle,
                                  std::chrono::seconds patience) {
    return ResultOf(RunChild(
        [&](int outFd) { ExecVantorel(outFd, args, TInput::DevNull, ""); },
        [&](const std::string& output) { return output.find(needle) != std::string::npos; },
        patience));
}

TTempDir::TTempDir(const std::string& base) {
    const std::filesystem::path parent =
        base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base);
    std::string pattern = (parent / "vantorel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    Root = pattern;
}

namespace {

// Removes the directory at root with everything in it, whatever its depth and whatever
// permissions a test took away. Holds one descriptor at a time, whatever the depth: it goes down
// into one subdirectory after another, removing files on the way, and comes back up through ".."
// once a directory is empty.
void RemoveTree(const std::string& root) {
    ::chmod(root.c_str(), 0700);
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    std::vector<std::string> below;  // the names from root down to fd's directory
    for (;;) {
        // Files go at once; the first subdirectory is entered.
        std::string subdirectory;
        if (DIR* stream = ::fdopendir(::dup(fd))) {
            while (const dirent* entry = ::readdir(stream)) {
                const std::string name = entry->d_name;
                struct stat info {};
                if (name == "." || name == ".." ||
                    ::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                    continue;
                }
                if (!S_ISDIR(info.st_mode)) {
                    ::unlinkat(fd, name.c_str(), 0);
                } else if (subdirectory.empty()) {
                    subdirectory = name;
                }
            }
            ::closedir(stream);
        }
        if (!subdirectory.empty()) {
            ::fchmodat(fd, subdirectory.c_str(), 0700, 0);
            const int next =
                ::openat(fd, subdirectory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            ::close(fd);
            if (next < 0) {
                return;  // cannot get in: leave the rest rather than loop
            }
            fd = next;
            below.push_back(subdirectory);
            continue;
        }
        if (below.empty()) {
            ::close(fd);
            ::rmdir(root.c_str());
            return;
        }
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (parent < 0 || ::unlinkat(parent, below.back().c_str(), AT_REMOVEDIR) != 0) {
            if (parent >= 0) {
                ::close(parent);
            }
            return;
        }
        below.pop_back();
        fd = parent;
    }
}

}  // namespace

TTempDir::~TTempDir() {
    RemoveTree(Root);
}

std::string TTempDir::MakeDir(const std::string& relative) const {
    const std::filesystem::path path = std::filesystem::path(Root) / relative;
    std::filesystem::create_directories(path);
    return path.string();
}

std::string TTempDir::MakeFile(const std::string& relative, long long size) const {
    const std::filesystem::path path = std::filesystem::path(Root) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path).close();
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
    return path.string();
}

std::string TTempDir::MakeLink(const std::string& relative, const std::string& target) const {
    const std::filesystem::path path = std::filesystem::path(Root) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::create_symlink(target, path);
    return path.string();
}

std::string MakeDeepChain(const std::string& root, char letter, std::size_t length,
                          std::size_t minimumLength, long long fileSize) {
    const std::string name(length, letter);
    std::string relative;
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("cannot open " + root);
    }
    while (relative.size() <= minimumLength) {
        if (::mkdirat(fd, name.c_str(), 0755) != 0 && errno != EEXIST) {
            ::close(fd);
            throw std::runtime_error("mkdirat failed");
        }
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (next < 0) {
            throw std::runtime_error("openat failed");
        }
        fd = next;
        relative += relative.empty() ? name : "/" + name;
    }
    const int file = ::openat(fd, "bottom", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::close(fd);
    if (file < 0 || ::ftruncate(file, fileSize) != 0) {
        throw std::runtime_error("cannot create the bottom file");
    }
    ::close(file);
    return relative;
}

std::optional<std::string> RunWithoutPrivileges(const std::function<std::string()>& work) {
    if (::geteuid() != 0) {
        return work();
    }
    constexpr int kCannotDrop = 2;
    const TChildOutcome outcome = RunChild([&](int outFd) {
        constexpr uid_t kNobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(kCannotDrop);
        }
        std::string result;
        try {
            result = work();
        } catch (...) {
            // Never let the child go on into the rest of the test run.
            ::_exit(1);
        }
        const bool written =
            ::write(outFd, result.data(), result.size()) == static_cast<ssize_t>(result.size());
        ::_exit(written ? 0 : 1);
    });
    if (!WIFEXITED(outcome.Status) || WEXITSTATUS(outcome.Status) == kCannotDrop) {
        return std::nullopt;
    }
    EXPECT_EQ(WEXITSTATUS(outcome.Status), 0) << "the unprivileged child failed to report";
    return outcome.Output;
}

bool CanMakeHugeFiles() {
    if (!std::filesystem::is_directory(kHugeFileBase)) {
        return false;
    }
    const TTempDir probe(kHugeFileBase);
    return ::truncate(probe.MakeFile("probe", 0).c_str(), INT64_MAX) == 0;
}

// tmpfs, where Linux mounts it.
const char* const kHugeFileBase = "/dev/shm";
const char* const kNoHugeFiles = "no file system here takes files of 2^63 - 1 bytes (tmpfs does)";
const char* const kCannotRefuse =
    "running as root and unable to give it up, so no directory can refuse to be read";

}  // namespace VantorelTest
