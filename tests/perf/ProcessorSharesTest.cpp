// Shares of processor time over two samples stay shares: the processor times of the
// live provider never advance by more than the time between the samples' time stamps,
// however short it is, although /proc counts them in ticks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "PerfMonitor.h"
#include "perf/proc/CpuTimeBound.h"

namespace gaugery {
namespace {

constexpr std::int64_t Tick = 100'000;  // 10 ms in 100 ns units
constexpr std::int64_t Start = 134'000'000'000'000'000;

TCpuSample Cpu(std::uint32_t Number, std::uint64_t Idle, std::uint64_t User = 0,
               std::uint64_t Privileged = 0) {
  TCpuSample Sample;
  Sample.Number = Number;
  Sample.IdleTime = Idle;
  Sample.UserTime = User;
  Sample.PrivilegedTime = Privileged;
  return Sample;
}

TKernelStat Stat(std::vector<TCpuSample> Cpus, TCpuSample Average = {}) {
  TKernelStat Result;
  Result.Cpus = std::move(Cpus);
  Result.Average = Average;
  return Result;
}

TEST(CpuTimeBound, TimesAheadOfTheIntervalShowLaterAndTimesNeverStepBack) {
  TCpuTimeBound Bound;
  TKernelStat First = Stat({Cpu(0, 10 * Tick, 5 * Tick), Cpu(1, 10 * Tick)}, Cpu(0, 10 * Tick));
  Bound.Apply(Start, First);
  EXPECT_EQ(First.Cpus[0].IdleTime, 10u * Tick) << "the first sample is taken as read";

  // 5 ms later processor 0 counts a whole tick more idle time, processor 1 steps back.
  TKernelStat Second = Stat({Cpu(0, 11 * Tick, 5 * Tick), Cpu(1, 9 * Tick)}, Cpu(0, 11 * Tick));
  Bound.Apply(Start + Tick / 2, Second);
  EXPECT_EQ(Second.Cpus[0].IdleTime, 10u * Tick + Tick / 2);
  EXPECT_EQ(Second.Cpus[1].IdleTime, 10u * Tick);
  EXPECT_EQ(Second.Average.IdleTime, 10u * Tick + Tick / 2);

  // What was held back shows once the time has come; a sample of the same moment holds.
  TKernelStat Same = Stat({Cpu(0, 11 * Tick, 9 * Tick), Cpu(1, 9 * Tick)}, Cpu(0, 11 * Tick));
  Bound.Apply(Start + Tick / 2, Same);
  EXPECT_EQ(Same.Cpus[0].UserTime, 5u * Tick);
  TKernelStat Third = Stat({Cpu(0, 11 * Tick, 5 * Tick), Cpu(1, 12 * Tick)}, Cpu(0, 11 * Tick));
  Bound.Apply(Start + 2 * Tick, Third);
  EXPECT_EQ(Third.Cpus[0].IdleTime, 11u * Tick);
  EXPECT_EQ(Third.Cpus[1].IdleTime, 11u * Tick + Tick / 2);

  // User and privileged time a tick each in half a tick: together half a tick.
  TKernelStat Busy =
      Stat({Cpu(0, 11 * Tick, 6 * Tick, Tick), Cpu(1, 12 * Tick)}, Cpu(0, 11 * Tick));
  Bound.Apply(Start + 2 * Tick + Tick / 2, Busy);
  EXPECT_EQ(Busy.Cpus[0].UserTime, 5u * Tick + Tick / 2);
  EXPECT_EQ(Busy.Cpus[0].PrivilegedTime, 0u);
}

TEST(CpuTimeBound, NewProcessorsOtherAveragesAndAClockSetBackAreTakenAsRead) {
  TCpuTimeBound Bound;
  TKernelStat First = Stat({Cpu(2, 10 * Tick)}, Cpu(0, 10 * Tick));
  Bound.Apply(Start, First);
  TKernelStat Grown = Stat({Cpu(1, 50 * Tick), Cpu(2, 30 * Tick)}, Cpu(0, 40 * Tick));
  Bound.Apply(Start + Tick, Grown);
  EXPECT_EQ(Grown.Cpus[0].IdleTime, 50u * Tick) << "processor 1 is new";
  EXPECT_EQ(Grown.Cpus[1].IdleTime, 11u * Tick);
  EXPECT_EQ(Grown.Average.IdleTime, 40u * Tick) << "the average of another count";

  TKernelStat Back = Stat({Cpu(1, 60 * Tick), Cpu(2, 40 * Tick)}, Cpu(0, 50 * Tick));
  Bound.Apply(Start, Back);
  EXPECT_EQ(Back.Cpus[1].IdleTime, 40u * Tick);
}

// Runs Busy threads that spin until the object is destroyed.
class TSpinningThreads {
 public:
  explicit TSpinningThreads(unsigned Busy) {
    for (unsigned At = 0; At < Busy; ++At) {
      Threads_.emplace_back([this] {
        while (!Stop_) {
        }
      });
    }
  }
  ~TSpinningThreads() {
    Stop_ = true;
    for (std::thread& Thread : Threads_) Thread.join();
  }

