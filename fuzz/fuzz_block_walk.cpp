// What a component does with a block the check accepted, whole or cut to its sound
// objects as a snapshot keeps it: walk every object, counter definition and instance
// with the walkers, read every name and every counter value. The walk runs over a copy
// of exactly the block's TotalByteLength bytes, so that any read the check did not
// vouch for is caught.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "BlockInputs.h"
#include "registry/PerfBlockCheck.h"
#include "WinGaugery.h"

namespace {

using namespace gaugery;

// Sums what is read, so that no read can be left out by the optimiser.
volatile std::uint64_t Sink = 0;

void ReadText(const std::string& Text) { Sink = Sink + Text.size(); }

void ReadBytes(const void* Address, std::size_t Length) {
  const auto* Bytes = static_cast<const volatile BYTE*>(Address);
  std::uint64_t Sum = 0;
  for (std::size_t I = 0; I < Length; ++I) Sum += Bytes[I];
  Sink = Sink + Sum;
}

struct TValuePlace {
  DWORD Offset;
  DWORD Size;
};

void ReadCounterBlock(PPERF_COUNTER_BLOCK Block, const std::vector<TValuePlace>& Values) {
  ReadBytes(Block, sizeof *Block);
  for (const TValuePlace& Value : Values) {
    ReadBytes(OffsetPointer(Block, Value.Offset), Value.Size);
  }
}

void WalkObject(PPERF_OBJECT_TYPE Object) {
  ReadBytes(Object, sizeof *Object);
  std::vector<TValuePlace> Values;
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
  for (DWORD I = 0; I < Object->NumCounters; ++I, Counter = NextCounter(Counter)) {
    ReadBytes(Counter, sizeof *Counter);
    Values.push_back({Counter->CounterOffset, Counter->CounterSize});
  }
  if (PPERF_COUNTER_BLOCK Own = ObjectBlock(Object)) {
    ReadCounterBlock(Own, Values);
    return;
  }
  PPERF_INSTANCE_DEFINITION Instance = FirstInstance(Object);
  for (LONG I = 0; I < Object->NumInstances; ++I) {
    ReadBytes(Instance, sizeof *Instance);
    ReadText(PerfInstName(Instance));
    PPERF_COUNTER_BLOCK Block = InstanceBlock(Instance);
    ReadCounterBlock(Block, Values);
    Instance = NextBlockInstance(Block);
  }
}

void WalkBlock(PPERF_DATA_BLOCK Block) {
  ReadBytes(Block, sizeof *Block);
  ReadText(WideTextAt(OffsetPointer(Block, Block->SystemNameOffset)));
  PPERF_OBJECT_TYPE Object = FirstObject(Block);
  for (DWORD I = 0; I < Block->NumObjectTypes; ++I, Object = NextObject(Object)) {
    WalkObject(Object);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  for (const std::vector<BYTE>& Returned : fuzz::BlocksOfInput(Data, Size)) {
    const TBlockCheck Check = CheckBlock(Returned.data(), static_cast<DWORD>(Returned.size()));
    if (!Check.HeaderSound) continue;
    const auto* Header = reinterpret_cast<const TPERF_DATA_BLOCK*>(Returned.data());
    std::vector<BYTE> Block(Returned.begin(), Returned.begin() + Header->TotalByteLength);
    auto* Kept = reinterpret_cast<PPERF_DATA_BLOCK>(Block.data());
    Kept->NumObjectTypes = Check.SoundObjects;
    WalkBlock(Kept);
  }
  return 0;
}
