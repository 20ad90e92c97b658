// The terminal of the commands that keep running (`gaugery top`): whether standard
// output is one, its size and character set, and a session that draws on it, reads keys
// and turns the signals that end or stop the program into events.
#pragma once

#include <string>
#include <vector>

#include "KeyInput.h"

namespace gaugery::cli {

bool OutputIsTerminal();

struct TTerminalSize {
  int Columns = 80;
  int Rows = 24;
};
// The size of the terminal on standard output; 80 x 24 when it cannot be told.
TTerminalSize TerminalSize();

// Whether the terminal shows UTF-8: the character set of the user's locale; on Windows,
// whether standard output is a console that TConsoleText writes.
bool TerminalIsUtf8();

// The lines of a screen's text ("\r\n" between them) without their escape sequences:
// what the screen shows when no attribute or cursor movement can be drawn.
std::vector<std::string> ScreenLines(const std::string& Screen);

// What ended a wait of the session.
struct TTerminalEvent {
  enum class TKind { Timeout, Keys, Resize, Ended };
  TKind Kind = TKind::Timeout;
  // For Keys: the keys typed, at least one.
  std::vector<TKeyPress> Keys;
  // For Ended: the program's exit status, 128 + the number of the signal (130 for
  // Ctrl-C).
  int ExitStatus = 0;
};

// For its lifetime Ctrl-C (SIGINT), SIGTERM, SIGHUP and SIGQUIT end the current wait
// instead of the program, so that the terminal is restored on every way out. With a
// screen, the session also draws on the terminal's alternate screen with the cursor
// hidden, reads keys one at a time without echo, reports a change of the terminal's
// size at once, and gives the terminal back while the program is stopped (Ctrl-Z).
// The terminal is restored by the destructor.
class TTerminalSession {
 public:
  explicit TTerminalSession(bool Screen);
  ~TTerminalSession();
  TTerminalSession(const TTerminalSession&) = delete;
  TTerminalSession& operator=(const TTerminalSession&) = delete;

  // Waits up to Milliseconds for keys, a new size or a signal that ends the program.
  TTerminalEvent Wait(int Milliseconds);

  // Shows a screen's text, drawn with escape sequences from the top left corner. A
  // Windows console that follows no escape sequences gets its lines without them.
  void Show(const std::string& Screen);

 private:
  void EnterScreen();
  void LeaveScreen();
#ifdef _WIN32
  bool SizeChanged();
  void ClearWindow();
#else
  void Suspend();
#endif

  bool Screen_;
  // Standard input switched to key-by-key reading (restored by the destructor).
  bool KeyMode_ = false;
  // Keys are watched: a screen session on a terminal, until its input ends.
  bool ReadsKeys_ = false;
  TKeyDecoder Decoder_;
#ifdef _WIN32
  // The console has no signal for a new size: each wait compares it with the last seen.
  TTerminalSize Size_;
  // The console's output mode before the screen switched on its escape sequences.
  unsigned long SavedOutputMode_ = 0;
  bool RestoresOutputMode_ = false;
  // The console follows no escape sequences: the screen is written into its cells.
  bool FillsCells_ = false;
#endif
};

}  // namespace gaugery::cli
