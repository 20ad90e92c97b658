// Name tables served by the virtual registry's Perflib key during the name tests, and
// list helpers for the expectations.
#pragma once

#include <string>
#include <vector>

#include "framework/TStringList.h"
#include "registry/PerfProviders.h"

namespace gaugery::testing {

// Installs one names-only provider carrying the given tables.
void InstallNameTables(std::vector<TPerfLocaleNames> Tables);

// The tables most tests use: "009", "007", "00A" and "00É". The "009" counter names hold
// a title listed under two indexes, an index listed twice, a blank text and non-ASCII
// text.
std::vector<TPerfLocaleNames> StandardNameTables();

// The lines of a list, for comparing whole lists in expectations.
inline std::vector<std::string> LinesOf(const TStringList& List) {
  std::vector<std::string> Lines;
  for (int I = 0; I < List.Count(); ++I) Lines.push_back(List.Strings(I));
  return Lines;
}

}  // namespace gaugery::testing
