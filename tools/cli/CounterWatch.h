// The monitors that `watch` and `relog` sample their counter selections with: one monitor
// per computer, one monitor item per counter, and the histories that tell which of the
// items' values can be shown.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "CounterSelection.h"
#include "WatchHistory.h"
#include "WatchPrinter.h"

namespace gaugery {
class TPerfMonitorItem;
}  // namespace gaugery

namespace gaugery::cli {

class TComputerMonitor;

class TCounterWatch {
 public:
  // Items for every counter of Selections, named in the locale of --locale, with the key
  // counters of --key (or the default key of their object); the averages of --avg.
  TCounterWatch(const std::vector<TCounterSelection>& Selections, const Arguments& Args);
  ~TCounterWatch();
  TCounterWatch(const TCounterWatch&) = delete;
  TCounterWatch& operator=(const TCounterWatch&) = delete;

  // One sample of every computer, taken in by the histories.
  void Collect();

  std::int64_t SysTime() const;

  // Exception "no instance ..." when an instance that a path names is not in the latest
  // sample.
  void CheckNamedInstances() const;

  // The rows of the latest sample, read whole before any is printed: a failing read
  // prints nothing but its error.
  std::vector<TWatchRow> Rows();

 private:
  // A selection and its monitor items, one per counter, with their records' histories.
  struct TWatchedSelection {
    const TCounterSelection* Selection = nullptr;
    std::vector<TPerfMonitorItem*> Items;
    std::vector<TWatchHistory> Histories;
  };

  TComputerMonitor& MonitorOf(const std::string& Computer, const std::string& Locale);
  TWatchValue ValueOf(TWatchedSelection& Watched, std::size_t Column, std::int32_t Index,
                      const std::string& Unit, std::string& Key) const;

  bool Average_;
  std::map<std::string, std::unique_ptr<TComputerMonitor>> Monitors_;
  std::vector<TWatchedSelection> Watched_;
};

}  // namespace gaugery::cli
