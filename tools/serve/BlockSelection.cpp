#include "BlockSelection.h"

#include <algorithm>
#include <cstring>

#include "WinGaugery.h"
#include "framework/Unicode.h"
#include "registry/PerfValueName.h"

namespace gaugery::cli {

namespace {

constexpr std::size_t Alignment = 8;

bool IsAsked(TPerfValueKind Kind, const WideString& ValueName, DWORD Index) {
  if (Kind == TPerfValueKind::Global) return true;
  return Kind == TPerfValueKind::IndexList && PerfIndexListContains(ValueName.c_str(), Index);
}

// The walkers take writable pointers but only read.
PPERF_DATA_BLOCK HeaderOf(std::string_view Block) {
  return reinterpret_cast<PPERF_DATA_BLOCK>(const_cast<char*>(Block.data()));
}

// Calls Visit with every object of a checked block, in block order.
template <typename TVisit>
void ForEachObject(std::string_view Block, TVisit Visit) {
  if (Block.empty()) return;
  const PPERF_DATA_BLOCK Header = HeaderOf(Block);
  PPERF_OBJECT_TYPE Object = FirstObject(Header);
  for (DWORD Position = 0; Position < Header->NumObjectTypes; ++Position) {
    Visit(Object);
    Object = NextObject(Object);
  }
}

}  // namespace

std::string SelectedObjects(std::string_view Global, const std::string& ValueName,
                            std::string_view Extra) {
  const WideString Name = ToWide(ValueName);
  const TPerfValueKind Kind = ClassifyPerfValueName(Name.c_str());
  std::string Selected(Global.substr(0, HeaderOf(Global)->HeaderLength));
  const std::vector<DWORD> InGlobal = BlockObjectIndexes(Global);
  DWORD Count = 0;
  auto Take = [&](PPERF_OBJECT_TYPE Object) {
    Selected.append(reinterpret_cast<const char*>(Object), Object->TotalByteLength);
    ++Count;
  };
  ForEachObject(Global, [&](PPERF_OBJECT_TYPE Object) {
    if (IsAsked(Kind, Name, Object->ObjectNameTitleIndex)) Take(Object);
  });
  ForEachObject(Extra, [&](PPERF_OBJECT_TYPE Object) {
    const DWORD Index = Object->ObjectNameTitleIndex;
    const bool Taken = std::find(InGlobal.begin(), InGlobal.end(), Index) != InGlobal.end();
    if (!Taken && IsAsked(Kind, Name, Index)) Take(Object);
  });
  Selected.resize((Selected.size() + Alignment - 1) / Alignment * Alignment, '\0');
  auto* Result = reinterpret_cast<PPERF_DATA_BLOCK>(Selected.data());
  Result->NumObjectTypes = Count;
  Result->TotalByteLength = static_cast<DWORD>(Selected.size());
  return Selected;
}

std::vector<DWORD> BlockObjectIndexes(std::string_view Block) {
  std::vector<DWORD> Indexes;
  ForEachObject(Block,
                [&](PPERF_OBJECT_TYPE Object) { Indexes.push_back(Object->ObjectNameTitleIndex); });
  return Indexes;
}

std::set<DWORD> BlockTitleIndexes(std::string_view Block) {
  std::set<DWORD> Indexes;
  ForEachObject(Block, [&](PPERF_OBJECT_TYPE Object) {
    Indexes.insert(Object->ObjectNameTitleIndex);
    PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
    for (DWORD Position = 0; Position < Object->NumCounters; ++Position) {
      Indexes.insert(Counter->CounterNameTitleIndex);
      Counter = NextCounter(Counter);
    }
  });
  return Indexes;
}

}  // namespace gaugery::cli
