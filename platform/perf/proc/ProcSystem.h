// The machine-wide figures of the Processor, Memory and System objects, parsed from
// /proc/stat, /proc/interrupts, /proc/meminfo, /proc/vmstat and /proc/loadavg.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "perf/proc/SampleClock.h"
#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"

namespace gaugery {

// One processor (or the average of all), times in 100 ns.
struct TCpuSample {
  std::uint32_t Number = 0;
  std::uint64_t IdleTime = 0;       // idle + iowait
  std::uint64_t UserTime = 0;       // user + nice
  std::uint64_t PrivilegedTime = 0;  // system
  std::uint64_t InterruptTime = 0;  // irq + softirq
  std::uint64_t Interrupts = 0;
};

struct TKernelStat {
  std::vector<TCpuSample> Cpus;  // ascending processor number
  TCpuSample Average;            // the "cpu" line divided by the processor count
  std::uint64_t Interrupts = 0;  // "intr" total
  std::uint64_t ContextSwitches = 0;
  std::uint64_t RunningThreads = 0;
};

// Parses /proc/stat; the Cpus vector keeps its capacity from sample to sample. The
// average keeps the total's percentages between 0 and 100, as Windows' "_Total"
// processor does.
void ParseKernelStat(std::string_view Text, const TSampleClock& Clock, TKernelStat& Stat);

// Adds the interrupts of /proc/interrupts to the processors of its columns ("CPU3"
// counts for processor 3). Only lines with one number per column count: the few
// machine-wide lines are no processor's. Columns keeps its capacity.
void AddInterruptsPerCpu(std::string_view Text, std::vector<std::uint32_t>& Columns,
                         std::vector<TCpuSample>& Cpus);

struct TMemorySample {
  std::uint64_t AvailableBytes = 0;
  std::uint64_t CommittedBytes = 0;
  std::uint64_t CommitLimit = 0;
  std::uint64_t PageFaults = 0;
};

void ParseMemInfo(std::string_view Text, TMemorySample& Memory);
void ParseVmStat(std::string_view Text, TMemorySample& Memory);

// The number of threads of the machine: the total after the "/" of /proc/loadavg.
std::uint64_t ParseLoadAvgThreads(std::string_view Text);

// Reads those files with one kept buffer.
class TSystemReader {
 public:
  explicit TSystemReader(TProcRoot Root = TProcRoot()) : Root_(std::move(Root)) {}

  void ReadKernelStat(const TSampleClock& Clock, TKernelStat& Stat);
  void ReadMemory(TMemorySample& Memory);
  std::uint64_t ReadThreadCount();

 private:
  TProcRoot Root_;
  TProcFileReader Files_;
  std::vector<std::uint32_t> Columns_;
};

}  // namespace gaugery
