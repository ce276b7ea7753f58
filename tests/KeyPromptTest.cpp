// The key prompt that ends every run, with standard input on a pseudo-terminal: keys typed before
// the prompt are thrown away, one key after it ends the wait, and the terminal is left as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "Support/TestSupport.h"

namespace {

using namespace std::chrono_literals;

constexpr char kPrompt[] = "\nPress any Key...\n";

// The program run in a session of its own whose controlling terminal is a fresh pseudo-terminal,
// with its standard output on a pipe.
class TTerminalRun {
  public:
    // Keys in typedAhead are typed before the program starts, as a user might during a long run.
    TTerminalRun(const std::string& directory, const std::string& typedAhead) {
        Master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (Master < 0 || ::grantpt(Master) != 0 || ::unlockpt(Master) != 0) {
            ADD_FAILURE() << "no pseudo-terminal";
            return;
        }
        SlaveName = ::ptsname(Master);
        Slave = ::open(SlaveName.c_str(), O_RDWR | O_NOCTTY);
        ::tcgetattr(Slave, &Before);
        Type(typedAhead);
        int out[2];
        if (::pipe(out) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        Child = ::fork();
        if (Child == 0) {
            ::setsid();
            const int terminal = ::open(SlaveName.c_str(), O_RDWR);  // becomes the controlling tty
            ::dup2(terminal, STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            ::execl(VANTOREL_BINARY, VANTOREL_BINARY, directory.c_str(), "700Mb",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        Output = out[0];
    }

    ~TTerminalRun() {
        if (Child > 0 && !Exited) {
            ::kill(Child, SIGKILL);
            ::waitpid(Child, nullptr, 0);
        }
        for (const int fd : {Output, Slave, Master}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    void Type(const std::string& keys) const {
        ASSERT_EQ(::write(Master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Reads standard output until it ends with the prompt; false after a time-out or at its end.
    bool WaitForPrompt() {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (Text.size() < sizeof kPrompt - 1 ||
               Text.compare(Text.size() - (sizeof kPrompt - 1), std::string::npos, kPrompt) != 0) {
            pollfd request{Output, POLLIN, 0};
            if (std::chrono::steady_clock::now() > deadline || ::poll(&request, 1, 100) < 0) {
                return false;
            }
            if (request.revents != 0) {
                char buffer[4096];
                const ssize_t n = ::read(Output, buffer, sizeof buffer);
                if (n <= 0) {
                    return false;
                }
                Text.append(buffer, static_cast<std::size_t>(n));
            }
        }
        return true;
    }

    // The exit code once the program has ended within the time given; -1 if it has not, -2 if a
    // signal ended it.
    int WaitForExit(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        do {
            int status = 0;
            if (::waitpid(Child, &status, WNOHANG) == Child) {
                Exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
            }
            std::this_thread::sleep_for(10ms);
        } while (std::chrono::steady_clock::now() < deadline);
        return -1;
    }

    // Whatever input is still waiting on the terminal, read without waiting. Call it only once
    // the program has ended.
    std::string LeftOnTerminal() const {
        termios raw{};
        ::tcgetattr(Slave, &raw);
        const termios saved = raw;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON);
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        ::tcsetattr(Slave, TCSANOW, &raw);
        const int flags = ::fcntl(Slave, F_GETFL);
        ::fcntl(Slave, F_SETFL, flags | O_NONBLOCK);
        std::string left;
        char buffer[64];
        ssize_t n;
        while ((n = ::read(Slave, buffer, sizeof buffer)) > 0) {
            left.append(buffer, static_cast<std::size_t>(n));
        }
        ::fcntl(Slave, F_SETFL, flags);
        ::tcsetattr(Slave, TCSANOW, &saved);
        return left;
    }

    bool SettingsRestored() const {
        termios after{};
        ::tcgetattr(Slave, &after);
        return after.c_lflag == Before.c_lflag && after.c_cc[VMIN] == Before.c_cc[VMIN] &&
               after.c_cc[VTIME] == Before.c_cc[VTIME];
    }

  private:
    int Master = -1;
    int Slave = -1;
    int Output = -1;
    pid_t Child = -1;
    bool Exited = false;
    std::string SlaveName;
    std::string Text;
    termios Before{};
};

class KeyPrompt : public testing::Test {
  protected:
    VantorelTest::TTempDir Tree;
};

TEST_F(KeyPrompt, KeysTypedBeforeThePromptAreDiscardedAndOneKeyAfterItEndsTheWait) {
    TTerminalRun run(Tree.Path(), "abc\nde");
    ASSERT_TRUE(run.WaitForPrompt());
    // The keys typed ahead must not end the wait: the program is still waiting.
    EXPECT_EQ(run.WaitForExit(300ms), -1);
    run.Type("x");
    ASSERT_EQ(run.WaitForExit(10s), 0);
    EXPECT_TRUE(run.SettingsRestored());
    EXPECT_EQ(run.LeftOnTerminal(), "");
}

struct TKeyCase {
    const char* Name;
    std::string Key;
};

class KeyPromptKeys : public KeyPrompt, public testing::WithParamInterface<TKeyCase> {};

// Each key ends the wait as one key press: nothing of it is left for the shell, a signal key is no
// signal here, and the terminal settings come back.
TEST_P(KeyPromptKeys, OneKeyEndsTheWaitWhole) {
    TTerminalRun run(Tree.Path(), "");
    ASSERT_TRUE(run.WaitForPrompt());
    // Keys that arrive before the program has thrown away the waiting ones are thrown away too:
    // give it time to reach the wait.
    std::this_thread::sleep_for(200ms);
    run.Type(GetParam().Key);
    ASSERT_EQ(run.WaitForExit(10s), 0);
    EXPECT_TRUE(run.SettingsRestored());
    EXPECT_EQ(run.LeftOnTerminal(), "");
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyPromptKeys,
                         testing::Values(TKeyCase{"Letter", "q"}, TKeyCase{"ArrowUp", "\x1b[A"},
                                         TKeyCase{"F5", "\x1b[15~"},
                                         TKeyCase{"CyrillicLetter", "ж"}, TKeyCase{"CtrlC", "\x03"},
                                         TKeyCase{"CtrlBackslash", "\x1c"},
                                         TKeyCase{"Enter", "\r"}),
                         [](const testing::TestParamInfo<TKeyCase>& info) {
                             return info.param.Name;
                         });

}  // namespace
