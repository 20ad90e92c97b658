// gaugery counters: the counter definitions of one performance object.
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfCounters.h"
#include "framework/TextFunctions.h"

namespace gaugery::cli {

namespace {

int Run(const Arguments& Args) {
  ExpectLocalComputer("counters");
  const std::string Object = ObjectOperand(Args);
  const std::string Locale = ChosenLocale(Args);
  TPerfCounters Counters(nullptr);
  TPerfHelps Helps(nullptr);
  Counters.SetLocaleID(Locale);
  Helps.SetLocaleID(Locale);
  Counters.SetObjectName(Object);
  const bool WithHelp = Args.Has("--help");
  if (WithHelp) Counters.SetHelps(&Helps);
  nlohmann::ordered_json Json = nlohmann::ordered_json::array();
  const std::int32_t Count = Counters.CounterCount();
  for (std::int32_t Position = 0; Position < Count; ++Position) {
    const PPERF_COUNTER_DEFINITION Counter = Counters.CounterData(Position);
    const std::string Title = Counters.CounterTitle(Position);
    const std::string Help = WithHelp ? Counters.CounterHelp(Position) : "";
    if (Args.Has("--json")) {
      Json.push_back({{"position", Position},
                      {"index", Counter->CounterNameTitleIndex},
                      {"title", Title},
                      {"type", Counter->CounterType}});
      if (WithHelp) Json.back()["help"] = Help;
      continue;
    }
    std::cout << Position << "  0x" << IntToHex(Counter->CounterType, 8) << "  " << Title << "\n";
    if (WithHelp) std::cout << "    " << Help << "\n";
  }
  if (Args.Has("--json")) PrintJson(Json);
  return 0;
}

}  // namespace

Command CountersCommand() {
  return {"counters",
          "counters [--locale ID] [--help] [--json] OBJECT",
          "Lists the counters of the object titled OBJECT in definition order, base counters "
          "included: position, type word and title.",
          std::string(LocaleOptionDetails) +
              "  --help       the help text of each counter as well\n"
              "  --json       one JSON array instead of text\n",
          {"--help", "--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
