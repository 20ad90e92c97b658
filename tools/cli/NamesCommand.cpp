// gaugery names: the title or help table of one locale, as the registry lists it.
#include <charconv>
#include <cstdint>
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfTitles.h"

namespace gaugery::cli {

namespace {

// A loaded line "<index>=<text>" as JSON; the index is plain decimal of 32 bits.
nlohmann::ordered_json LineJson(const TStringList& Lines, int Position) {
  const std::string Index = Lines.Names(Position);
  std::uint32_t Number = 0;
  std::from_chars(Index.data(), Index.data() + Index.size(), Number);
  return {{"index", Number}, {"text", Lines.ValueFromIndex(Position)}};
}

int Run(const Arguments& Args) {
  ExpectNoOperands(Args);
  TStringList Lines;
  GetPerfInfoStrings(ChosenLocale(Args), Args.Has("--help-texts") ? "Help" : "Counter", &Lines,
                     ChosenComputer());
  if (!Args.Has("--json")) {
    std::cout << Lines.Text();
    return 0;
  }
  nlohmann::ordered_json Json = nlohmann::ordered_json::array();
  for (int Position = 0; Position < Lines.Count(); ++Position)
    Json.push_back(LineJson(Lines, Position));
  PrintJson(Json);
  return 0;
}

}  // namespace

Command NamesCommand() {
  return {"names",
          "names [--locale ID] [--help-texts] [--json]",
          "Prints the object and counter names of a locale as index=text lines, in "
          "registry order.",
          std::string(LocaleOptionDetails) +
              "  --help-texts  the help texts instead of the names\n"
              "  --json        one JSON array of {\"index\", \"text\"} instead of text\n",
          {"--help-texts", "--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
