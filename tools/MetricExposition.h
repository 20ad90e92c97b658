// The Prometheus export of a performance data block: the text exposition format 0.0.4
// or OpenMetrics 1.0.0, one metric family per exported counter of every object.
//
// The mapping is generic, by counter type word, so that an object a provider adds is
// exported without new code:
// - a number (PERF_TYPE_NUMBER) or an instantaneous count becomes a gauge;
// - a cumulative count (PERF_COUNTER_COUNTER, PERF_COUNTER_BULK_COUNT, a delta or
//   queue-length counter) becomes a counter "..._total";
// - a timer (a rate shown as a percentage) becomes a counter "..._seconds_total" of
//   the time in its time base's units; an inverse timer, whose raw value is the time
//   outside the measured state, exports the time inside it (the time base's clock
//   minus the raw value), so that its rate is the busy share in both cases;
// - a fraction of raw values (PERF_RAW_FRACTION) becomes a gauge of the ratio N / B
//   ("..._ratio" when it is shown as a percentage, "..._seconds" for an average
//   time); a fraction of differences (PERF_SAMPLE_FRACTION) becomes two counters, the
//   numerator "..._total" and the base "..._base_total", whose rates give the ratio;
// - an elapsed time becomes a gauge "..._start_time_seconds": the start of what it
//   measures, in seconds since the Unix epoch;
// - base counters, hidden counters (PERF_DISPLAY_NOSHOW), text, zero, histogram
//   and unknown types, and values of other sizes than 4 and 8 bytes are not exported.
// Instances become the label instance_name; the counter "ID Process" becomes the label
// process_id and "ID Thread" thread_id instead of metrics, so that processes of the
// same name are different series. Instances whose labels would still be the same get
// "#1", "#2", ... after the name from their second occurrence on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "BlockDump.h"
#include "MetricNames.h"

namespace gaugery::cli {

enum class TExpositionFormat { Prometheus, OpenMetrics };

enum class TMetricKind { Counter, Gauge };

// The English help texts by help index.
using THelpTexts = std::unordered_map<DWORD, std::string>;

// Writes metric families in one of the two formats. Family names are made unique
// within one exposition: a name given twice gets "_2", "_3", ... after it.
class TExpositionWriter {
 public:
  explicit TExpositionWriter(TExpositionFormat Format);

  // Starts a family; Name is without "_total" and ends with the unit's name when Unit
  // is not None. Returns the name used.
  std::string BeginFamily(const std::string& Name, TMetricKind Kind, TMetricUnit Unit,
                          std::string_view Help);
  // One sample of the current family; Labels is "{...}" or empty.
  void Sample(std::string_view Labels, std::int64_t Value);
  void Sample(std::string_view Labels, double Value);
  // The exposition; OpenMetrics ends with "# EOF".
  std::string Finish();

 private:
  void WriteSampleName(std::string_view Labels);
  void WriteHelp(std::string_view Help);

  TExpositionFormat Format_;
  std::string Text_;
  std::string SampleName_;
  std::unordered_set<std::string> Names_;
};

// Writes the families of every object of Block, in block order. Block's titles must be
// the English ones (locale "009"); Helps gives the help texts, a title standing in for
// a missing one.
void WriteBlockMetrics(TExpositionWriter& Writer, const BlockDump& Block, const THelpTexts& Helps);

// A label value with "\", '"' and line feeds escaped.
std::string EscapedLabelValue(std::string_view Value);

}  // namespace gaugery::cli
