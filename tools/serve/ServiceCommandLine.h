// The command line of `gaugery serve` installed as a Windows service: the program and
// its arguments in the one string the service control manager keeps and starts.
#pragma once

#include <string>
#include <vector>

namespace gaugery::cli {

// Argument as the program's command-line parser (CommandLineToArgvW) reads it back:
// as it is when it holds no blank or quote, else quoted, its quotes escaped and the
// backslashes before a quote (and before the closing one) doubled.
std::string QuotedArgument(const std::string& Argument);

// The quoted Program followed by Arguments, each quoted as QuotedArgument does. The
// program is always quoted: an unquoted path with blanks would let the manager start
// "C:\Program.exe" if such a file were there.
std::string ServiceCommandLine(const std::string& Program,
                               const std::vector<std::string>& Arguments);

}  // namespace gaugery::cli
