// The argument handling shared by the commands of the `gaugery` program.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace gaugery::cli {

// Wrong usage: the program prints the message and the command's usage, exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The options and operands of one command line, parsed against the options a command
// declares. Options take the form --name or --name VALUE; "--" ends the options.
class Arguments {
 public:
  // Flags are options without a value; Valued options take one and may repeat.
  Arguments(const std::vector<std::string>& Args, const std::vector<std::string>& Flags,
            const std::vector<std::string>& Valued);

  bool Has(const std::string& Option) const;
  // The last value given, or Default.
  std::string Value(const std::string& Option, const std::string& Default = "") const;
  const std::vector<std::string>& Values(const std::string& Option) const;
  // A whole number >= Minimum, or UsageError.
  long long Number(const std::string& Option, long long Default, long long Minimum) const;
  // A number of seconds from 0 to 86400, fractions allowed (Default when the option
  // is not given), or UsageError.
  std::chrono::steady_clock::duration Seconds(const std::string& Option,
                                              const std::string& Default) const;
  const std::vector<std::string>& Operands() const { return Operands_; }

 private:
  std::map<std::string, std::vector<std::string>> Options_;
  std::vector<std::string> Operands_;
};

// Whether Arg asks for the usage: --help or -h, and on Windows /? as well.
bool IsHelpOption(const std::string& Arg);

// Text wrapped at blanks to lines of at most 80 columns (a longer word stands alone): the
// first line after First, the others after Next, each ending with a newline.
std::string WrappedText(const std::string& Text, const std::string& First, const std::string& Next);

// Option lines ("  --name VALUE  what it does", one a line) wrapped as WrappedText does,
// each continued under the start of its description.
std::string WrappedOptions(const std::string& Lines);

// One command of the program.
struct Command {
  std::string Name;
  std::string Synopsis;  // the usage after "gaugery ", wrapped when printed
  std::string Summary;   // for the command list, wrapped when printed
  std::string Details;   // the options, one per line, wrapped when printed
  std::vector<std::string> Flags;
  std::vector<std::string> Valued;
  std::function<int(const Arguments&)> Run;
};

}  // namespace gaugery::cli
