#include "registry/PerfValueName.h"

#include <cstdint>

#include "registry/WideText.h"

namespace gaugery {

namespace {

bool IsDigit(WCHAR Char) { return Char >= u'0' && Char <= u'9'; }

}  // namespace

TPerfValueKind ClassifyPerfValueName(LPCWSTR ValueName) {
  WideView Name = ViewOf(ValueName);
  if (SameAsciiText(Name, GAUGERY_WTEXT("Global"))) return TPerfValueKind::Global;
  bool HasDigit = false;
  for (WCHAR Char : Name) {
    if (IsDigit(Char)) {
      HasDigit = true;
    } else if (Char != u' ') {
      return TPerfValueKind::Other;
    }
  }
  return HasDigit ? TPerfValueKind::IndexList : TPerfValueKind::Other;
}

namespace {

// Calls Visit with each number of the list in turn until it answers true; true then.
template <typename TVisit>
bool AnyListedIndex(LPCWSTR List, TVisit Visit) {
  WideView Text = ViewOf(List);
  std::size_t Pos = 0;
  while (Pos < Text.size()) {
    if (!IsDigit(Text[Pos])) {
      ++Pos;
      continue;
    }
    // Digits beyond 32 bits saturate above every index, so such a number matches none.
    std::uint64_t Value = 0;
    for (; Pos < Text.size() && IsDigit(Text[Pos]); ++Pos) {
      if (Value <= UINT32_MAX) Value = Value * 10 + static_cast<unsigned>(Text[Pos] - u'0');
    }
    if (Value <= UINT32_MAX && Visit(static_cast<DWORD>(Value))) return true;
  }
  return false;
}

}  // namespace

bool PerfIndexListContains(LPCWSTR List, DWORD Index) {
  return AnyListedIndex(List, [Index](DWORD Listed) { return Listed == Index; });
}

std::vector<DWORD> PerfIndexListIndexes(LPCWSTR List) {
  std::vector<DWORD> Indexes;
  AnyListedIndex(List, [&Indexes](DWORD Listed) {
    Indexes.push_back(Listed);
    return false;
  });
  return Indexes;
}

}  // namespace gaugery
