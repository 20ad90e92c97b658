// Metric names of the Prometheus export, made from the English titles of objects and
// counters the way Prometheus' naming conventions ask: lower case, words joined by
// "_", no word of the object repeated in the counter, no abbreviations, the base unit
// last ("_seconds", "_bytes", "_ratio"). Where the generic rules give a poor name, a
// short table of exceptions by title stands beside them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gaugery::exposition {

enum class TMetricUnit { None, Seconds, Bytes, Ratio };

// "seconds", "bytes", "ratio"; empty for None.
std::string_view UnitText(TMetricUnit Unit);

using TWords = std::vector<std::string>;

// The words of a title: runs of ASCII letters and digits in lower case, anything else
// separating them, and a capital after a small letter starting a word ("PhysicalDisk"). A trailing
// "/sec" is no word (a rate's count is exported, not the rate), "processor time" reads "cpu", and
// abbreviations are written out ("avg" -> "average", "allocs" -> "allocations"). "% Processor Time"
// gives {"cpu"}, "IO Read Bytes/sec" {"io", "read", "bytes"}.
TWords TitleWords(std::string_view Title);

// The words of a counter's title as its name has them in place of the generic rules,
// for the few titles where those give a poor name ("% Disk Time" -> {"busy"}).
std::optional<TWords> ExceptionalWords(std::string_view CounterTitle);

// Without the words that the object's name already has ("disk reads" of "physical
// disk" -> "reads"); the words as they were when none would be left.
TWords WithoutObjectWords(TWords Words, const TWords& Object);

// A trailing "count" as the plural of the word before it ("thread count" ->
// "threads"): Prometheus keeps the suffix "_count" for histograms and summaries.
TWords WithoutTrailingCount(TWords Words);

// Without a trailing word "time": the unit "seconds" says it ("user time" -> "user").
TWords WithoutTrailingTime(TWords Words);

// Without the words "total", which the suffix "_total" of a counter says (and a gauge
// must not end with).
TWords WithoutTotal(TWords Words);

// The start of what an elapsed time measures: a trailing "elapsed time", "up time" or
// "time" becomes "start time" ("elapsed time" -> "start time", "system up time" ->
// "system start time").
TWords StartTimeWords(TWords Words);

// The state outside the one an inverse timer's title names, which its raw value counts:
// {"cpu"} -> {"idle"}, {"idle"} -> {"busy"}, anything else "not" before it.
TWords ComplementWords(TWords Words);

// What an average timer averages over ("average disk seconds read" -> {"read"}):
// without "average", the words of time and those of the object; {"operation"} when
// nothing is left.
TWords AveragedWords(TWords Words, const TWords& Object);

// The English plural of the last word ("read" -> "reads", "entry" -> "entries").
TWords WithPluralEnd(TWords Words);

// A quantity of bytes in a counter's title or help text, and the factor that turns its
// raw value into bytes.
struct TByteQuantity {
  TWords Words;  // the title's words without the unit's word
  double Factor = 1;
};

// Bytes when the title has the word "bytes", "kbytes" or "megabytes" (and the like),
// or the help text says "in bytes" or "in bits per second" (bits are exported as bytes,
// as Prometheus prefers). Empty for anything else.
std::optional<TByteQuantity> ByteQuantityOf(const TWords& TitleWords, std::string_view Help);

// Raw counts that the providers know to be cumulative (errors, discards and the like),
// by the English title: they are exported as counters.
bool IsCumulativeCount(std::string_view CounterTitle);

// "gaugery_<object>_<counter>" with "_<unit>" after it unless the unit is None.
std::string MetricName(const TWords& Object, const TWords& Counter, TMetricUnit Unit);

// The words joined by spaces.
std::string SpacedWords(const TWords& Words);

// The label a counter of an object with instances becomes instead of a metric, by its
// English title: "ID Process" gives "process_id", "ID Thread" "thread_id".
std::optional<std::string_view> InstanceLabelOf(std::string_view CounterTitle);

}  // namespace gaugery::exposition
