// The objects of the /proc provider that describe the processor, the memory, the
// system and its processes and threads: their counters and how each counter's value
// is taken from a sample.
#pragma once

#include <cstdint>
#include <span>

#include "perf/PerfBlockWriter.h"
#include "perf/TitleIndexes.h"
#include "perf/proc/ProcProcesses.h"
#include "perf/proc/ProcSystem.h"
#include "perf/proc/ProcThreads.h"
#include "perf/proc/SampleClock.h"

namespace gaugery {

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
// One instance per thread of the processes Pids, named "<process name>/<tid>", in the
// order of Pids and each process's main thread first, then "_Total/_Total".
void WriteThreadObject(TPerfBlockWriter& Writer, TThreadSampler& Threads,
                       std::span<const std::uint32_t> Pids, const TSampleClock& Clock);
// One instance per processor, named by its number, then "_Total".
void WriteProcessorObject(TPerfBlockWriter& Writer, const TKernelStat& Stat,
                          const TSampleClock& Clock);
void WriteMemoryObject(TPerfBlockWriter& Writer, const TMemorySample& Memory,
                       const TSampleClock& Clock);
void WriteSystemObject(TPerfBlockWriter& Writer, const TSystemSample& System,
                       const TSampleClock& Clock);

}  // namespace gaugery
