// The Prometheus export of a performance data block: the text exposition format 0.0.4
// or OpenMetrics 1.0.0, one metric family per exported counter of every object (see
// MetricPlans.h for the mapping).
//
// Instances become the label instance_name; the counter "ID Process" becomes the label
// process_id and "ID Thread" thread_id instead of metrics, so that processes of the
// same name are different series. Instances whose labels would still be the same get
// "#1", "#2", ... after the name from their second occurrence on. Instances named
// "_Total" are not exported, so that sums over instances are right (they belong to
// PromQL); an object whose only instances are "_Total" exports them without the label
// instance_name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "BlockDump.h"
#include "MetricNames.h"
#include "MetricPlans.h"

namespace gaugery::exposition {

enum class TExpositionFormat { Prometheus, OpenMetrics };

// Writes metric families in one of the two formats. Family names are made unique
// within one exposition: a name given twice gets "_2", "_3", ... after it.
class TExpositionWriter {
 public:
  explicit TExpositionWriter(TExpositionFormat Format);
  // Writes into the storage of Storage, whose text is dropped: a caller that renders
  // again and again passes the text of an earlier rendering, so that the text of some
  // megabytes grows no buffer and touches no memory the process has not used before.
  TExpositionWriter(TExpositionFormat Format, std::string Storage);

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
  void AppendInteger(std::int64_t Value);
  void WriteHelp(std::string_view Help);

  TExpositionFormat Format_;
  std::string Text_;
  std::string SampleName_;
  std::unordered_set<std::string> Names_;
};

// Writes the families of every object of Block, in block order. Block's titles must be
// the English ones (locale "009"); Helps gives the help texts of the name tables.
void WriteBlockMetrics(TExpositionWriter& Writer, const BlockDump& Block, const THelpTexts& Helps);

// A label value with "\", '"' and line feeds escaped.
std::string EscapedLabelValue(std::string_view Value);

}  // namespace gaugery::exposition
