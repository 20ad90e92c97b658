#include "ServedNames.h"

#include <charconv>

#include "PerfNameStrings.h"
#include "PerfTitles.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"

namespace gaugery::cli {

namespace {

// The code units of a value as little-endian bytes, the registry's own layout.
std::string BytesOf(const std::vector<WCHAR>& Units) {
  std::string Bytes;
  Bytes.reserve(Units.size() * 2);
  for (const WCHAR Unit : Units) {
    Bytes += static_cast<char>(Unit & 0xFF);
    Bytes += static_cast<char>((Unit >> 8) & 0xFF);
  }
  return Bytes;
}

TServedLocale ReadLocale(const std::string& Name) {
  TServedLocale Locale{Name, {}, {}};
  HKEY Key = nullptr;
  const WideString Path = ToWide(std::string(PerflibKeyPath) + "\\" + Name);
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path.c_str(), 0, KEY_READ, &Key) != ERROR_SUCCESS)
    return Locale;
  Locale.Counter = BytesOf(ReadValueCodeUnits(Key, "Counter"));
  Locale.Help = BytesOf(ReadValueCodeUnits(Key, "Help"));
  RegCloseKey(Key);
  return Locale;
}

}  // namespace

std::string TServedPerflib::LocaleList() const {
  std::string List;
  for (const TServedLocale& Locale : Locales) List += Locale.Name + "\n";
  return List;
}

const TServedLocale* TServedPerflib::Find(std::string_view Name) const {
  for (const TServedLocale& Locale : Locales) {
    if (SameText(Locale.Name, std::string(Name))) return &Locale;
  }
  return nullptr;
}

TServedPerflib ReadServedPerflib() {
  TServedPerflib Perflib;
  const TStringList& Installed = *Locales();
  for (int I = 0; I < Installed.Count(); ++I)
    Perflib.Locales.push_back(ReadLocale(Installed.Strings(I)));
  return Perflib;
}

exposition::THelpTexts EnglishHelpTexts() {
  TStringList Lines;
  GetPerfInfoStrings("009", "Help", &Lines, "");
  exposition::THelpTexts Helps;
  for (int I = 0; I < Lines.Count(); ++I) {
    const std::string Index = Lines.Names(I);  // plain decimal, as the loader writes it
    DWORD Number = 0;
    std::from_chars(Index.data(), Index.data() + Index.size(), Number);
    Helps.emplace(Number, Lines.ValueFromIndex(I));
  }
  return Helps;
}

}  // namespace gaugery::cli
