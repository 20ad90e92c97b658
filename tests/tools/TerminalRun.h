// Runs the `gaugery` program on a pseudo-terminal, as a user runs it in a terminal
// window: types keys, resizes the window, sends signals and reads the screen it draws.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class TerminalRun {
 public:
  using Screen = std::vector<std::string>;

  // Starts `gaugery Arguments...` on a terminal of that size, in the C locale and UTC.
  TerminalRun(const std::vector<std::string>& Arguments, int Columns, int Rows);
  // Kills the program if it still runs.
  ~TerminalRun();
  TerminalRun(const TerminalRun&) = delete;
  TerminalRun& operator=(const TerminalRun&) = delete;

  void Type(const std::string& Keys);
  void Resize(int Columns, int Rows);
  void Signal(int Number);

  // The lines of the last screen drawn whole (escape sequences removed) once Test
  // accepts them; after a few seconds without, a test failure and the last screen.
  Screen ScreenWhen(const std::function<bool(const Screen&)>& Test);
  // Waits for the program to end: its exit status, or -1 when it does not end.
  int ExitStatus();

  // Everything the program wrote.
  const std::string& Output() const { return Output_; }
  // Whether the terminal echoes what is typed, as the program left it.
  bool Echoes() const;

 private:
  // Reads what the program wrote within Milliseconds; false when it wrote nothing.
  bool ReadOutput(int Milliseconds);
  bool Drawn(const Screen& Lines) const;

  int Columns_;
  int Rows_;
  pid_t Pid_ = -1;
  int Master_ = -1;
  int Slave_ = -1;
  std::string Output_;
};
