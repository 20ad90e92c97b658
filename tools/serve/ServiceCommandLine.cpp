#include "ServiceCommandLine.h"

namespace gaugery::cli {

std::string QuotedArgument(const std::string& Argument) {
  if (!Argument.empty() && Argument.find_first_of(" \t\n\v\"") == std::string::npos)
    return Argument;
  std::string Quoted = "\"";
  std::size_t Backslashes = 0;
  for (const char C : Argument) {
    if (C == '\\') {
      ++Backslashes;
      continue;
    }
    // Backslashes stand for themselves unless a quote follows them.
    Quoted.append(C == '"' ? Backslashes * 2 + 1 : Backslashes, '\\');
    Quoted += C;
    Backslashes = 0;
  }
  Quoted.append(Backslashes * 2, '\\');
  return Quoted + "\"";
}

std::string ServiceCommandLine(const std::string& Program,
                               const std::vector<std::string>& Arguments) {
  // The parser takes the program's name up to the next quote, without escapes: a path
  // holds no quotes.
  std::string Line = "\"" + Program + "\"";
  for (const std::string& Argument : Arguments) Line += " " + QuotedArgument(Argument);
  return Line;
}

}  // namespace gaugery::cli
