// The four objects of the /proc provider: their title indexes, their counters, and
// how each counter's value is taken from a sample.
#pragma once

#include <cstdint>

#include "perf/PerfBlockWriter.h"
#include "perf/ProcClock.h"
#include "perf/ProcProcesses.h"
#include "perf/ProcSystem.h"

namespace gaugery {

constexpr DWORD SystemObjectIndex = 2;
constexpr DWORD MemoryObjectIndex = 4;
constexpr DWORD ProcessObjectIndex = 230;
constexpr DWORD ProcessorObjectIndex = 238;

struct TSystemSample {
  std::uint64_t Processes = 0;
  std::uint64_t Threads = 0;
  std::uint64_t RunningThreads = 0;
  std::uint64_t ContextSwitches = 0;
  std::int64_t BootTime = 0;  // file time
};

// One instance per process that can be read, in the order of Processes.Pids(), then
// "_Total". The processes must have been listed.
void WriteProcessObject(TPerfBlockWriter& Writer, TProcessSampler& Processes,
                        const TSampleClock& Clock);
// One instance per processor, named by its number, then "_Total".
void WriteProcessorObject(TPerfBlockWriter& Writer, const TKernelStat& Stat,
                          const TSampleClock& Clock);
void WriteMemoryObject(TPerfBlockWriter& Writer, const TMemorySample& Memory,
                       const TSampleClock& Clock);
void WriteSystemObject(TPerfBlockWriter& Writer, const TSystemSample& System,
                       const TSampleClock& Clock);

}  // namespace gaugery
