#include "perf/proc/CpuTimeBound.h"

#include <algorithm>

namespace gaugery {

namespace {

// The busy times together take no more than the elapsed time either.
void HoldWithin(TCpuSample& Cpu, const TCpuSample& Before, std::uint64_t Elapsed) {
  HoldTimeWithin(Cpu.IdleTime, Before.IdleTime, Elapsed);
  HoldTimeWithin(Cpu.UserTime, Before.UserTime, Elapsed);
  Elapsed -= Cpu.UserTime - Before.UserTime;
  HoldTimeWithin(Cpu.PrivilegedTime, Before.PrivilegedTime, Elapsed);
  Elapsed -= Cpu.PrivilegedTime - Before.PrivilegedTime;
  HoldTimeWithin(Cpu.InterruptTime, Before.InterruptTime, Elapsed);
}

}  // namespace

void HoldTimeWithin(std::uint64_t& Time, std::uint64_t Before, std::uint64_t Elapsed) {
  Time = std::clamp(Time, Before, Before + Elapsed);
}

void TCpuTimeBound::Apply(std::int64_t Now, TKernelStat& Stat) {
  if (Before_ != 0 && Now >= Before_) {
    const auto Elapsed = static_cast<std::uint64_t>(Now - Before_);
    // Both lists ascend by processor number.
    auto Previous = Cpus_.begin();
    for (TCpuSample& Cpu : Stat.Cpus) {
      while (Previous != Cpus_.end() && Previous->Number < Cpu.Number) ++Previous;
      if (Previous != Cpus_.end() && Previous->Number == Cpu.Number) {
        HoldWithin(Cpu, *Previous, Elapsed);
      }
    }
    if (Cpus_.size() == Stat.Cpus.size()) HoldWithin(Stat.Average, Average_, Elapsed);
  }
  Before_ = Now;
  Cpus_ = Stat.Cpus;
  Average_ = Stat.Average;
}

}  // namespace gaugery
