// Key input on a POSIX terminal.
//
// Key input mode is the terminal without line editing, echo or signal keys, reading one byte at a
// time. TKeyInputMode enters it and puts the terminal's settings back on every path; _kbhit and
// _getch hold one for the length of the call, which changes nothing when the caller already holds
// one. Input typed earlier in line mode becomes readable once line mode is off, so keys pressed
// during the run are seen (and discarded) by the drain that precedes the final wait.
#include "Platform/Keyboard.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>

namespace Kvetra::Platform {
namespace {

constexpr int kInput = STDIN_FILENO;
constexpr unsigned char kEscape = 0x1B;
// How long to wait for the rest of an escape sequence after its first byte: terminals send a whole
// sequence at once, so a few milliseconds separate it from a lone Esc key.
constexpr int kSequenceGapMs = 30;

// Signals that end a process by default and can reach it while it waits for a key; the terminal is
// restored before they take effect.
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// Settings to restore when an ending signal arrives during a TKeyInputMode.
termios g_SettingsBeforeKeyMode{};
int g_KeyModeDepth = 0;
bool g_KeyModeEntered = false;
struct sigaction g_PreviousActions[std::size(kEndingSignals)];

extern "C" void RestoreTerminalAndEnd(int signalNumber) {
    ::tcsetattr(kInput, TCSANOW, &g_SettingsBeforeKeyMode);
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

// Puts the terminal into key mode, saving its settings; returns false (and changes nothing)
// without a terminal.
bool EnterKeyMode(termios* saved) {
    if (::tcgetattr(kInput, saved) != 0) {
        return false;
    }
    termios keys = *saved;
    keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
    keys.c_cc[VMIN] = 1;
    keys.c_cc[VTIME] = 0;
    return ::tcsetattr(kInput, TCSANOW, &keys) == 0;
}

// True when a byte can be read within timeoutMs; false on time-out, hang-up or error.
bool InputReady(int timeoutMs) {
    pollfd request{kInput, POLLIN, 0};
    int result;
    do {
        result = ::poll(&request, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0 && (request.revents & POLLIN) != 0;
}

// Reads one byte; -1 at end of input or on error.
int ReadByte() {
    unsigned char byte = 0;
    ssize_t result;
    do {
        result = ::read(kInput, &byte, 1);
    } while (result < 0 && errno == EINTR);
    return result == 1 ? byte : -1;
}

// Number of bytes that follow a UTF-8 lead byte.
int ContinuationBytes(unsigned char lead) {
    if (lead >= 0xF0) {
        return 3;
    }
    if (lead >= 0xE0) {
        return 2;
    }
    if (lead >= 0xC0) {
        return 1;
    }
    return 0;
}

}  // namespace

TKeyInputMode::TKeyInputMode() {
    if (g_KeyModeDepth++ > 0) {
        return;
    }
    g_KeyModeEntered = ::isatty(kInput) != 0 && EnterKeyMode(&g_SettingsBeforeKeyMode);
    if (!g_KeyModeEntered) {
        return;
    }
    struct sigaction restore {};
    restore.sa_handler = RestoreTerminalAndEnd;
    sigemptyset(&restore.sa_mask);
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
        ::sigaction(kEndingSignals[i], &restore, &g_PreviousActions[i]);
    }
}

TKeyInputMode::~TKeyInputMode() {
    if (--g_KeyModeDepth > 0 || !g_KeyModeEntered) {
        return;
    }
    g_KeyModeEntered = false;
    ::tcsetattr(kInput, TCSANOW, &g_SettingsBeforeKeyMode);
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
        ::sigaction(kEndingSignals[i], &g_PreviousActions[i], nullptr);
    }
}

int _kbhit() {
    if (::isatty(kInput) == 0) {
        return 0;
    }
    const TKeyInputMode mode;
    return InputReady(0) ? 1 : 0;
}

int _getch() {
    if (::isatty(kInput) == 0) {
        return -1;
    }
    const TKeyInputMode mode;
    const int first = ReadByte();
    if (first < 0) {
        return -1;
    }
    // Take the rest of the key, so that nothing of it is left for whoever reads the terminal next.
    if (first == kEscape) {
        while (InputReady(kSequenceGapMs) && ReadByte() >= 0) {
        }
    } else {
        for (int rest = ContinuationBytes(static_cast<unsigned char>(first)); rest > 0; --rest) {
            if (!InputReady(kSequenceGapMs) || ReadByte() < 0) {
                break;
            }
        }
    }
    return first;
}

}  // namespace Kvetra::Platform
