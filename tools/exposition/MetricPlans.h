// How the counters of an object become metric families, by counter type word, so that
// an object a provider adds is exported without new code:
// - a number (PERF_TYPE_NUMBER) or an instantaneous count becomes a gauge; a raw count
//   the providers know to be cumulative (errors, discards) a counter "..._total";
// - a cumulative count (PERF_COUNTER_COUNTER, PERF_COUNTER_BULK_COUNT, a delta
//   counter) becomes a counter "..._total";
// - a timer (a rate shown as a percentage) becomes a counter "..._seconds_total" of
//   the time in its state; an inverse timer, whose raw value is the time outside the
//   state its title names, a counter of that time under the name of that state
//   ("% Processor Time" of a processor: "..._idle_seconds_total");
// - a queue length summed over time becomes a counter "..._seconds_total", whose rate
//   is the average queue length;
// - a fraction of raw values (PERF_RAW_FRACTION) becomes a gauge of the ratio N / B
//   ("..._ratio" when it is shown as a percentage); a fraction of differences
//   (PERF_SAMPLE_FRACTION) two counters, the numerator "..._total" and the base
//   "..._base_total", whose rates give the fraction;
// - an average timer (a fraction shown in seconds) becomes two counters, its seconds
//   "..._seconds_total" and its operations in real counts, so that the quotient of
//   their rates is seconds per operation. An average timer that asks for differences
//   itself has its base in the time base's units (operations times the frequency, so
//   that the quotient of differences is in seconds): its operations are the base over
//   the frequency;
// - an elapsed time becomes a gauge "..._start_time_seconds": the start of what it
//   measures, in seconds since the Unix epoch;
// - quantities of bytes are exported in bytes ("Free Megabytes" times 1,048,576, bits
//   per second over 8), times in seconds;
// - base counters, hidden counters (PERF_DISPLAY_NOSHOW), text, zero, histogram
//   and unknown types, and values of other sizes than 4 and 8 bytes are not exported.
// Within an object a family whose name another family of the object already has is
// not exported again (a disk's "% Idle Time" counts the busy time that "% Disk Time"
// exports).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "BlockDump.h"
#include "MetricNames.h"

namespace gaugery::exposition {

enum class TMetricKind { Counter, Gauge };

// The English help texts by help index.
using THelpTexts = std::unordered_map<DWORD, std::string>;

// How a family's samples come from the raw values of a row.
enum class TValueRule {
  Raw,        // the raw value
  Scaled,     // raw value x Multiplier / Divisor
  Ratio,      // raw value / base value (0 for a zero base)
  StartTime,  // the start of an elapsed time, in seconds since the Unix epoch
};

// One exported metric family of an object.
struct TFamilyPlan {
  std::string Name;  // without "_total"
  TMetricKind Kind = TMetricKind::Gauge;
  TMetricUnit Unit = TMetricUnit::None;
  std::string Help;
  TValueRule Rule = TValueRule::Raw;
  std::size_t Position = 0;      // of the counter read
  std::size_t BasePosition = 0;  // of the base, for a ratio
  double Multiplier = 1;
  double Divisor = 1;
  std::int64_t ClockNow = 0;  // the time base's clock, for a start time
};

// A counter of an object with instances that becomes a label instead of a family.
struct TLabelPlan {
  std::string_view Label;
  std::size_t Position = 0;
};

struct TObjectPlan {
  std::vector<TFamilyPlan> Families;
  std::vector<TLabelPlan> Labels;
};

// The families and labels of an object, in counter order. Titles must be the English
// ones (locale "009"); Helps gives the help texts of the name tables.
TObjectPlan PlanObject(const ObjectDump& Object, const BlockDump& Block, const THelpTexts& Helps);

}  // namespace gaugery::exposition
