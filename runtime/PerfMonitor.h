// The monitor: samples a set of counters with consistent time stamps, keeps one sample
// record per instance (instances are recognised between samples by their name and the
// values of key counters) and computes current and average values from the records.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "PerfFilter.h"
#include "PerfTitles.h"
#include "WinPerf.h"
#include "framework/LibraryExport.h"
#include "framework/TCollection.h"
#include "framework/TComponent.h"
#include "framework/TStringList.h"

namespace gaugery {

class TPerfMonitor;
class TPerfMonitorItem;

// The pieces of an object key with their title indexes ("-1" for a piece the title
// table does not know), kept across a change of locale.
using TKeyTitles = std::vector<std::pair<std::string, std::string>>;

// An event without arguments besides the object that raises it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// The time stamps of one monitor sample, as file times (100 ns units since 1601-01-01
// UTC): the sample's own, and the time since the sample before and since the first.
struct GAUGERY_RUNTIME_API TSampleTimes {
  std::int64_t SysTime = 0;
  std::int64_t DeltaSysTime = 0;
  std::int64_t TotalSysTime = 0;
};

// The sample history of one monitored counter for one instance (or for an object
// without instances), and the values computed from it. Records are made, fed and freed
// by their monitor item only.
class GAUGERY_RUNTIME_API TPerfMonitorCounterValue : public TObject {
 public:
  TPerfMonitorCounterValue() = default;
  // Raises OnDestroy with the record as sender; an error it raises is dropped.
  ~TPerfMonitorCounterValue() override;

  DWORD CounterType() const { return CounterType_; }
  std::int32_t RefreshCount() const { return RefreshCount_; }
  std::int64_t FirstCounter() const { return FirstCounter_; }
  std::int64_t FirstBase() const { return FirstBase_; }
  std::int64_t PrevCounter() const { return PrevCounter_; }
  std::int64_t PrevBase() const { return PrevBase_; }
  std::int64_t Counter() const { return Counter_; }
  std::int64_t Base() const { return Base_; }
  bool HasBase() const { return HasBase_; }
  const std::string& ObjectKeyValue() const { return ObjectKeyValue_; }
  const std::string& InstanceName() const { return InstanceName_; }
  // Whether the current value of a delta counter rests on two recorded samples.
  bool PrevAvailable() const { return PrevAvailable_; }
  // The monitor's times at the record's last recording (file-time units): the time stamp
  // of that sample, and the time since the sample before and since the monitor's first.
  std::int64_t SysTime() const { return SysTime_; }
  std::int64_t DeltaSysTime() const { return DeltaSysTime_; }
  std::int64_t TotalSysTime() const { return TotalSysTime_; }
  const TNotifyEvent& OnDestroy() const { return OnDestroy_; }
  void SetOnDestroy(TNotifyEvent Value) { OnDestroy_ = std::move(Value); }

  // Current value (between the last two samples) and average (since the monitor's
  // first sample). Exception "Invalid counter type" for text counters and
  // "Gaugery Internal error (Perf_COUNTER_BASE)" for base counters.
  Extended GetAsFloat() const;
  Extended GetAvgAsFloat() const;
  // The raw last value, or a negative code for counters whose value must be computed
  // (rate -1, fraction -2, elapsed -3, queue length -4, histogram -5).
  std::int64_t GetAsInteger() const;
  std::int64_t GetAvgAsInteger() const { return GetAsInteger(); }
  // The floating-point value (hexadecimal: the integer value) as text, without suffix.
  std::string GetAsString() const { return Text(false); }
  std::string GetAvgAsString() const { return Text(true); }

  Extended AsFloat() const { return GetAsFloat(); }
  Extended AvgAsFloat() const { return GetAvgAsFloat(); }
  std::int64_t AsInteger() const { return GetAsInteger(); }
  std::int64_t AvgAsInteger() const { return GetAvgAsInteger(); }
  std::string AsString() const { return GetAsString(); }
  std::string AvgAsString() const { return GetAvgAsString(); }

