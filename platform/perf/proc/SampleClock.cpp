#include "perf/proc/SampleClock.h"

#include <time.h>
#include <unistd.h>

#include "framework/WinTime.h"
#include "perf/PerfBlockWriter.h"

namespace gaugery {

namespace {

// File time of the Unix epoch, 1970-01-01 UTC.
constexpr std::int64_t UnixEpochAsFileTime = 116'444'736'000'000'000;
constexpr std::int64_t FileTimePerMillisecond = FileTimeFrequency / 1000;

std::int64_t In100ns(const timespec& Time) {
  return static_cast<std::int64_t>(Time.tv_sec) * FileTimeFrequency + Time.tv_nsec / 100;
}

}  // namespace

TSampleClock TSampleClock::Read() {
  timespec Wall{};
  timespec SinceBoot{};
  clock_gettime(CLOCK_REALTIME, &Wall);
  clock_gettime(CLOCK_BOOTTIME, &SinceBoot);
  TSampleClock Clock;
  const std::int64_t Now = UnixEpochAsFileTime + In100ns(Wall);
  Clock.Now = Now / FileTimePerMillisecond * FileTimePerMillisecond;
  Clock.Monotonic = MonotonicTime100ns();
  // Process start times count from boot on the same clock, suspended time included.
  Clock.Boot = Now - In100ns(SinceBoot);
  long Ticks = sysconf(_SC_CLK_TCK);
  if (Ticks > 0) Clock.TicksPerSecond = static_cast<std::uint64_t>(Ticks);
  long Online = sysconf(_SC_NPROCESSORS_ONLN);
  if (Online > 0) Clock.Processors = static_cast<std::uint32_t>(Online);
  return Clock;
}

void TSampleClock::KeepBoot(std::int64_t& Anchor) {
  std::int64_t Drift = Boot - Anchor;
  if (Anchor == 0 || Drift > FileTimeFrequency || Drift < -FileTimeFrequency) Anchor = Boot;
  Boot = Anchor;
}

std::uint64_t TSampleClock::TicksTo100ns(std::uint64_t Ticks) const {
  constexpr auto PerSecond = static_cast<std::uint64_t>(FileTimeFrequency);
  return Ticks / TicksPerSecond * PerSecond + Ticks % TicksPerSecond * PerSecond / TicksPerSecond;
}

std::int64_t TSampleClock::SinceBootAsFileTime(std::uint64_t Ticks) const {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(Boot) + TicksTo100ns(Ticks));
}

}  // namespace gaugery
