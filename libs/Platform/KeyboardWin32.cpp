// Key input on a Windows console, through the runtime's _kbhit and _getch.
//
// Key input mode switches off the console's line editing, echo and its handling of Ctrl+C, so that
// Ctrl+C is a key like any other; the console's mode is put back when the outermost mode ends, and
// also when Ctrl+Break or closing the window ends the program meanwhile. When standard input is not
// a console (redirected from a file or a pipe, or absent) nothing is read and nothing is waited
// for: the runtime's functions would read the console window instead, if there is one.
#include "Platform/Keyboard.h"

#include <conio.h>
#include <windows.h>

namespace Kvetra::Platform {
namespace {

constexpr DWORD kKeyModeOff = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;

int g_KeyModeDepth = 0;
bool g_KeyModeEntered = false;
DWORD g_ModeBeforeKeyMode = 0;

// The console input behind standard input, or nullptr when standard input is not a console.
HANDLE ConsoleInput() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input == nullptr || input == INVALID_HANDLE_VALUE || ::GetConsoleMode(input, &mode) == 0) {
        return nullptr;
    }
    return input;
}

BOOL WINAPI RestoreConsoleAndEnd(DWORD /*event*/) {
    if (const HANDLE input = ConsoleInput()) {
        ::SetConsoleMode(input, g_ModeBeforeKeyMode);
    }
    return FALSE;  // the next handler, in the end the system's, ends the process
}

}  // namespace

TKeyInputMode::TKeyInputMode() {
    if (g_KeyModeDepth++ > 0) {
        return;
    }
    const HANDLE input = ConsoleInput();
    g_KeyModeEntered = input != nullptr && ::GetConsoleMode(input, &g_ModeBeforeKeyMode) != 0 &&
                       ::SetConsoleMode(input, g_ModeBeforeKeyMode & ~kKeyModeOff) != 0;
    if (g_KeyModeEntered) {
        ::SetConsoleCtrlHandler(RestoreConsoleAndEnd, TRUE);
    }
}

TKeyInputMode::~TKeyInputMode() {
    if (--g_KeyModeDepth > 0 || !g_KeyModeEntered) {
        return;
    }
    g_KeyModeEntered = false;
    if (const HANDLE input = ConsoleInput()) {
        ::SetConsoleMode(input, g_ModeBeforeKeyMode);
    }
    ::SetConsoleCtrlHandler(RestoreConsoleAndEnd, FALSE);
}

int _kbhit() {
    if (ConsoleInput() == nullptr) {
        return 0;
    }
    const TKeyInputMode mode;
    return ::_kbhit();
}

int _getch() {
    if (ConsoleInput() == nullptr) {
        return -1;
    }
    const TKeyInputMode mode;
    const int first = ::_getch();
    // Function and arrow keys come as two codes, a lead of 0 or 0xE0 and the key's own code; the
    // second is taken too, so that nothing of the key is left for whoever reads the console next.
    if (first == 0 || first == 0xE0) {
        ::_getch();
    }
    return first;
}

}  // namespace Kvetra::Platform
