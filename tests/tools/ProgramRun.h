// Runs the `gaugery` program and captures what it prints.
#pragma once

#include <string>

struct ProgramRun {
  int ExitCode;
  std::string Out;
  std::string Err;
};

// Runs `gaugery <Arguments>` (arguments quoted as a shell and the Windows command line
// both read them: words, or "double-quoted" texts). On Windows, the program beside the
// running one; the output is returned as written, line ends included.
ProgramRun RunGaugery(const std::string& Arguments);
