// gaugery objects: the performance objects of one sample, with their titles.
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfObjects.h"
#include "Replay.h"
#include "SampleCheck.h"
#include "Terminal.h"
#include "TextTable.h"

namespace gaugery::cli {

namespace {

int Run(const Arguments& Args) {
  ExpectNoOperands(Args);
  HoldOneSample("Global");
  const TSharedSample Sample("");
  const std::string Locale = ChosenLocale(Args);
  TPerfObjects Objects(nullptr);
  TPerfHelps Helps(nullptr);
  Objects.SetLocaleID(Locale);
  Objects.SetComputerName(ChosenComputer());
  Helps.SetLocaleID(Locale);
  Helps.SetComputerName(ChosenComputer());
  const bool WithHelp = Args.Has("--help-texts");
  if (WithHelp) Objects.SetHelps(&Helps);
  nlohmann::ordered_json Json = nlohmann::ordered_json::array();
  TTextTable Table({{"position", TTextTable::TAlign::Right}, {"title"}}, "  ");
  const std::int32_t Count = Objects.ObjectCount();
  for (std::int32_t Position = 0; Position < Count; ++Position) {
    const DWORD Index = Objects.ObjectData(Position)->ObjectNameTitleIndex;
    const std::string Title = Objects.ObjectTitle(Position);
    const std::string Help = WithHelp ? Objects.ObjectHelp(Position) : "";
    if (Args.Has("--json")) {
      Json.push_back({{"position", Position}, {"index", Index}, {"title", TitleJson(Title)}});
      if (WithHelp) Json.back()["help"] = Help;
      continue;
    }
    Table.Add({std::to_string(Position), ShownTitle(Title, Index)}, Help);
  }
  if (Args.Has("--json")) {
    PrintJson(Json);
  } else {
    Table.Print(std::cout, OutputIsTerminal());
  }
  return 0;
}

}  // namespace

Command ObjectsCommand() {
  return {"objects",
          "objects [--locale ID] [--help-texts] [--json]",
          "Lists the performance objects of one sample in block order: position and title "
          "(\"(no title: index N)\" for one the name tables lack).",
          std::string(LocaleOptionDetails) +
              "  --help-texts  the help text of each object as well\n"
              "  --json        one JSON array instead of text; the title of an object without "
              "one is null\n",
          {"--help-texts", "--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
