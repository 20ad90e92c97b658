// The entries relog keeps of its input logs: merged in time order, those of a window of
// times, every Nth sample among them, and the gaps of the window. Each input is read
// once, sample by sample; nothing is written on the way.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "perf/log/CounterLogReader.h"

namespace gaugery::cli {

// Which entries are kept: those of the window (file times, both ends included), and of
// its samples every Nth from the first.
struct TSampleChoice {
  std::int64_t Begin = std::numeric_limits<std::int64_t>::min();
  std::int64_t End = std::numeric_limits<std::int64_t>::max();
  long long Every = 1;
};

// Writes the warnings Reader has not yet given to standard error, one line each.
void PrintRelogWarnings(TCounterLogReader& Reader);

class TRelogInputs {
 public:
  // Opens every file, writing the readers' warnings to standard error as they come.
  // Exception for a file that is not a readable counter log.
  explicit TRelogInputs(const std::vector<std::string>& Files);
  ~TRelogInputs();
  TRelogInputs(const TRelogInputs&) = delete;
  TRelogInputs& operator=(const TRelogInputs&) = delete;

  // The machine and names of the first input, as in force at its first entry.
  const TLogMachine& Machine() const;
  const TLogNames& Names() const;
  // The time of the first input's first entry, or when its recording began.
  std::int64_t FirstTime() const;

  void Choose(const TSampleChoice& Choice);
  // The next kept sample or gap, of whichever input comes first in time; false at the
  // end of them all.
  bool Next(TLogEntry& Entry);
  // The same, passing over gaps.
  bool NextSample(TLogEntry& Entry);

 private:
  struct TInput;
  TInput* Earliest();

  std::vector<std::unique_ptr<TInput>> Inputs_;
  TSampleChoice Choice_;
  long long SamplesSeen_ = 0;
};

}  // namespace gaugery::cli
