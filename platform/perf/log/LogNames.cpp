#include "perf/log/LogNames.h"

#include <cstddef>
#include <optional>
#include <string>

#include "framework/Unicode.h"

namespace gaugery::counterlog {

namespace {

std::optional<DWORD> DecimalIndex(const std::string& Text) {
  if (Text.empty() || Text.size() > 9) return std::nullopt;
  DWORD Index = 0;
  for (char Digit : Text) {
    if (Digit < '0' || Digit > '9') return std::nullopt;
    Index = Index * 10 + static_cast<DWORD>(Digit - '0');
  }
  return Index;
}

std::vector<TPerfNameEntry> Entries(const WideString& MultiString) {
  std::vector<std::string> Strings;
  for (std::size_t At = 0; At < MultiString.size();) {
    const std::size_t End = MultiString.find(WCHAR{0}, At);
    if (End == At || End == WideString::npos) break;
    Strings.push_back(ToUtf8(MultiString.substr(At, End - At)));
    At = End + 1;
  }
  std::vector<TPerfNameEntry> Result;
  for (std::size_t Pair = 0; Pair + 1 < Strings.size(); Pair += 2) {
    const std::optional<DWORD> Index = DecimalIndex(Strings[Pair]);
    if (Index && *Index != 1) Result.push_back({*Index, Strings[Pair + 1]});
  }
  return Result;
}

}  // namespace

std::vector<TPerfLocaleNames> ProviderNames(const TLogNames& Names) {
  std::vector<TPerfLocaleNames> Tables;
  for (const TLogLocaleNames& Locale : Names) {
    Tables.push_back({Locale.Locale, Entries(Locale.Counter), Entries(Locale.Help)});
  }
  return Tables;
}

}  // namespace gaugery::counterlog
