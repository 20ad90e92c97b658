// Synthetic process samples for Brindle's tests: a Process object with the eight counters
// of Brindle's filter, served with English names by a fake provider.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "FakeProviders.h"
#include "perf/log/CounterLog.h"

namespace gaugery::testing {

// The object's time stamp and time base in every sample.
constexpr std::int64_t SampleTime = 133'600'000'000'000'000;
constexpr std::int64_t SampleFreq = 10'000'000;

struct TProcessSample {
  std::string Name;
  std::int64_t Id = 0;
  std::int64_t RunningSeconds = 0;
  std::int64_t Threads = 1;
  std::int64_t Handles = 0;
  std::int64_t PageFileBytes = 0;
  std::int64_t PageFileBytesPeak = 0;
  std::int64_t PoolNonpagedBytes = 0;
  std::int64_t WorkingSet = 0;
  // Processor time used so far, in 100 ns units.
  std::int64_t ProcessorTime = 0;
  // The raw Elapsed Time value when it is not the start RunningSeconds before the sample.
  std::optional<std::int64_t> StartTime;
};

// A block whose Process object holds these instances, after a Memory object, taken
// SecondsLater (0 to 14) after the block's default system time.
test::TBlock ProcessBlock(const std::vector<TProcessSample>& Processes, int SecondsLater = 0);
// A block without the Process object: every refresh of Brindle fails on it.
test::TBlock BlockWithoutProcesses();

// The English titles of the Memory and Process objects and of their counters.
std::vector<TPerfNameEntry> ProcessCounterNames();

// The same titles as a counter log's English names, so that a log of process blocks
// names its objects as the live machine does.
TLogNames ProcessLogNames();

// Names, per process: "p0", "p1", ... with ids 100, 101, ...
std::vector<TProcessSample> NumberedProcesses(int Count);

// Serves the samples one per refresh of a new form (the last one repeating), with the
// names of the eight counters. The shared snapshot takes a sample of its own when it is
// created, before the form's first Collect: it gets the first one too.
test::TFakeProviders ServeProcesses(std::vector<test::TBlock> Samples);

}  // namespace gaugery::testing
