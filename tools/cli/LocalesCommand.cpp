// gaugery locales: the locales whose name tables this computer stores.
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "PerfTitles.h"

namespace gaugery::cli {

namespace {

int Run(const Arguments& Args) {
  ExpectNoOperands(Args);
  ExpectLocalComputer("locales");
  const TStringList& Installed = *Locales();
  for (int I = 0; I < Installed.Count(); ++I) std::cout << Installed.Strings(I) << "\n";
  return 0;
}

}  // namespace

Command LocalesCommand() {
  return {"locales",
          "locales",
          "Lists the installed locales of the name tables, one a line, the default first.",
          "",
          {},
          {},
          Run};
}

}  // namespace gaugery::cli
