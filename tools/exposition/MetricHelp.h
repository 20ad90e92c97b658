// The help texts of the Prometheus export. Each family's help first says what its
// series hold, in their unit, made from how the counter is exported, its title and its
// object ("Processor time of the process, in seconds (counter "% Processor Time")");
// the help text of the name tables follows.
#pragma once

#include <string>
#include <string_view>

namespace gaugery::exposition {

// What a family holds, by how its counter is exported.
enum class THelpKind {
  Gauge,         // the value at the sample
  Bytes,         // a quantity of bytes at the sample
  Count,         // a count since the start
  ByteCount,     // bytes counted since the start
  Time,          // the time in a state, in seconds
  OutsideTime,   // the time outside the state an inverse timer shows
  Ratio,         // a percentage as a ratio
  Numerator,     // the numerator of a fraction of differences
  Denominator,   // its denominator
  AveragedTime,  // the seconds an average timer sums
  Operations,    // the operations it averages over
  QueueTime,     // a queue length summed over time
  StartTime      // an elapsed time as its start
};

struct THelpSubject {
  std::string_view Object;   // the object's words, spaced ("physical disk")
  std::string_view Counter;  // the counter's English title
  // What the family counts in words where the title does not say it ("idle",
  // "reads"); the other family of a pair (numerator, denominator; seconds,
  // operations) by its series name.
  std::string_view Words;
  std::string_view Partner;
};

// The generated sentence, then TableText when there is one.
std::string MetricHelp(THelpKind Kind, const THelpSubject& Subject, std::string_view TableText);

// A title as words of a sentence: without "%" before and "/sec" after it, words in
// capitals but the first kept as they are ("% Processor Time" -> "processor time",
// "IO Read Bytes/sec" -> "IO read bytes").
std::string TitlePhrase(std::string_view Title);

}  // namespace gaugery::exposition
