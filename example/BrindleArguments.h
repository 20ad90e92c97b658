// The command line of Brindle, the same for every front end:
//
//   brindle [--replay FILE]... [--computer NAME] [--token FILE]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gaugery {

extern const char BrindleUsage[];

struct TBrindleArguments {
  // The computer to show; empty: this one.
  std::string ComputerName;
  // Set when the window is not to be started: the program shows Error (none for
  // --help), then the usage when ShowUsage is set, and ends with this code.
  std::optional<int> ExitCode;
  std::string Error;
  bool ShowUsage = false;
};

// Reads Arguments (those after the program's name), puts the replay of the --replay
// files in service and reads the token for remote computers. Wrong usage ends with
// code 2, a file that cannot be replayed or read with 1.
TBrindleArguments ReadBrindleArguments(const std::vector<std::string>& Arguments);

}  // namespace gaugery