 private:
  friend class TPerfMonitorItem;

  // Records one sample: First for the record's first one, then the counter type word
  // of the definition, the monitor's times and the raw values (Base read only when
  // the record has a base).
  void Record(bool First, DWORD Type, const TSampleTimes& Times, std::int64_t RawCounter,
              std::int64_t RawBase);
  Extended ComputeFloat(std::int64_t Reference, std::int64_t ReferenceBase,
                        std::int64_t Elapsed) const;
  Extended CounterFloat(std::int64_t Reference, std::int64_t ReferenceBase,
                        std::int64_t Elapsed) const;
  std::string Text(bool Average) const;

  DWORD CounterType_ = 0;
  bool HasBase_ = false;
  // The item's sample number of the last sample that matched the record: it is used in
  // the current sample when that is the item's latest.
  std::uint64_t UsedIn_ = 0;
  std::string InstanceName_;
  std::string ObjectKeyValue_;
  TNotifyEvent OnDestroy_;
  bool PrevAvailable_ = false;
  std::int32_t RefreshCount_ = 0;
  std::int64_t FirstCounter_ = 0;
  std::int64_t FirstBase_ = 0;
  std::int64_t PrevCounter_ = 0;
  std::int64_t PrevBase_ = 0;
  std::int64_t Counter_ = 0;
  std::int64_t Base_ = 0;
  std::int64_t SysTime_ = 0;
  std::int64_t DeltaSysTime_ = 0;
  std::int64_t TotalSysTime_ = 0;

  // The record's key in its item's index of case-folded name and key value, and its
  // position in the item's list.
  std::string FoldedKey_;
  std::size_t Position_ = 0;
};

// Splits an object key into its counter names: pieces between ";" separators, empty
// pieces skipped, every other piece exactly as written. Strings is cleared first.
GAUGERY_RUNTIME_API void ParseKey(const std::string& Key, TStringList* Strings);

// The item collection of a monitor.
class GAUGERY_RUNTIME_API TPerfMonitorItems : public TCollection {
 public:
  TPerfMonitorItems(TPerfMonitor* AOwner, TCollectionItemClass AItemClass);

  TPerfMonitor* Owner() const { return Owner_; }
  TPersistent* GetOwner() override;

  TPerfMonitorItem* Add();
  // EListError for an index outside 0..Count-1, EInvalidCast for an item of another
  // class.
  TPerfMonitorItem* GetMonitorItems(int Index) const;
  TPerfMonitorItem* Items(int Index) const { return GetMonitorItems(Index); }
  TPerfMonitorItem* operator[](int Index) const { return GetMonitorItems(Index); }

 private:
  TPerfMonitor* Owner_;
};

// One monitored counter: an object, one of its counters and an optional object key
// (counter names joined by ";" whose values tell same-named instances apart).
//
// It reads raw values through a backing counter item and key counter items that it
// keeps in the monitor's filter, and keeps one record per instance seen in the last
// sample, in order of first appearance, or one record for an object without instances.
class GAUGERY_RUNTIME_API TPerfMonitorItem : public TCollectionItem {
 public:
  explicit TPerfMonitorItem(TCollection* Collection);
  // Frees every record, the key counters and the backing counter item.
  ~TPerfMonitorItem() override;

  // From another monitor item: its object name, counter name and object key. The key
  // is copied as text and resolved when the item next needs it, so that a key naming
  // an unknown counter does not fail the copy. Exception "Incompatible types" for
  // anything else.
  void Assign(TPersistent* Source) override;

  // The monitor that owns the item's collection; null outside a monitor.
  TPerfMonitor* Monitor() const { return Monitor_; }

