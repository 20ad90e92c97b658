// The terminal of the commands that keep running (`gaugery top`): whether standard
// output is one, its size, and a session that waits for the user's q or Ctrl-C.
#pragma once

namespace gaugery::cli {

bool OutputIsTerminal();

struct TTerminalSize {
  int Columns = 80;
  int Rows = 24;
};
// The size of the terminal on standard output; 80 x 24 when it cannot be told.
TTerminalSize TerminalSize();

// For its lifetime Ctrl-C ends the current wait instead of the program. With a screen,
// the session also draws on the terminal's alternate screen with the cursor hidden and
// reads keys one at a time without echo; the terminal is restored afterwards.
class TTerminalSession {
 public:
  explicit TTerminalSession(bool Screen);
  ~TTerminalSession();
  TTerminalSession(const TTerminalSession&) = delete;
  TTerminalSession& operator=(const TTerminalSession&) = delete;

  // Waits up to Milliseconds. True as soon as the user asks to quit: Ctrl-C, or q on a
  // screen session.
  bool WaitForQuit(int Milliseconds);

 private:
  bool Screen_;
  // Standard input switched to key-by-key reading (restored by the destructor).
  bool KeyMode_ = false;
  // Keys are watched: a screen session on a terminal, until its input ends.
  bool ReadsKeys_ = false;
};

}  // namespace gaugery::cli
