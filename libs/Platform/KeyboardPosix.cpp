// Key input on a POSIX terminal.
//
// Each call switches the terminal to key-at-a-time input with echo and signal keys off and restores
// the settings before it returns, on every path, so the terminal is never left altered for the
// shell. Input that was typed earlier in line mode becomes readable once line mode is off, so keys
// pressed during the run are seen (and discarded) by the drain that precedes the final wait.
#include "Platform/Keyboard.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace Kvetra::Platform {
namespace {

constexpr int kInput = STDIN_FILENO;
constexpr unsigned char kEscape = 0x1B;
// How long to wait for the rest of an escape sequence after its first byte: terminals send a whole
// sequence at once, so a few milliseconds separate it from a lone Esc key.
constexpr int kSequenceGapMs = 30;

// Puts the terminal into key-at-a-time mode for the lifetime of the object.
class TKeyMode {
  public:
    TKeyMode() {
        if (::tcgetattr(kInput, &Saved) != 0) {
            return;
        }
        termios raw = Saved;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        Active = ::tcsetattr(kInput, TCSANOW, &raw) == 0;
    }
    ~TKeyMode() {
        if (Active) {
            ::tcsetattr(kInput, TCSANOW, &Saved);
        }
    }
    TKeyMode(const TKeyMode&) = delete;
    TKeyMode& operator=(const TKeyMode&) = delete;

  private:
    termios Saved{};
    bool Active = false;
};

// True when a byte can be read within timeoutMs; false on timeout, hang-up or error.
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

int _kbhit() {
    if (::isatty(kInput) == 0) {
        return 0;
    }
    TKeyMode mode;
    return InputReady(0) ? 1 : 0;
}

int _getch() {
    if (::isatty(kInput) == 0) {
        return -1;
    }
    TKeyMode mode;
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
