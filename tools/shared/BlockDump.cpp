#include "BlockDump.h"

#include <cstdio>
#include <cstring>

#include "PerfData.h"
#include "PerfTitles.h"
#include "WinGaugery.h"
#include "framework/TextFunctions.h"

namespace gaugery {

namespace {

RawValue ReadValue(PPERF_COUNTER_BLOCK Block, const CounterDump& Counter) {
  const void* At = OffsetPointer(Block, Counter.Offset);
  if (Counter.Size == 4) {
    std::uint32_t Value;
    std::memcpy(&Value, At, sizeof Value);
    return Value;
  }
  if (Counter.Size == 8) {
    std::int64_t Value;
    std::memcpy(&Value, At, sizeof Value);
    return Value;
  }
  return std::nullopt;
}

std::vector<RawValue> ReadValues(PPERF_COUNTER_BLOCK Block,
                                 const std::vector<CounterDump>& Counters) {
  std::vector<RawValue> Values;
  Values.reserve(Counters.size());
  for (const CounterDump& Counter : Counters) Values.push_back(ReadValue(Block, Counter));
  return Values;
}

std::string TitleOf(TPerfTitles& Titles, DWORD Index) { return Titles.TitleByIdx(IntToStr(Index)); }

std::vector<CounterDump> DumpCounters(PPERF_OBJECT_TYPE Object, TPerfTitles& Titles) {
  std::vector<CounterDump> Counters;
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
  for (DWORD i = 0; i < Object->NumCounters; ++i, Counter = NextCounter(Counter)) {
    Counters.push_back({Counter->CounterNameTitleIndex,
                        TitleOf(Titles, Counter->CounterNameTitleIndex),
                        Counter->CounterHelpTitleIndex, Counter->CounterType, Counter->CounterSize,
                        Counter->CounterOffset});
  }
  return Counters;
}

ObjectDump DumpObject(PPERF_OBJECT_TYPE Object, TPerfTitles& Titles) {
  ObjectDump Dump{Object->ObjectNameTitleIndex,
                  TitleOf(Titles, Object->ObjectNameTitleIndex),
                  Object->ObjectHelpTitleIndex,
                  Object->NumInstances,
                  Object->PerfTime,
                  Object->PerfFreq,
                  DumpCounters(Object, Titles),
                  {},
                  {}};
  if (Object->NumInstances == PERF_NO_INSTANCES) {
    Dump.Values = ReadValues(ObjectBlock(Object), Dump.Counters);
    return Dump;
  }
  PPERF_INSTANCE_DEFINITION Instance = FirstInstance(Object);
  for (LONG i = 0; i < Object->NumInstances; ++i, Instance = NextInstance(Instance)) {
    Dump.Instances.push_back({PerfInstName(Instance), Instance->UniqueID,
                              ReadValues(InstanceBlock(Instance), Dump.Counters)});
  }
  return Dump;
}

}  // namespace

BlockDump DumpBlock(TPerfData& Data, TPerfTitles& Titles) {
  return DumpBlock(*Data.PerfData(), Titles);
}

BlockDump DumpBlock(const TPERF_DATA_BLOCK& Block, TPerfTitles& Titles) {
  BlockDump Dump{WideTextAt(reinterpret_cast<const char*>(&Block) + Block.SystemNameOffset),
                 Block.SystemTime,
                 Block.PerfTime,
                 Block.PerfFreq,
                 Block.PerfTime100nSec,
                 {}};
  // The walkers take a writable block; nothing here writes through them.
  PPERF_DATA_BLOCK Walked = const_cast<PPERF_DATA_BLOCK>(&Block);
  PPERF_OBJECT_TYPE Object = FirstObject(Walked);
  for (DWORD i = 0; i < Block.NumObjectTypes; ++i, Object = NextObject(Object))
    Dump.Objects.push_back(DumpObject(Object, Titles));
  return Dump;
}

std::string IsoTime(const SYSTEMTIME& Time) {
  char Text[48];
  std::snprintf(Text, sizeof Text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", Time.wYear, Time.wMonth,
                Time.wDay, Time.wHour, Time.wMinute, Time.wSecond, Time.wMilliseconds);
  return Text;
}

}  // namespace gaugery
