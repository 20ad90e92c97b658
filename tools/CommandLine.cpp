#include "CommandLine.h"

#include <algorithm>
#include <charconv>

namespace gaugery::cli {

namespace {

bool Contains(const std::vector<std::string>& List, const std::string& Item) {
  return std::find(List.begin(), List.end(), Item) != List.end();
}

}  // namespace

Arguments::Arguments(const std::vector<std::string>& Args, const std::vector<std::string>& Flags,
                     const std::vector<std::string>& Valued) {
  bool OptionsEnded = false;
  for (std::size_t i = 0; i < Args.size(); ++i) {
    const std::string& Arg = Args[i];
    if (OptionsEnded || Arg.size() < 2 || Arg.compare(0, 2, "--") != 0) {
      Operands_.push_back(Arg);
    } else if (Arg == "--") {
      OptionsEnded = true;
    } else if (Contains(Flags, Arg)) {
      Options_[Arg].push_back("");
    } else if (Contains(Valued, Arg)) {
      if (i + 1 == Args.size()) throw UsageError("option " + Arg + " needs a value");
      Options_[Arg].push_back(Args[++i]);
    } else {
      throw UsageError("unknown option " + Arg);
    }
  }
}

bool Arguments::Has(const std::string& Option) const { return Options_.count(Option) != 0; }

std::string Arguments::Value(const std::string& Option, const std::string& Default) const {
  auto Found = Options_.find(Option);
  return Found == Options_.end() ? Default : Found->second.back();
}

const std::vector<std::string>& Arguments::Values(const std::string& Option) const {
  static const std::vector<std::string> None;
  auto Found = Options_.find(Option);
  return Found == Options_.end() ? None : Found->second;
}

long long Arguments::Number(const std::string& Option, long long Default, long long Minimum) const {
  if (!Has(Option)) return Default;
  const std::string Text = Value(Option);
  long long Result = 0;
  auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Result);
  if (Error != std::errc() || End != Text.data() + Text.size() || Result < Minimum)
    throw UsageError("option " + Option + " needs a whole number of at least " +
                     std::to_string(Minimum) + ", not \"" + Text + "\"");
  return Result;
}

std::chrono::steady_clock::duration Arguments::Seconds(const std::string& Option,
                                                      const std::string& Default) const {
  const std::string Text = Value(Option, Default);
  double Seconds = -1;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Seconds);
  if (Error != std::errc() || End != Text.data() + Text.size() || !(Seconds >= 0) ||
      Seconds > 86400)
    throw UsageError("option " + Option + " needs a number of seconds from 0 to 86400, not \"" +
                     Text + "\"");
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(Seconds));
}

}  // namespace gaugery::cli
