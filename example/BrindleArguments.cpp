#include "BrindleArguments.h"

#include <exception>
#include <utility>

#include "BrindleProduct.h"
#include "Replay.h"
#include "registry/RemoteToken.h"

namespace gaugery {

const char BrindleUsage[] =
    "usage: brindle [--replay FILE]... [--begin TIME] [--end TIME] [--computer NAME]\n"
    "               [--token FILE]\n"
    "  --replay FILE    show the processes of a captured block instead of this computer's;\n"
    "                   repeat it to replay a sequence (the last block repeats), or give\n"
    "                   one counter log (`gaugery record`) to play its samples at\n"
    "                   the recorded pace, stopping on the last\n"
    "  --begin TIME     with a counter log, start at TIME: 2026-12-08T03:00, or 03:00\n"
    "                   on the log's first day (its machine's local time)\n"
    "  --end TIME       with a counter log, stop at TIME\n"
    "  --computer NAME  show the processes of the computer NAME; on Linux HOST:PORT\n"
    "                   or HOST (port 9441) of a machine running `gaugery serve`\n"
    "  --token FILE     send the token in FILE to that computer (its `gaugery serve\n"
    "                   --token`); without it, the file GAUGERY_TOKEN_FILE names\n"
    "  --help           this text\n"
    "  --version        the versions of Brindle and of the Gaugery library\n";

namespace {

TBrindleArguments Ending(int ExitCode, std::string Error, bool ShowUsage) {
  TBrindleArguments Ended;
  Ended.ExitCode = ExitCode;
  Ended.Error = std::move(Error);
  Ended.ShowUsage = ShowUsage;
  return Ended;
}

TBrindleArguments WrongUsage(std::string Error) { return Ending(2, std::move(Error), true); }

TBrindleArguments VersionAsked() {
  TBrindleArguments Asked = Ending(0, "", false);
  Asked.ShowVersion = true;
  return Asked;
}

}  // namespace

TBrindleArguments ParseBrindleArguments(const std::vector<std::string>& Arguments) {
  TBrindleArguments Read;
  for (std::size_t Next = 0; Next < Arguments.size(); ++Next) {
    const std::string& Option = Arguments[Next];
    if (Option == "--help") return Ending(0, "", true);
    if (Option == "--version") return VersionAsked();
    const bool TakesTime = Option == "--begin" || Option == "--end";
    if (Option != "--replay" && Option != "--computer" && Option != "--token" && !TakesTime) {
      return WrongUsage((Option.rfind("--", 0) == 0 ? "unknown option " : "unexpected operand ") +
                        Option);
    }
    if (Next + 1 == Arguments.size()) {
      return WrongUsage("option " + Option +
                        (Option == "--computer" ? " needs a computer name"
                         : TakesTime            ? " needs a time"
                                                : " needs a file"));
    }
    if (TakesTime) {
      if (auto Problem = cli::SetWindowTime(Read.Window, Option, Arguments[++Next]))
        return WrongUsage(std::move(*Problem));
      continue;
    }
    std::string& Value = Option == "--replay"  ? Read.ReplayFiles.emplace_back()
                         : Option == "--token" ? Read.TokenFile
                                               : Read.ComputerName;
    Value = Arguments[++Next];
  }
  if (!Read.ReplayFiles.empty() && !Read.ComputerName.empty())
    return WrongUsage("--replay and --computer exclude each other");
  if ((Read.Window.Begin || Read.Window.End) && Read.ReplayFiles.empty())
    return WrongUsage(cli::WindowNeedsReplay);
  return Read;
}

TBrindleArguments ReadBrindleArguments(const std::vector<std::string>& Arguments) {
  TBrindleArguments Read = ParseBrindleArguments(Arguments);
  if (Read.ExitCode) return Read;
  try {
    UseRemoteTokenFile(Read.TokenFile);
    if (!Read.ReplayFiles.empty()) cli::UseReplay(Read.ReplayFiles, Read.Window);
  } catch (const std::exception& Error) {
    return Ending(1, Error.what(), false);
  }
  return Read;
}

std::string EndingText(const TBrindleArguments& Arguments) {
  std::string Text;
  if (!Arguments.Error.empty()) Text = "brindle: " + Arguments.Error + "\n";
  if (Arguments.ShowUsage) Text += BrindleUsage;
  if (Arguments.ShowVersion) Text += BrindleVersionLine() + "\n";
  return Text;
}

}  // namespace gaugery
