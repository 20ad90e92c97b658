// Metric names of the Prometheus export, made from the English titles of objects and
// counters the way Prometheus' naming conventions ask: lower case, words joined by
// "_", the base unit last ("_seconds", "_bytes", "_ratio").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gaugery::cli {

enum class TMetricUnit { None, Seconds, Bytes, Ratio };

// "seconds", "bytes", "ratio"; empty for None.
std::string_view UnitText(TMetricUnit Unit);

using TWords = std::vector<std::string>;

// The words of a title: runs of ASCII letters and digits in lower case, anything else
// separating them. A trailing "/sec" is no word (a rate's count is exported, not the
// rate), and "processor time" reads "cpu". "% Processor Time" gives {"cpu"}, "IO Read
// Bytes/sec" {"io", "read", "bytes"}.
TWords TitleWords(std::string_view Title);

// A trailing "count" as the plural of the word before it ("thread count" ->
// "threads"): Prometheus keeps the suffix "_count" for histograms and summaries.
TWords WithoutTrailingCount(TWords Words);

// Without a trailing word "time": the unit "seconds" says it ("user time" -> "user").
TWords WithoutTrailingTime(TWords Words);

// The start of what an elapsed time measures: a trailing "elapsed time", "up time" or
// "time" becomes "start time" ("elapsed time" -> "start time", "system up time" ->
// "system start time").
TWords StartTimeWords(TWords Words);

// Without the word "bytes", which the unit then carries ("virtual bytes peak" ->
// "virtual peak").
TWords WithoutBytes(TWords Words);

// Whether a counter counts bytes: its title has the word "bytes" or its help text says
// "in bytes" (as "Working Set" does).
bool CountsBytes(const TWords& TitleWords, std::string_view Help);

// "gaugery_<object>_<counter>" with "_<unit>" after it unless the unit is None.
std::string MetricName(const TWords& Object, const TWords& Counter, TMetricUnit Unit);

// The label a counter of an object with instances becomes instead of a metric, by its
// English title: "ID Process" gives "process_id", "ID Thread" "thread_id".
std::optional<std::string_view> InstanceLabelOf(std::string_view CounterTitle);

}  // namespace gaugery::cli