 private:
  std::atomic<bool> Stop_{false};
  std::vector<std::thread> Threads_;
};

TPerfMonitorItem* ItemOf(TPerfMonitor& Monitor, const std::string& Object,
                         const std::string& Counter) {
  TPerfMonitorItem* Item = Monitor.Items()->Add();
  Item->SetObjectName(Object);
  Item->SetCounterName(Counter);
  return Item;
}

// The values the item computed in the monitor's last sample, against their range: of
// every instance, or of those with that key value.
void ExpectWithin(TPerfMonitorItem* Item, double Most, const std::string& Key = "") {
  for (std::int32_t At = 0; At < Item->InstanceValueCount(); ++At) {
    TPerfMonitorCounterValue* Value = Item->InstanceValues(At);
    if (!Key.empty() && Value->ObjectKeyValue() != Key) continue;
    const double Percent = static_cast<double>(Value->AsFloat());
    const std::string What =
        Item->ObjectName() + " " + Value->InstanceName() + " " + Item->CounterName();
    EXPECT_GE(Percent, 0.0) << What;
    EXPECT_LE(Percent, Most) << What;
  }
}

// Intervals of a few milliseconds, a tick or less, first while the machine may idle
// (idle time runs ahead), then while this process keeps every processor busy (busy
// times run ahead): truncated ticks and the moments of reading then weigh the most.
// The process is told apart from others of its name by its id.
TEST(ProcessorSharesLiveTest, StayWithinTheirRangeOverManyShortIntervals) {
  const auto Processors = static_cast<unsigned>(sysconf(_SC_NPROCESSORS_ONLN));
  TPerfMonitor Monitor(nullptr);
  std::vector<TPerfMonitorItem*> Processor;
  for (const char* Counter :
       {"% Processor Time", "% User Time", "% Privileged Time", "% Interrupt Time"}) {
    Processor.push_back(ItemOf(Monitor, "Processor", Counter));
  }
  TPerfMonitorItem* Process = ItemOf(Monitor, "Process", "% Processor Time");
  Process->SetObjectKey("ID Process");
  const std::string Own = std::to_string(getpid());
  Monitor.Collect();
  for (const unsigned Busy : {0u, Processors}) {
    TSpinningThreads Spinning(Busy);
    for (int Sample = 0; Sample < 30; ++Sample) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1 + Sample % 8));
      Monitor.Collect();
      if (Monitor.DeltaSysTime() == 0) continue;
      SCOPED_TRACE(std::to_string(Busy) + " busy threads, sample " + std::to_string(Sample) +
                   " after " + std::to_string(Monitor.DeltaSysTime() / 10'000) + " ms");
      for (TPerfMonitorItem* Item : Processor) ExpectWithin(Item, 100.0);
      ExpectWithin(Process, 100.0 * Processors, Own);
    }
  }
}

}  // namespace
}  // namespace gaugery
