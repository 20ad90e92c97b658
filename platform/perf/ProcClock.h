// The time base of one sample: when it was taken and when the machine booted, both
// as file times (100 ns since 1601-01-01 UTC), and the conversion of the clock ticks
// /proc counts in into 100 ns units.
#pragma once

#include <cstdint>

namespace gaugery {

// The rate of every file-time counter and object time stamp.
constexpr std::int64_t FileTimeFrequency = 10'000'000;

struct TSampleClock {
  std::int64_t Now = 0;
  std::int64_t Boot = 0;
  std::uint64_t TicksPerSecond = 100;

  // The clocks of this moment and the tick rate of this system.
  static TSampleClock Read();

  // Wraps instead of failing for values no real counter reaches.
  std::uint64_t TicksTo100ns(std::uint64_t Ticks) const;
  // A time in ticks since boot (a process start) as a file time.
  std::int64_t SinceBootAsFileTime(std::uint64_t Ticks) const;
};

}  // namespace gaugery
