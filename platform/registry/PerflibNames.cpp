#include "registry/PerflibNames.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "framework/Unicode.h"
#include "framework/WinTime.h"
#include "registry/WideText.h"

namespace gaugery {

namespace {

using TEntryList = std::vector<const TPerfNameEntry*>;

bool IsKeyName(const WideString& Name) {
  return !Name.empty() && Name.find(u'\\') == WideString::npos;
}

// "009" first, then every other locale of the tables in order of first appearance.
std::vector<WideString> LocaleOrder(const std::vector<TPerfProvider>& Providers) {
  std::vector<WideString> Order{GAUGERY_WTEXT("009")};
  for (const TPerfProvider& Provider : Providers) {
    for (const TPerfLocaleNames& Table : Provider.Names) {
      WideString Name = ToWide(Table.Locale);
      bool Known = std::any_of(Order.begin(), Order.end(),
                               [&](const WideString& Seen) { return SameAsciiText(Seen, Name); });
      if (!Known && IsKeyName(Name)) Order.push_back(std::move(Name));
    }
  }
  return Order;
}

// The entries of one locale, Help or Counter, sorted by index with ties kept in
// provider order and then table order.
TEntryList MergedEntries(const std::vector<TPerfProvider>& Providers, const WideString& Locale,
                         bool Help) {
  TEntryList Entries;
  for (const TPerfProvider& Provider : Providers) {
    for (const TPerfLocaleNames& Table : Provider.Names) {
      if (!SameAsciiText(ToWide(Table.Locale), Locale)) continue;
      for (const TPerfNameEntry& Entry : Help ? Table.Help : Table.Counter) {
        Entries.push_back(&Entry);
      }
    }
  }
  std::stable_sort(Entries.begin(), Entries.end(),
                   [](const TPerfNameEntry* A, const TPerfNameEntry* B) {
                     return A->Index < B->Index;
                   });
  return Entries;
}

DWORD LargestIndex(const TEntryList& Entries, DWORD AtLeast) {
  return Entries.empty() ? AtLeast : std::max(AtLeast, Entries.back()->Index);
}

void AppendString(WideString& MultiString, std::string_view Text) {
  // A NUL inside a text would split it into two strings and shift every pair after it.
  AppendWide(MultiString, Text.substr(0, Text.find('\0')));
  MultiString.push_back(u'\0');
}

void AppendPair(WideString& MultiString, DWORD Index, std::string_view Text) {
  AppendString(MultiString, std::to_string(Index));
  AppendString(MultiString, Text);
}

// The texts are converted straight into the one string, sized for them first: a one-shot
// command builds every locale's tables for a single read.
WideString MultiString(const TEntryList& Entries) {
  // An index takes at most 10 digits; with the two NULs, 12 units besides the text.
  std::size_t Units = 1;
  for (const TPerfNameEntry* Entry : Entries) Units += Entry->Text.size() + 12;
  WideString Result;
  Result.reserve(Units);
  for (const TPerfNameEntry* Entry : Entries) AppendPair(Result, Entry->Index, Entry->Text);
  Result.push_back(u'\0');
  return Result;
}

}  // namespace

TPerflibNames BuildPerflibNames(const std::vector<TPerfProvider>& Providers) {
  TPerflibNames Names;
  for (WideString& Locale : LocaleOrder(Providers)) {
    TEntryList Counter = MergedEntries(Providers, Locale, false);
    TEntryList Help = MergedEntries(Providers, Locale, true);
    DWORD LastCounter = LargestIndex(Counter, 1);
    Names.LastCounter = std::max(Names.LastCounter, LastCounter);
    Names.LastHelp = std::max(Names.LastHelp, LargestIndex(Help, 0));

    TPerflibLocale Key{std::move(Locale), {}, MultiString(Help)};
    AppendPair(Key.Counter, 1, std::to_string(LastCounter));
    Key.Counter += MultiString(Counter);
    Names.Locales.push_back(std::move(Key));
  }
  Names.WriteTime = NowAsFileTime();
  return Names;
}

}  // namespace gaugery
