// The processor time of every process, computed by a monitor from two samples.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "PerfMonitor.h"

namespace gaugery::cli {

// Samples "% Processor Time" of the Process object with a monitor whose key is
// "ID Process", so that processes of the same name stay apart and a process id taken
// over by a new process starts afresh.
//
// The counter is set up on the first sample that holds it, so that a sample without
// the Process object fails only that sample (and the key is never built half).
class TProcessorTimes {
 public:
  // The computer whose processes are sampled; empty (the default) for this one.
  explicit TProcessorTimes(const std::string& ComputerName = "") {
    Monitor_.SetComputerName(ComputerName);
  }
  // Takes a sample into the shared snapshot of the computer and records it.
  // Errors of the sample, and of setting up the counter, pass on.
  void Collect();
  // The time stamp of the last sample, as a file time.
  std::int64_t SampleTime() const { return Monitor_.SysTime(); }
  // The percentage of one processor's time the process used between the last two
  // samples; nothing for a process without a previous sample, or whose time went back.
  // Id is the value of its "ID Process" counter.
  std::optional<Extended> Percent(const std::string& Name, Extended Id) const;

 private:
  // The monitored counter in the current block; an error leaves none.
  void AddItem();

  TPerfMonitor Monitor_{nullptr};
  // Null until a sample held the counter.
  TPerfMonitorItem* Item_ = nullptr;
  // By instance name and key value.
  std::unordered_map<std::string, Extended> Percents_;
};

}  // namespace gaugery::cli
