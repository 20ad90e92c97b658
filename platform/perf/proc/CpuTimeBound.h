// Keeps the processor times of successive samples within the time between them.
// /proc/stat counts in clock ticks (10 ms) and truncates each time on its own, so that
// over a short interval a time can advance by up to a tick more than the interval, or
// (idle time on some kernels) step back: a share of time computed from two samples
// would then fall below 0 % or rise above 100 %.
#pragma once

#include <cstdint>
#include <vector>

#include "perf/proc/ProcSystem.h"

namespace gaugery {

// Holds Time between Before and Before + Elapsed.
void HoldTimeWithin(std::uint64_t& Time, std::uint64_t Before, std::uint64_t Elapsed);

class TCpuTimeBound {
 public:
  // Holds every time of Stat (of each processor and of the average) between its value
  // in the sample before and that value plus the time from that sample's Now to this
  // one's, and the user, privileged and interrupt times together within that time;
  // what is held back shows in a later sample. A processor new to this sample,
  // an average over another number of processors, and a wall clock set back take
  // their times as read.
  void Apply(std::int64_t Now, TKernelStat& Stat);

 private:
  std::int64_t Before_ = 0;  // Now of the sample before; 0 before the first
  std::vector<TCpuSample> Cpus_;
  TCpuSample Average_;
};

}  // namespace gaugery
