#include "perf/ObjectNames.h"

#include <span>

#include "perf/EnglishNames.h"
#include "perf/GermanNames.h"

namespace gaugery {

namespace {

TPerfLocaleNames LocaleNames(const char* Locale, std::span<const TNameText> Texts) {
  TPerfLocaleNames Names{Locale, {}, {}};
  for (const TNameText& Text : Texts) {
    Names.Counter.push_back({Text.Index, Text.Title});
    Names.Help.push_back({Text.Index + 1, Text.Help});
  }
  return Names;
}

}  // namespace

std::vector<TPerfLocaleNames> ObjectNames() {
  return {LocaleNames("009", EnglishNames()), LocaleNames("007", GermanNames())};
}

}  // namespace gaugery
