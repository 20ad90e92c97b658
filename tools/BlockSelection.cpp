#include "BlockSelection.h"

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

}  // namespace

std::string SelectedObjects(std::string_view Global, const std::string& ValueName) {
  // The walkers take writable pointers but only read.
  auto* Header = reinterpret_cast<PPERF_DATA_BLOCK>(const_cast<char*>(Global.data()));
  const WideString Name = ToWide(ValueName);
  const TPerfValueKind Kind = ClassifyPerfValueName(Name.c_str());
  std::string Selected(Global.substr(0, Header->HeaderLength));
  DWORD Count = 0;
  PPERF_OBJECT_TYPE Object = FirstObject(Header);
  for (DWORD Position = 0; Position < Header->NumObjectTypes; ++Position, Object = NextObject(Object)) {
    if (!IsAsked(Kind, Name, Object->ObjectNameTitleIndex)) continue;
    Selected.append(reinterpret_cast<const char*>(Object), Object->TotalByteLength);
    ++Count;
  }
  Selected.resize((Selected.size() + Alignment - 1) / Alignment * Alignment, '\0');
  auto* Result = reinterpret_cast<PPERF_DATA_BLOCK>(Selected.data());
  Result->NumObjectTypes = Count;
  Result->TotalByteLength = static_cast<DWORD>(Selected.size());
  return Selected;
}

}  // namespace gaugery::cli
