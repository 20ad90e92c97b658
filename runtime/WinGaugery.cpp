#include "WinGaugery.h"

#include <cstdint>
#include <cstring>

#include "PerfNameStrings.h"
#include "framework/Unicode.h"

namespace gaugery {

std::string PerfInstName(PPERF_INSTANCE_DEFINITION PerfInstance) {
  if (PerfInstance->NameLength == 0) return {};
  return WideTextAt(OffsetPointer(PerfInstance, PerfInstance->NameOffset));
}

std::string WideTextAt(const void* Text) {
  const auto* Bytes = static_cast<const BYTE*>(Text);
  if (reinterpret_cast<std::uintptr_t>(Bytes) % alignof(WCHAR) == 0) {
    return ToUtf8(static_cast<const WCHAR*>(Text));
  }
  // A WCHAR pointer to an odd address must not be dereferenced: the units are found
  // through copies, then copied to aligned storage in one piece.
  const auto UnitAt = [Bytes](std::size_t Index) {
    WCHAR Unit;
    std::memcpy(&Unit, Bytes + Index * sizeof(WCHAR), sizeof Unit);
    return Unit;
  };
  std::size_t Length = 0;
  while (UnitAt(Length) != 0) ++Length;
  WideString Units(Length, 0);
  std::memcpy(Units.data(), Bytes, Length * sizeof(WCHAR));
  return ToUtf8(Units);
}

void GetNameStrings(const std::string& Locale, bool Help, TStringList* Target,
                    const std::string& ComputerName) {
  LoadNameStrings(Locale, Help ? "Help" : "Counter", Target, ComputerName, TBlankTexts::Keep);
}

}  // namespace gaugery
