// The contents of the Perflib key, made from the name tables of the providers in
// service: one locale key per locale with its "Counter" and "Help" multi-strings, and
// the "Last Counter" and "Last Help" numbers of the key itself.
#pragma once

#include <cstdint>
#include <vector>

#include "registry/PerfProviders.h"

namespace gaugery {

struct TPerflibLocale {
  WideString Name;
  // Multi-strings exactly as the registry value holds them: pairs of decimal index and
  // text, each string with its NUL, the whole ended by an extra NUL.
  WideString Counter;
  WideString Help;
};

struct TPerflibNames {
  // "009" first, then the other locales in order of first appearance.
  std::vector<TPerflibLocale> Locales;
  DWORD LastCounter = 1;
  DWORD LastHelp = 0;
  // When these names were made, as a file time.
  std::int64_t WriteTime = 0;
};

// Merges the providers' entries per locale in ascending index order; equal indexes keep
// provider order, then table order. "Counter" starts with the pair "1" and the
// locale's last counter index, as Windows lays it out. Locale names that are empty or
// hold a "\" cannot be key names and are left out.
TPerflibNames BuildPerflibNames(const std::vector<TPerfProvider>& Providers);

}  // namespace gaugery
