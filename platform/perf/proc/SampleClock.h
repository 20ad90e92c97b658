// The time base of one sample: when it was taken and when the machine booted, both
// as file times (100 ns since 1601-01-01 UTC), the monotonic clock at the same moment,
// and the conversion of the clock ticks /proc counts in into 100 ns units.
#pragma once

#include <cstdint>

namespace gaugery {

struct TSampleClock {
  // In whole milliseconds, as the block's SystemTime carries it: the times that are
  // kept within the time between two samples (TCpuTimeBound) are kept within the
  // elapsed time a reader of the two blocks sees.
  std::int64_t Now = 0;
  std::int64_t Boot = 0;
  std::int64_t Monotonic = 0;  // 100 ns
  std::uint64_t TicksPerSecond = 100;
  std::uint32_t Processors = 1;  // online

  // The clocks of this moment and the tick rate of this system.
  static TSampleClock Read();

  // Takes Anchor, the boot time of earlier samples, as this sample's boot time, unless
  // the clocks are more than a second away from it (the wall clock was set); Anchor then
  // follows them. Boot derives from two clocks read one after the other and jitters by a
  // few 100 ns from sample to sample; the start times of processes, which derive from
  // it, must not, since they tell one process from a later one with the same id.
  void KeepBoot(std::int64_t& Anchor);

  // Wraps instead of failing for values no real counter reaches.
  std::uint64_t TicksTo100ns(std::uint64_t Ticks) const;
  // A time in ticks since boot (a process start) as a file time.
  std::int64_t SinceBootAsFileTime(std::uint64_t Ticks) const;
};

}  // namespace gaugery
