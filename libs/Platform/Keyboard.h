// Unechoed key input from the console, for the prompt that ends every run.
//
// When standard input is not an interactive console (a pipe, a file, a closed descriptor, the NUL
// device) there is never a key waiting and nothing is waited for: the program must not hang in
// scripts and CI.
#pragma once

namespace Kvetra::Platform {

// While an object of this class lives, the console delivers key presses one at a time, unechoed,
// with signal keys such as Ctrl+C delivered as keys; when it goes, the console's settings are
// restored, also when the program is ended by a signal meanwhile. Holding one across a drain of
// waiting keys and the wait that follows keeps every key whole. Objects may nest; only the
// outermost one changes anything. Without a console it does nothing.
class TKeyInputMode {
  public:
    TKeyInputMode();
    ~TKeyInputMode();
    TKeyInputMode(const TKeyInputMode&) = delete;
    TKeyInputMode& operator=(const TKeyInputMode&) = delete;
};

// _kbhit and _getch hold a TKeyInputMode for the length of the call.

// Non-zero while at least one key press is waiting; never waits.
int _kbhit();

// Removes one key press from the console input and returns its first code, without echo; waits when
// none is waiting. A key that sends several codes (arrows, function keys, a non-ASCII letter) is
// taken whole. Keys such as Ctrl+C are delivered as keys here, not as signals. Returns -1 at once
// when standard input is not a console or has been closed.
int _getch();

}  // namespace Kvetra::Platform
