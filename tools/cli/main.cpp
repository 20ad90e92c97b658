// gaugery: reads the performance data of this computer, or of a remote one, from the
// command line.
//
//   gaugery [--replay FILE]... [--begin TIME] [--end TIME] [--computer NAME] [--token FILE] COMMAND
//   [OPTIONS] [OPERANDS]
//
// Exit status 0 on success, 1 with the error's message on standard error, 2 on wrong usage.
#include <clocale>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "ConsoleText.h"
#include "LogTime.h"
#include "Replay.h"
#include "framework/ProgramArguments.h"
#include "registry/RemoteToken.h"

using namespace gaugery::cli;

namespace {

Command HelpCommand();

// Made once, so that `help` can list them all, itself included.
const std::vector<Command>& AllCommands() {
  static const std::vector<Command> Commands = {
      DumpCommand(),     CaptureCommand(),   LocalesCommand(), NamesCommand(), ObjectsCommand(),
      CountersCommand(), InstancesCommand(), ReadCommand(),    TypeCommand(),  TopCommand(),
      WatchCommand(),    RecordCommand(),    RelogCommand(),
      ServeCommand(),
      HelpCommand()};
  return Commands;
}

// The text up to the end of its first sentence.
std::string FirstSentence(const std::string& Text) {
  const std::size_t End = Text.find(". ");
  return End == std::string::npos ? Text : Text.substr(0, End + 1);
}

void PrintProgramUsage(std::ostream& Out, const std::vector<Command>& Commands) {
  Out << "usage: gaugery [--replay FILE]... [--begin TIME] [--end TIME]\n"
         "               [--computer NAME] [--token FILE] COMMAND [OPTIONS]\n\n"
         "Reads the performance counters of this computer or of a remote one.\n\n"
         "Commands:\n";
  for (const Command& C : Commands) {
    const std::string Name =
        "  " + C.Name + std::string(C.Name.size() < 12 ? 12 - C.Name.size() : 1, ' ');
    Out << WrappedText(FirstSentence(C.Summary), Name, std::string(Name.size(), ' '));
  }
  Out << "\nOptions:\n"
      << WrappedOptions(
             "  --replay FILE    serve the performance data from a captured block instead of "
             "the live machine; repeat it to replay a sequence (the last one repeats); a counter "
             "log (`gaugery record`) replays its samples in turn\n"
             "  --begin TIME     with a counter log, start at its first sample at or after TIME: "
             "2026-12-08T03:00, 2026-12-08 03:00:30Z, or 03:00 on the log's first day (the "
             "recording machine's local time unless a zone is given)\n"
             "  --end TIME       with a counter log, stop after its last sample at or before "
             "TIME\n"
             "  --computer NAME  read the computer NAME instead of this one; on Linux HOST:PORT "
             "or HOST (port 9441) of a machine running `gaugery serve`\n"
             "  --token FILE     send the token in FILE to the computer read (its `gaugery serve "
             "--token`); without it, the file that GAUGERY_TOKEN_FILE names\n"
             "  --help, -h       this text; `gaugery help COMMAND` or `gaugery COMMAND --help` "
             "describes a command\n"
             "  --version        the program's version\n");
}

void PrintCommandUsage(std::ostream& Out, const Command& C) {
  Out << WrappedText(C.Synopsis, "usage: gaugery ", std::string(15, ' ')) << "\n"
      << WrappedText(C.Summary, "", "");
  Out << "\n" << WrappedOptions(C.Details + "  --help  this text\n");
}

const Command* FindCommand(const std::vector<Command>& Commands, const std::string& Name) {
  for (const Command& C : Commands)
    if (C.Name == Name) return &C;
  return nullptr;
}

// --help, -h, and on Windows /?, among the options (before a "--").
bool AsksForHelp(const std::vector<std::string>& Args) {
  for (const std::string& Arg : Args) {
    if (Arg == "--") return false;
    if (IsHelpOption(Arg)) return true;
  }
  return false;
}

int RunCommand(const Command& C, const std::vector<std::string>& Args) {
  if (AsksForHelp(Args)) {
    PrintCommandUsage(std::cout, C);
    return 0;
  }
  try {
    return C.Run(Arguments(Args, C.Flags, C.Valued));
  } catch (const UsageError& Error) {
    std::cerr << "gaugery " << C.Name << ": " << Error.what() << "\n";
    PrintCommandUsage(std::cerr, C);
    return 2;
  }
}

// `gaugery help [COMMAND]`: the program's usage, or that of one command.
int PrintHelp(const Arguments& Args) {
  const std::vector<std::string>& Operands = Args.Operands();
  if (Operands.size() > 1) throw UsageError("unexpected operand " + Operands[1]);
  if (Operands.empty()) {
    PrintProgramUsage(std::cout, AllCommands());
    return 0;
  }
  const Command* C = FindCommand(AllCommands(), Operands[0]);
  if (C == nullptr) throw UsageError("unknown command \"" + Operands[0] + "\"");
  PrintCommandUsage(std::cout, *C);
  return 0;
}

Command HelpCommand() {
  return {"help", "help [COMMAND]", "Describes the program and its commands, or COMMAND.", "", {},
          {},     PrintHelp};
}

// The user's locale for what the program takes from it: the character set (display
// widths, UTF-8 output), numbers and times (their separators) and messages (system error
// texts, ICU's default locale). Each other category would only cost a file read.
void TakeUserLocale() {
#ifdef _WIN32
  std::setlocale(LC_ALL, "");
#else
  for (int Category : {LC_CTYPE, LC_NUMERIC, LC_TIME, LC_MESSAGES}) std::setlocale(Category, "");
#endif
}

}  // namespace

