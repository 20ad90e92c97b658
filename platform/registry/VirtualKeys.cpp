#include "registry/VirtualKeys.h"

#include <iterator>

#include "registry/Registry.h"

namespace gaugery {

namespace {

// The single subkey of each key above Perflib; Perflib itself is at kPerflibDepth.
constexpr WideView kPathToPerflib[] = {GAUGERY_WTEXT("SOFTWARE"), GAUGERY_WTEXT("Microsoft"),
                                       GAUGERY_WTEXT("Windows NT"), GAUGERY_WTEXT("CurrentVersion"),
                                       GAUGERY_WTEXT("Perflib")};
constexpr int kPerflibDepth = static_cast<int>(std::size(kPathToPerflib));
constexpr int kLocaleDepth = kPerflibDepth + 1;

bool IsPerflib(const TVirtualKey& Key) {
  return !Key.PerformanceData && Key.Depth == kPerflibDepth;
}

bool IsAbovePerflib(const TVirtualKey& Key) {
  return !Key.PerformanceData && Key.Depth < kPerflibDepth;
}

TVirtualValue DwordValue(WideView Name, const DWORD& Number) {
  return {Name, REG_DWORD, reinterpret_cast<const BYTE*>(&Number), sizeof(DWORD)};
}

TVirtualValue MultiStringValue(WideView Name, const WideString& Text) {
  return {Name, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(Text.data()),
          static_cast<DWORD>(Text.size() * sizeof(WCHAR))};
}

}  // namespace

std::optional<TVirtualKey> TVirtualKeyTree::Open(const TVirtualKey& Key, WideView Path) const {
  if (!Path.empty() && Path.back() == u'\\') Path.remove_suffix(1);
  std::optional<TVirtualKey> Current = Key;
  while (Current && !Path.empty()) {
    std::size_t End = Path.find(u'\\');
    Current = Child(*Current, Path.substr(0, End));
    Path = End == WideView::npos ? WideView() : Path.substr(End + 1);
    if (End != WideView::npos && Path.empty()) return std::nullopt;  // "A\\" within a path
  }
  return Current;
}

DWORD TVirtualKeyTree::SubKeyCount(const TVirtualKey& Key) const {
  if (IsAbovePerflib(Key)) return 1;
  if (IsPerflib(Key)) return static_cast<DWORD>(Names_.Locales.size());
  return 0;
}

WideView TVirtualKeyTree::SubKeyName(const TVirtualKey& Key, DWORD Index) const {
  if (IsAbovePerflib(Key)) return kPathToPerflib[Key.Depth];
  return Names_.Locales[Index].Name;
}

DWORD TVirtualKeyTree::ValueCount(const TVirtualKey& Key) const {
  return IsPerflib(Key) || LocaleOf(Key) ? 2 : 0;
}

TVirtualValue TVirtualKeyTree::Value(const TVirtualKey& Key, DWORD Index) const {
  if (IsPerflib(Key)) {
    return Index == 0 ? DwordValue(GAUGERY_WTEXT("Last Counter"), Names_.LastCounter)
                      : DwordValue(GAUGERY_WTEXT("Last Help"), Names_.LastHelp);
  }
  const TPerflibLocale& Locale = *LocaleOf(Key);
  return Index == 0 ? MultiStringValue(GAUGERY_WTEXT("Counter"), Locale.Counter)
                    : MultiStringValue(GAUGERY_WTEXT("Help"), Locale.Help);
}

std::optional<TVirtualValue> TVirtualKeyTree::FindValue(const TVirtualKey& Key,
                                                        WideView Name) const {
  for (DWORD Index = 0; Index < ValueCount(Key); ++Index) {
    TVirtualValue Candidate = Value(Key, Index);
    if (SameAsciiText(Candidate.Name, Name)) return Candidate;
  }
  return std::nullopt;
}

std::optional<TVirtualKey> TVirtualKeyTree::Child(const TVirtualKey& Key, WideView Name) const {
  for (DWORD Index = 0; Index < SubKeyCount(Key); ++Index) {
    WideView Candidate = SubKeyName(Key, Index);
    if (SameAsciiText(Candidate, Name)) {
      return TVirtualKey{false, Key.Depth + 1,
                         IsPerflib(Key) ? WideString(Candidate) : WideString()};
    }
  }
  return std::nullopt;
}

const TPerflibLocale* TVirtualKeyTree::LocaleOf(const TVirtualKey& Key) const {
  if (Key.PerformanceData || Key.Depth != kLocaleDepth) return nullptr;
  for (const TPerflibLocale& Locale : Names_.Locales) {
    if (SameAsciiText(Locale.Name, Key.Locale)) return &Locale;
  }
  return nullptr;
}

}  // namespace gaugery
