// Runs the `gaugery` program and captures what it prints.
#pragma once

#include <string>

struct ProgramRun {
  int ExitCode;
  std::string Out;
  std::string Err;
};

// Runs `gaugery <Arguments>` (a shell-quoted argument string).
ProgramRun RunGaugery(const std::string& Arguments);
