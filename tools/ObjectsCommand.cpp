// gaugery objects: the performance objects of one sample, with their titles.
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfObjects.h"

namespace gaugery::cli {

namespace {

int Run(const Arguments& Args) {
  ExpectNoOperands(Args);
  const std::string Locale = ChosenLocale(Args);
  TPerfObjects Objects(nullptr);
  TPerfHelps Helps(nullptr);
  Objects.SetLocaleID(Locale);
  Objects.SetComputerName(ChosenComputer());
  Helps.SetLocaleID(Locale);
  Helps.SetComputerName(ChosenComputer());
  const bool WithHelp = Args.Has("--help");
  if (WithHelp) Objects.SetHelps(&Helps);
  nlohmann::ordered_json Json = nlohmann::ordered_json::array();
  const std::int32_t Count = Objects.ObjectCount();
  for (std::int32_t Position = 0; Position < Count; ++Position) {
    const std::string Title = Objects.ObjectTitle(Position);
    const std::string Help = WithHelp ? Objects.ObjectHelp(Position) : "";
    if (Args.Has("--json")) {
      Json.push_back({{"position", Position},
                      {"index", Objects.ObjectData(Position)->ObjectNameTitleIndex},
                      {"title", Title}});
      if (WithHelp) Json.back()["help"] = Help;
      continue;
    }
    std::cout << Position << "  " << Title << "\n";
    if (WithHelp) std::cout << "    " << Help << "\n";
  }
  if (Args.Has("--json")) PrintJson(Json);
  return 0;
}

}  // namespace

Command ObjectsCommand() {
  return {"objects",
          "objects [--locale ID] [--help] [--json]",
          "Lists the performance objects of one sample in block order: position and title.",
          std::string(LocaleOptionDetails) +
              "  --help       the help text of each object as well\n"
              "  --json       one JSON array instead of text\n",
          {"--help", "--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
