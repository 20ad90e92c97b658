#include "WatchHistory.h"

#include "PerfMonitor.h"

namespace gaugery::cli {

namespace {

bool ComputesDifference(const TPerfMonitorCounterValue& Record) {
  return (Record.CounterType() & PERF_DELTA_COUNTER) != 0;
}

}  // namespace

bool SpansTime(const TPerfMonitorCounterValue& Record, bool Average) {
  if (!ComputesDifference(Record)) return true;
  return (Average ? Record.TotalSysTime() : Record.DeltaSysTime()) > 0;
}

void TWatchHistory::Observe(const TPerfMonitorItem& Item, std::int32_t InstanceCount) {
  std::unordered_map<const TPerfMonitorCounterValue*, TState> Latest;
  for (std::int32_t Index = 0; Index < InstanceCount; ++Index) {
    if (const TPerfMonitorCounterValue* Record = Item.RecordOfInstance(Index)) {
      ++Latest[Record].Uses;
    }
  }
  for (auto& [Record, State] : Latest) {
    const auto Before = States_.find(Record);
    const bool Seen = Before != States_.end();
    State.Seen = Seen;
    State.UsesBefore = Seen ? Before->second.Uses : 0;
    State.NeverShared = (!Seen || Before->second.NeverShared) && State.Uses == 1;
  }
  States_ = std::move(Latest);
}

const TWatchHistory::TState* TWatchHistory::StateOf(const TPerfMonitorCounterValue& Record) const {
  const auto Found = States_.find(&Record);
  return Found == States_.end() || Found->second.Uses != 1 ? nullptr : &Found->second;
}

bool TWatchHistory::CurrentSound(const TPerfMonitorCounterValue& Record) const {
  const TState* State = StateOf(Record);
  if (State == nullptr) return false;
  if (!ComputesDifference(Record)) return true;
  return State->Seen && State->UsesBefore == 1 && Record.PrevAvailable();
}

bool TWatchHistory::AverageSound(const TPerfMonitorCounterValue& Record) const {
  const TState* State = StateOf(Record);
  if (State == nullptr) return false;
  return !ComputesDifference(Record) || (State->Seen && State->NeverShared);
}

}  // namespace gaugery::cli