  // --- Published properties. While the monitor loads they only keep their text; then
  // they work through the counter items, created at first use.
  std::string ObjectName() { return GetObjectName(); }
  std::string GetObjectName();
  void SetObjectName(const std::string& Value);
  std::string CounterName() { return GetCounterName(); }
  std::string GetCounterName();
  void SetCounterName(const std::string& Value);
  TPerfCounterType* CounterType() { return GetCounterType(); }
  TPerfCounterType* GetCounterType();
  void SetCounterType(TPerfCounterType* Value);
  // Outside loading: the key counters' names joined by ";", in the current locale.
  std::string ObjectKey() { return GetObjectKey(); }
  std::string GetObjectKey();
  void SetObjectKey(const std::string& Value);

  // --- Public read-only properties
  PPERF_COUNTER_DEFINITION CounterDefinition() { return GetCounterDefinition(); }
  PPERF_COUNTER_DEFINITION GetCounterDefinition();
  // The object's instance count in the current snapshot (not the record count).
  std::int32_t InstanceCount() { return GetInstanceCount(); }
  std::int32_t GetInstanceCount();
  // "/sec", "%", "secs" or empty, by the display field of the counter type.
  std::string Suffix() { return GetSuffix(); }
  std::string GetSuffix();
  // With instances: the record at Index (EListError out of range). Without: the
  // no-instance record whatever the index, null before the first Collect.
  TPerfMonitorCounterValue* InstanceValues(std::int32_t Index) { return GetInstanceValues(Index); }
  TPerfMonitorCounterValue* GetInstanceValues(std::int32_t Index);
  // The number of instance records.
  std::int32_t InstanceValueCount() const { return static_cast<std::int32_t>(Records_.size()); }
  // The record the last Collect recorded the block's instance Index into (instances
  // whose names and key values match share one); null for an index it did not record.
  TPerfMonitorCounterValue* RecordOfInstance(std::int32_t Index) const;

  bool HasInstances();

  // --- Operations of the monitor and the designer
  // The backing counter item, made in the monitor's filter at first use.
  TPerfCounterItem* Counter();
  // Records the current sample; the monitor calls it after its filter collected.
  void Collect();
  void CollectValue(TPerfMonitorCounterValue* Value, std::int32_t Index, bool First);
  void CollectNoInstanceValue(TPerfMonitorCounterValue* Value, bool First);
  void CreateKeyCounters();
  void FreeKeyCounters();
  // Around the filter's change of locale, with its title table: the item's counter
  // items are renamed by the filter, a key not yet resolved is renamed as text.
  TKeyTitles BeforeChangeLocaleID(TPerfTitles& Titles);
  void AfterChangeLocaleID(TPerfTitles& Titles, const TKeyTitles& Pieces);

 private:
  bool IsMonitorLoading() const;
  TPerfMonitor& OwningMonitor() const;
  // The key counters' names joined by ";" once they are made, else the key as set.
  std::string KeyText() const;
  // Takes a key as text, to be resolved at the next need of the key counters.
  void KeepObjectKey(const std::string& Value);
  void CollectInstances();
  std::string KeyValue(std::int32_t Index);
  TPerfMonitorCounterValue* FindRecord(const std::string& Name, const std::string& Key,
                                       std::size_t& Cursor, std::string& FoldedKey);
  TPerfMonitorCounterValue* IndexedRecord(const std::string& Name, const std::string& Key,
                                          std::string& FoldedKey);
  TPerfMonitorCounterValue* AddRecord(const std::string& Name, const std::string& Key,
                                      std::string FoldedKey);
  void RetireUnusedRecords(std::size_t Used);
  void FreeRecords();
  DWORD CurrentCounterType();
  void RecordValue(TPerfMonitorCounterValue* Value, std::int32_t Index, bool First, DWORD Type);

  std::string ObjectKey_;
  // Absent until first needed; the items are in the monitor's filter.
  std::optional<std::vector<TPerfCounterItem*>> KeyCounters_;
  std::vector<TPerfMonitorCounterValue*> Records_;
  std::unique_ptr<TPerfMonitorCounterValue> NoInstanceValue_;
  std::string CounterName_;
  std::string ObjectName_;
  TPerfCounterItem* Counter_ = nullptr;
  // The record of each instance of the last sample, in block order.
  std::vector<TPerfMonitorCounterValue*> InstanceRecords_;

