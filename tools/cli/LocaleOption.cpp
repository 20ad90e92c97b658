#include "LocaleOption.h"

#include "PerfTitles.h"
#include "framework/Exceptions.h"

namespace gaugery::cli {

namespace {

std::string InstalledList(const TStringList& Installed) {
  std::string List;
  for (int I = 0; I < Installed.Count(); ++I) List += (I > 0 ? ", " : "") + Installed.Strings(I);
  return List;
}

}  // namespace

std::string ChosenLocale(const Arguments& Args) {
  const TStringList& Installed = *Locales();
  if (Installed.Count() == 0) throw Exception("No locale is installed");
  if (!Args.Has("--locale")) return Installed.Strings(0);
  const std::string Wanted = Args.Value("--locale");
  const int Found = Installed.IndexOf(Wanted);
  if (Found < 0)
    throw Exception("Locale \"" + Wanted +
                    "\" is not installed (installed: " + InstalledList(Installed) + ")");
  return Installed.Strings(Found);
}

}  // namespace gaugery::cli
