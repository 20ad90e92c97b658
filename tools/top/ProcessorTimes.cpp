#include "ProcessorTimes.h"

#include "framework/Format.h"

namespace gaugery::cli {

namespace {

// The key value of a process as the monitor writes it: the id as a whole number.
std::string RecordKey(const std::string& Name, const std::string& KeyValue) {
  return Name + '\n' + KeyValue;
}

std::string KeyValueOf(Extended Id) { return FormatFloat("0", Id); }

}  // namespace

void TProcessorTimes::AddItem() {
  Monitor_.SetLocaleID("009");
  TPerfMonitorItem* Item = Monitor_.Items()->Add();
  try {
    Item->SetObjectName("Process");
    Item->SetCounterName("% Processor Time");
    Item->SetObjectKey("ID Process");
  } catch (...) {
    delete Item;
    throw;
  }
  Item_ = Item;
}

void TProcessorTimes::Collect() {
  Percents_.clear();
  Monitor_.Collect();
  if (Item_ == nullptr) {
    AddItem();
    // Set up in the sample just taken, which it records as its first.
    Item_->Collect();
    return;
  }
  // Samples that do not follow each other in time (a clock set back, a replay that
  // repeats itself) give no sound percentages.
  if (Monitor_.DeltaSysTime() <= 0 || !Item_->HasInstances()) return;
  for (std::int32_t Index = 0; Index < Item_->InstanceValueCount(); ++Index) {
    const TPerfMonitorCounterValue& Record = *Item_->InstanceValues(Index);
    if (!Record.PrevAvailable()) continue;
    // The processor time of one process never decreases; a sum over processes (_Total)
    // does when some of them end, and then tells nothing about the time between.
    const Extended Percent = Record.AsFloat();
    if (Percent >= 0)
      Percents_[RecordKey(Record.InstanceName(), Record.ObjectKeyValue())] = Percent;
  }
}

std::optional<Extended> TProcessorTimes::Percent(const std::string& Name, Extended Id) const {
  const auto Found = Percents_.find(RecordKey(Name, KeyValueOf(Id)));
  if (Found == Percents_.end()) return std::nullopt;
  return Found->second;
}

}  // namespace gaugery::cli
