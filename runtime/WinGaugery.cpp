#include "WinGaugery.h"

#include <cstring>

#include "PerfNameStrings.h"
#include "framework/Unicode.h"

namespace gaugery {

std::string PerfInstName(PPERF_INSTANCE_DEFINITION PerfInstance) {
  if (PerfInstance->NameLength == 0) return {};
  return WideTextAt(OffsetPointer(PerfInstance, PerfInstance->NameOffset));
}

std::string WideTextAt(const void* Text) {
  // Copied unit by unit: a WCHAR pointer to an odd address must not be dereferenced.
  const auto* Bytes = static_cast<const BYTE*>(Text);
  WideString Units;
  for (;; Bytes += sizeof(WCHAR)) {
    WCHAR Unit;
    std::memcpy(&Unit, Bytes, sizeof Unit);
    if (Unit == 0) break;
    Units.push_back(Unit);
  }
  return ToUtf8(Units);
}

void GetNameStrings(const std::string& Locale, bool Help, TStringList* Target,
                    const std::string& ComputerName) {
  LoadNameStrings(Locale, Help ? "Help" : "Counter", Target, ComputerName, TBlankTexts::Keep);
}

}  // namespace gaugery