int main(int argc, char** argv) {
  TakeUserLocale();
  const gaugery::cli::TConsoleText ConsoleText;
  const std::vector<Command>& Commands = AllCommands();
  const std::vector<std::string> Args = gaugery::ProgramArguments(argc, argv);
  std::vector<std::string> ReplayFiles;
  TLogWindow Window;
  std::string Computer;
  std::string TokenFile;
  std::size_t Next = 0;
  try {
    for (; Next < Args.size() && (Args[Next].rfind("--", 0) == 0 || IsHelpOption(Args[Next]));
         ++Next) {
      if (IsHelpOption(Args[Next])) {
        PrintProgramUsage(std::cout, Commands);
        return 0;
      }
      if (Args[Next] == "--version") {
        std::cout << "gaugery " GAUGERY_VERSION "\n";
        return 0;
      }
      const bool TakesTime = Args[Next] == "--begin" || Args[Next] == "--end";
      if (Args[Next] != "--replay" && Args[Next] != "--computer" && Args[Next] != "--token" &&
          !TakesTime)
        throw UsageError("unknown option " + Args[Next]);
      if (Next + 1 == Args.size())
        throw UsageError("option " + Args[Next] +
                         (Args[Next] == "--computer" ? " needs a computer name"
                          : TakesTime                ? " needs a time"
                                                     : " needs a file"));
      if (TakesTime) {
        if (const auto Problem = SetWindowTime(Window, Args[Next], Args[Next + 1]))
          throw UsageError(*Problem);
        ++Next;
        continue;
      }
      std::string& Value = Args[Next] == "--replay"  ? ReplayFiles.emplace_back()
                           : Args[Next] == "--token" ? TokenFile
                                                     : Computer;
      Value = Args[Next + 1];
      ++Next;
    }
    if (!ReplayFiles.empty() && !Computer.empty())
      throw UsageError("--replay and --computer exclude each other");
    if ((Window.Begin || Window.End) && ReplayFiles.empty()) throw UsageError(WindowNeedsReplay);
    if (Next == Args.size()) throw UsageError("no command given");
  } catch (const UsageError& Error) {
    std::cerr << "gaugery: " << Error.what() << "\n";
    PrintProgramUsage(std::cerr, Commands);
    return 2;
  }
  const Command* C = FindCommand(Commands, Args[Next]);
  if (C == nullptr) {
    std::cerr << "gaugery: unknown command \"" << Args[Next] << "\"\n";
    PrintProgramUsage(std::cerr, Commands);
    return 2;
  }
  try {
    if (!ReplayFiles.empty()) UseReplay(ReplayFiles, Window);
    SetChosenComputer(Computer);
    gaugery::UseRemoteTokenFile(TokenFile);
    const int Status =
        RunCommand(*C, std::vector<std::string>(Args.begin() + Next + 1, Args.end()));
    PrintReplayWarnings(std::cerr);
    return Status;
  } catch (const std::exception& Error) {
    PrintReplayWarnings(std::cerr);
    std::cerr << "gaugery: " << Error.what() << "\n";
    return 1;
  }
}
