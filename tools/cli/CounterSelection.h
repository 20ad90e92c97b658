// What the operands of `read` and `watch` select: the counters OBJECT COUNTER
// [COUNTER...] of every instance of one object, or counter paths, each one counter of
// one instance, of all instances or of an object without instances.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CounterPath.h"

namespace gaugery {
class TPerfCounterItem;
}  // namespace gaugery

namespace gaugery::cli {

struct TCounterSelection {
  std::string Computer;  // empty for this computer
  std::string Object;
  // All also stands for the one row of values of an object without instances.
  TInstanceChoice Instances = TInstanceChoice::All;
  std::string Instance;
  std::uint32_t Occurrence = 0;
  std::vector<std::string> Counters;
  // Written as a counter path; its one counter's values are labelled by their paths.
  bool FromPath = false;
};

// One selection per path, or one for the titles; those that name no computer read
// DefaultComputer (empty: this one). UsageError for fewer than two operands of titles,
// titles mixed with paths, or a malformed path.
std::vector<TCounterSelection> SelectionsOf(const std::vector<std::string>& Operands,
                                            const std::string& DefaultComputer);

// One instance a selection shows: its position in the block (-1 for the values of an
// object without instances), its name, and the number of instances of the same name
// (ignoring case) before it in block order.
struct TShownInstance {
  std::int32_t Index = -1;
  std::string Name;
  std::uint32_t Occurrence = 0;
};

// The instances Selection shows in the block its counter item Located was located in:
// every instance in block order, or the one the path names (none while it is absent).
// The occurrences are counted for selections written as paths only. Exception for a
// path that names an instance of an object without instances, or none of an object
// with instances.
std::vector<TShownInstance> ShownInstances(TPerfCounterItem& Located,
                                           const TCounterSelection& Selection);

// ShownInstances, with the Exception "no instance NAME of OBJECT in the sample" when the
// instance a path names is absent.
std::vector<TShownInstance> PresentInstances(TPerfCounterItem& Located,
                                             const TCounterSelection& Selection);

// The path that labels the value of Selection's counter Counter of Instance: the path
// as given when it names one instance (whether that is in the sample or not), with
// the instance's name and number in place of "*" otherwise.
std::string ValuePath(const TCounterSelection& Selection, const TShownInstance& Instance,
                      const std::string& Counter);

}  // namespace gaugery::cli
