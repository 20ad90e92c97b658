// gaugery: reads the performance data of this computer from the command line.
//
//   gaugery [--replay FILE]... COMMAND [OPTIONS] [OPERANDS]
//
// Exit status 0 on success, 1 with the error's message on standard error, 2 on wrong usage.
#include <algorithm>
#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "Replay.h"
#include "framework/ProgramArguments.h"

using namespace gaugery::cli;

namespace {

std::vector<Command> AllCommands() {
  return {DumpCommand(),    CaptureCommand(),  LocalesCommand(),   NamesCommand(),
          ObjectsCommand(), CountersCommand(), InstancesCommand(), ReadCommand(),
          TypeCommand(),    TopCommand(),      WatchCommand()};
}

void PrintProgramUsage(std::ostream& Out, const std::vector<Command>& Commands) {
  Out << "usage: gaugery [--replay FILE]... COMMAND [OPTIONS]\n\n"
         "Reads the performance counters of this computer.\n\n"
         "Commands:\n";
  for (const Command& C : Commands) {
    Out << "  " << C.Name << std::string(C.Name.size() < 12 ? 12 - C.Name.size() : 1, ' ')
        << C.Summary << "\n";
  }
  Out << "\nOptions:\n"
         "  --replay FILE  serve the performance data from a captured block instead of the\n"
         "                 live machine; repeat it to replay a sequence (the last one repeats)\n"
         "  --help         this text; `gaugery help COMMAND` describes a command\n";
}

// A command may give --help a meaning of its own (help texts); it then has no usage option.
bool OwnsHelpOption(const Command& C) {
  return std::find(C.Flags.begin(), C.Flags.end(), "--help") != C.Flags.end();
}

void PrintCommandUsage(std::ostream& Out, const Command& C) {
  Out << "usage: gaugery " << C.Synopsis << "\n\n" << C.Summary << "\n";
  if (!C.Details.empty()) Out << "\n" << C.Details;
  if (!OwnsHelpOption(C)) Out << "  --help  this text\n";
}

const Command* FindCommand(const std::vector<Command>& Commands, const std::string& Name) {
  for (const Command& C : Commands)
    if (C.Name == Name) return &C;
  return nullptr;
}

int RunCommand(const Command& C, const std::vector<std::string>& Args) {
  std::vector<std::string> Flags = C.Flags;
  if (!OwnsHelpOption(C)) Flags.push_back("--help");
  try {
    Arguments Parsed(Args, Flags, C.Valued);
    if (!OwnsHelpOption(C) && Parsed.Has("--help")) {
      PrintCommandUsage(std::cout, C);
      return 0;
    }
    return C.Run(Parsed);
  } catch (const UsageError& Error) {
    std::cerr << "gaugery " << C.Name << ": " << Error.what() << "\n";
    PrintCommandUsage(std::cerr, C);
    return 2;
  }
}

// `gaugery help [COMMAND]`: the program's usage, or that of one command.
int PrintHelp(const std::vector<Command>& Commands, const std::vector<std::string>& Args,
              std::size_t At) {
  if (At == Args.size()) {
    PrintProgramUsage(std::cout, Commands);
    return 0;
  }
  const Command* C = FindCommand(Commands, Args[At]);
  if (C == nullptr) {
    std::cerr << "gaugery: unknown command \"" << Args[At] << "\"\n";
    return 2;
  }
  PrintCommandUsage(std::cout, *C);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  const std::vector<Command> Commands = AllCommands();
  const std::vector<std::string> Args = gaugery::ProgramArguments(argc, argv);
  std::vector<std::string> ReplayFiles;
  std::size_t Next = 0;
  try {
    for (; Next < Args.size() && Args[Next].rfind("--", 0) == 0; ++Next) {
      if (Args[Next] == "--help") {
        PrintProgramUsage(std::cout, Commands);
        return 0;
      }
      if (Args[Next] != "--replay" || Next + 1 == Args.size())
        throw UsageError(Args[Next] == "--replay" ? "option --replay needs a file"
                                                  : "unknown option " + Args[Next]);
      ReplayFiles.push_back(Args[++Next]);
    }
    if (Next == Args.size()) throw UsageError("no command given");
  } catch (const UsageError& Error) {
    std::cerr << "gaugery: " << Error.what() << "\n";
    PrintProgramUsage(std::cerr, Commands);
    return 2;
  }
  if (Args[Next] == "help") return PrintHelp(Commands, Args, Next + 1);
  const Command* C = FindCommand(Commands, Args[Next]);
  if (C == nullptr) {
    std::cerr << "gaugery: unknown command \"" << Args[Next] << "\"\n";
    PrintProgramUsage(std::cerr, Commands);
    return 2;
  }
  try {
    if (!ReplayFiles.empty()) UseReplay(ReplayFiles);
    return RunCommand(*C, std::vector<std::string>(Args.begin() + Next + 1, Args.end()));
  } catch (const std::exception& Error) {
    std::cerr << Error.what() << "\n";
    return 1;
  }
}
