#include "CommandLine.h"

#include <algorithm>
#include <charconv>

namespace gaugery::cli {

namespace {

constexpr std::size_t kLineWidth = 80;

bool Contains(const std::vector<std::string>& List, const std::string& Item) {
  return std::find(List.begin(), List.end(), Item) != List.end();
}

// Where the description of an option line starts: after the option and the first run
// of two or more blanks; 0 for a line without one.
std::size_t DescriptionColumn(const std::string& Line) {
  const std::size_t Option = Line.find_first_not_of(' ');
  if (Option == std::string::npos) return 0;
  const std::size_t Gap = Line.find("  ", Option);
  if (Gap == std::string::npos) return 0;
  const std::size_t Description = Line.find_first_not_of(' ', Gap);
  return Description == std::string::npos ? 0 : Description;
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

bool IsHelpOption(const std::string& Arg) {
#ifdef _WIN32
  if (Arg == "/?") return true;
#endif
  return Arg == "--help" || Arg == "-h";
}

std::string WrappedText(const std::string& Text, const std::string& First,
                        const std::string& Next) {
  std::string Wrapped;
  std::string Line = First;
  bool LineHasWord = false;
  std::size_t Start = 0;
  while (Start < Text.size()) {
    const std::size_t End = std::min(Text.find(' ', Start), Text.size());
    const std::string Word = Text.substr(Start, End - Start);
    Start = End + 1;
    if (Word.empty()) continue;
    if (LineHasWord && Line.size() + 1 + Word.size() > kLineWidth) {
      Wrapped += Line + "\n";
      Line = Next;
      LineHasWord = false;
    }
    Line += (LineHasWord ? " " : "") + Word;
    LineHasWord = true;
  }
  return Wrapped + Line + "\n";
}

std::string WrappedOptions(const std::string& Lines) {
  std::string Wrapped;
  std::size_t Start = 0;
  while (Start < Lines.size()) {
    const std::size_t End = std::min(Lines.find('\n', Start), Lines.size());
    const std::string Line = Lines.substr(Start, End - Start);
    Start = End + 1;
    const std::size_t Column = DescriptionColumn(Line);
    Wrapped += WrappedText(Line.substr(Column), Line.substr(0, Column), std::string(Column, ' '));
  }
  return Wrapped;
}

}  // namespace gaugery::cli
