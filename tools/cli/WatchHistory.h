// Which values of a monitor item's records can be shown. A record's current value is
// the difference between its last two recordings, its average the difference since its
// first: both mean something only when every recording in between came from one and
// the same instance. A record made in the latest sample has no previous recording, and
// instances whose names and key values match (same-named processes without a key) share
// one record, which then holds the values of several instances, recorded one after the
// other within a sample.
#pragma once

#include <cstdint>
#include <unordered_map>

namespace gaugery {
class TPerfMonitorItem;
class TPerfMonitorCounterValue;
}  // namespace gaugery

namespace gaugery::cli {

// Whether the record's current value, or its average, spans time. A value that compares
// two samples means nothing when their time stamps are the same (one sample read twice)
// or go back; a value of one sample always spans time.
bool SpansTime(const TPerfMonitorCounterValue& Record, bool Average);

class TWatchHistory {
 public:
  // Takes in the records the item's latest Collect recorded its InstanceCount
  // instances into.
  void Observe(const TPerfMonitorItem& Item, std::int32_t InstanceCount);

  // Whether the record's current value, or its average, rests on recordings of one
  // instance alone. Counters that compute nothing between samples need only the latest.
  bool CurrentSound(const TPerfMonitorCounterValue& Record) const;
  bool AverageSound(const TPerfMonitorCounterValue& Record) const;

 private:
  struct TState {
    // Instances recorded into the record in the latest sample.
    int Uses = 0;
    // The record was recorded into in the sample before too, by this many instances.
    bool Seen = false;
    int UsesBefore = 0;
    // No sample has recorded more than one instance into it since it was made.
    bool NeverShared = true;
  };

  const TState* StateOf(const TPerfMonitorCounterValue& Record) const;

  // Records are freed only at the end of the Collect that finds them unused, after the
  // records of new instances were made: a record of the latest sample that is found
  // here is the record of that address in the sample before.
  std::unordered_map<const TPerfMonitorCounterValue*, TState> States_;
};

}  // namespace gaugery::cli
