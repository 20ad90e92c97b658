// The names `gaugery serve` hands out, read once at start through the registry calls:
// what /perflib answers (the locale list and each locale's "Counter" and "Help" exactly
// as the registry holds them) and the English help texts of the metrics.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "MetricExposition.h"

namespace gaugery::cli {

struct TServedLocale {
  std::string Name;
  // The multi-strings as the registry value holds them: UTF-16LE bytes.
  std::string Counter;
  std::string Help;
};

struct TServedPerflib {
  std::vector<TServedLocale> Locales;

  // One locale name a line, in the registry's order.
  std::string LocaleList() const;
  // The locale of that name (ASCII letter case ignored), or null.
  const TServedLocale* Find(std::string_view Name) const;
};

// The installed locales with their values.
TServedPerflib ReadServedPerflib();

// The help texts of locale "009" by index.
exposition::THelpTexts EnglishHelpTexts();

}  // namespace gaugery::cli
