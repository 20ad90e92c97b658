// gaugery counters: the counter definitions of one performance object.
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfCounters.h"
#include "Replay.h"
#include "SampleCheck.h"
#include "Terminal.h"
#include "TextTable.h"
#include "framework/TextFunctions.h"

namespace gaugery::cli {

namespace {

int Run(const Arguments& Args) {
  ExpectLocalComputer("counters");
  const std::string Object = ObjectOperand(Args);
  const std::string Locale = ChosenLocale(Args);
  HoldOneSample(ObjectsValueName({Object}, Locale));
  const TSharedSample Sample("");
  TPerfCounters Counters(nullptr);
  TPerfHelps Helps(nullptr);
  Counters.SetLocaleID(Locale);
  Helps.SetLocaleID(Locale);
  WithNameHint(Args, "", [&] { Counters.SetObjectName(Object); });
  const bool WithHelp = Args.Has("--help-texts");
  if (WithHelp) Counters.SetHelps(&Helps);
  nlohmann::ordered_json Json = nlohmann::ordered_json::array();
  TTextTable Table({{"position", TTextTable::TAlign::Right}, {"type"}, {"title"}}, "  ");
  const std::int32_t Count = Counters.CounterCount();
  for (std::int32_t Position = 0; Position < Count; ++Position) {
    const PPERF_COUNTER_DEFINITION Counter = Counters.CounterData(Position);
    const DWORD Index = Counter->CounterNameTitleIndex;
    const std::string Title = Counters.CounterTitle(Position);
    const std::string Help = WithHelp ? Counters.CounterHelp(Position) : "";
    if (Args.Has("--json")) {
      Json.push_back({{"position", Position},
                      {"index", Index},
                      {"title", TitleJson(Title)},
                      {"type", Counter->CounterType}});
      if (WithHelp) Json.back()["help"] = Help;
      continue;
    }
    Table.Add({std::to_string(Position), "0x" + IntToHex(Counter->CounterType, 8),
               ShownTitle(Title, Index)},
              Help);
  }
  if (Args.Has("--json")) {
    PrintJson(Json);
  } else {
    Table.Print(std::cout, OutputIsTerminal());
  }
  return 0;
}

}  // namespace

Command CountersCommand() {
  return {"counters",
          "counters [--locale ID] [--help-texts] [--json] OBJECT",
          "Lists the counters of the object titled OBJECT in definition order, base counters "
          "included: position, type word and title (\"(no title: index N)\" for one the name "
          "tables lack).",
          std::string(LocaleOptionDetails) +
              "  --help-texts  the help text of each counter as well\n"
              "  --json        one JSON array instead of text; the title of a counter without "
              "one is null\n",
          {"--help-texts", "--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
