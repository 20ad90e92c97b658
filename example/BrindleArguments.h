// The command line of Brindle, the same for every front end:
//
//   brindle [--replay FILE]... [--begin TIME] [--end TIME] [--computer NAME]
//           [--token FILE] | --help | --version
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "LogTime.h"

namespace gaugery {

extern const char BrindleUsage[];

struct TBrindleArguments {
  // The computer to show; empty: this one.
  std::string ComputerName;
  // The captures to replay instead of a computer, in the order given.
  std::vector<std::string> ReplayFiles;
  // The window of a replayed counter log.
  cli::TLogWindow Window;
  // The file of the token the computer asks for; empty: the one GAUGERY_TOKEN_FILE names.
  std::string TokenFile;
  // Set when the window is not to be started: the program prints EndingText (standard
  // output for code 0, standard error otherwise) and ends with this code.
  std::optional<int> ExitCode;
  std::string Error;
  bool ShowUsage = false;
  bool ShowVersion = false;
};

// Reads Arguments (those after the program's name) and nothing else: --help and
// --version end with code 0, wrong usage with 2. Needs no window system, so that the
// two informative options answer where none is at hand.
TBrindleArguments ParseBrindleArguments(const std::vector<std::string>& Arguments);

// ParseBrindleArguments, then reads the token for remote computers and puts the replay
// of the --replay files in service. A file that cannot be read or replayed ends with
// code 1.
TBrindleArguments ReadBrindleArguments(const std::vector<std::string>& Arguments);

// What a program that ends without its window prints: "brindle: " and the error, the
// usage, or the version line of Brindle and of the library.
std::string EndingText(const TBrindleArguments& Arguments);

}  // namespace gaugery