  // The owner of the item's collection, fixed when the item is made.
  TPerfMonitor* Monitor_ = nullptr;
  // Counts the samples of instances recorded, for the records' UsedIn_.
  std::uint64_t SampleNumber_ = 0;

  // The records by name and key value exactly as they were first seen, and by their
  // case-folded forms. A record is the only one whose texts match an instance's
  // ignoring case, so an exact hit is the match.
  std::unordered_map<std::string, TPerfMonitorCounterValue*> ExactIndex_;
  std::unordered_map<std::string, TPerfMonitorCounterValue*> FoldedIndex_;
};

// A non-visual component that samples its items' counters and computes rates and
// averages between samples, of the local computer unless ComputerName names another.
class GAUGERY_RUNTIME_API TPerfMonitor : public TComponent {
 public:
  explicit TPerfMonitor(TComponent* AOwner);
  // Frees the items (with their records and counter items), then the filter.
  ~TPerfMonitor() override;

  // Takes a sample: the filter collects, the time stamps move on (they come from the
  // snapshot's SystemTime), then each item records it.
  void Collect();

  // --- Published properties
  std::string LocaleID() const { return GetLocaleID(); }
  std::string GetLocaleID() const;
  // Outside loading, first makes every item's backing counter item so that it is
  // renamed; never fails because of a name.
  void SetLocaleID(const std::string& Value);
  TPerfMonitorItems* Items() const { return Items_; }
  void SetItems(TPerfMonitorItems* Value);
  TPerfHelps* Helps() const { return GetHelps(); }
  TPerfHelps* GetHelps() const;
  void SetHelps(TPerfHelps* Value);

  // The computer its filter reads (ComputerName of TPerfFilter); not stored with a form.
  const std::string& ComputerName() const { return Filter_->ComputerName(); }
  void SetComputerName(const std::string& Value) { Filter_->SetComputerName(Value); }

  // --- Time stamps of the samples (file times)
  std::int64_t SysTime() const { return SysTime_; }
  std::int64_t FirstSysTime() const { return FirstSysTime_; }
  std::int64_t PrevSysTime() const { return PrevSysTime_; }
  std::int64_t DeltaSysTime() const { return DeltaSysTime_; }
  std::int64_t TotalSysTime() const { return TotalSysTime_; }
  TSampleTimes SampleTimes() const { return {SysTime_, DeltaSysTime_, TotalSysTime_}; }

 private:
  friend class TPerfMonitorItem;

  // The monitor's own filter, which holds the counter items of all its items.
  TPerfFilter* Filter() const { return Filter_.get(); }
  void TakeSampleTime();
  // The list that keeps the instance names of the backing item's object in the current
  // block, for all items on that object: reading and converting a name costs more than
  // the rest of recording a value. Null when the item is not located.
  std::vector<std::string>* SharedInstanceNames(TPerfCounterItem* Backing);

  bool JustCreated_ = true;
  // Owned without being one of the monitor's components, so that a stored form with
  // the monitor as root does not list it.
  std::unique_ptr<TPerfFilter> Filter_;
  TPerfMonitorItems* Items_ = nullptr;
  std::int64_t SysTime_ = 0;
  std::int64_t FirstSysTime_ = 0;
  std::int64_t PrevSysTime_ = 0;
  std::int64_t DeltaSysTime_ = 0;
  std::int64_t TotalSysTime_ = 0;

  // Instance names by object, read from the block of snapshot generation
  // NamesGeneration_.
  std::unordered_map<PPERF_OBJECT_TYPE, std::vector<std::string>> Names_;
  std::uint64_t NamesGeneration_ = 0;
};

}  // namespace gaugery

// The unit's registration routine for the designer.
namespace gaugery::PerfMonitorUnit {

// Puts TPerfMonitor on the palette page "Gaugery".
GAUGERY_RUNTIME_API void DoRegister();

}  // namespace gaugery::PerfMonitorUnit
