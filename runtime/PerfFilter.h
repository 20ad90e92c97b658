// The counter filter: a stored list of object/counter selections bound to one shared
// snapshot, the counter items that locate their counter in the current sample and read
// raw values. The descriptive texts of the counter type word come with it
// (PerfCounterType.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "PerfCounterType.h"
#include "PerfData.h"
#include "PerfTitles.h"
#include "WinPerf.h"
#include "framework/LibraryExport.h"
#include "framework/TCollection.h"
#include "framework/TComponent.h"

namespace gaugery {

class TPerfFilter;
class TPerfCounterItem;

// The declared type of the designer property CounterType of counter items and monitor
// items. The library never creates one.
class GAUGERY_RUNTIME_API TPerfCounterType : public TObject {};

// Raised while a counter item is destroyed: the filter that owns it and the item.
using TItemNotifyEvent = std::function<void(TPerfFilter* Sender, TPerfCounterItem* Item)>;

// The item collection of a filter.
class GAUGERY_RUNTIME_API TPerfCounterItems : public TCollection {
 public:
  TPerfCounterItems(TPerfFilter* AOwner, TCollectionItemClass AItemClass);

  TPerfFilter* Owner() const { return Owner_; }
  TPersistent* GetOwner() override;

  // A new item, appended.
  TPerfCounterItem* Add();
  // EListError for an index outside 0..Count-1, EInvalidCast for an item of another
  // class.
  TPerfCounterItem* GetCounterItems(int Index) const;
  TPerfCounterItem* Items(int Index) const { return GetCounterItems(Index); }
  TPerfCounterItem* operator[](int Index) const { return GetCounterItems(Index); }

 private:
  TPerfFilter* Owner_;
};

// One selection: a performance object and one of its counters, by their titles.
//
// The item caches where its object, counter, base counter, counter block and first
// instance lie in the filter's current block. The positions belong to one block
// generation of the shared snapshot; once any holder has refreshed the snapshot they
// count as absent (the read-only position properties answer null and reads fail as for
// an item that was never located) until the item is located again.
class GAUGERY_RUNTIME_API TPerfCounterItem : public TCollectionItem {
 public:
  explicit TPerfCounterItem(TCollection* Collection);
  // Raises the filter's OnItemDestroy while the item is still in the collection.
  ~TPerfCounterItem() override;

  // From another counter item: takes its object name (which clears the counter name
  // when the object changes). Exception "Incompatible types" for anything else.
  void Assign(TPersistent* Value) override;

  // The filter that owns the item's collection; null outside a filter's collection.
  TPerfFilter* Filter() const { return Filter_; }
  // The filter's private title table.
  TPerfTitles* Titles() const;

  // --- Published properties
  const std::string& ObjectName() const { return ObjectName_; }
  // Exception "Invalid performance object name : %s" for a title the table lacks.
  void SetObjectName(const std::string& Value);
  const std::string& CounterName() const { return CounterName_; }
  // Exception "Invalid performance counter name : %s" when the counter cannot be
  // located in the filter's current block; the name stays stored.
  void SetCounterName(const std::string& Value);
  // Kept for the designer only; the item never sets or frees it.
  TPerfCounterType* CounterType() const { return CounterType_; }
  void SetCounterType(TPerfCounterType* Value) { CounterType_ = Value; }

  // --- Positions as they stand (null when absent or stale), without locating
  PPERF_DATA_BLOCK PerfDataBlock() const;
  PPERF_OBJECT_TYPE PerfObjectType() const;
  PPERF_COUNTER_DEFINITION PerfCounterDefinition() const;
  PPERF_COUNTER_DEFINITION PerfCounterDefinition_Base() const;
  PPERF_COUNTER_BLOCK PerfCounterBlock() const;
  PPERF_INSTANCE_DEFINITION PerfInstanceDefinition() const;

  // --- Public read-only properties
  std::string Help() { return GetHelp(); }
  PPERF_COUNTER_DEFINITION CounterDefinition() { return GetCounterDefinition(); }
  bool HasInstances() { return GetHasInstances(); }
  std::int32_t InstanceCount() { return GetInstanceCount(); }
  std::string InstanceNames(std::int32_t Index) { return GetInstanceNames(Index); }
  std::int32_t InstanceUniqueID(std::int32_t Index) { return GetInstanceUniqueID(Index); }

  // The help text of the counter through the filter's help table; empty without one.
  std::string GetHelp();
  // Locates, then the counter definition; Exception "Invalid performance counter name"
  // when the counter is not located.
  PPERF_COUNTER_DEFINITION GetCounterDefinition();
  // Whether the object has instances (NumInstances other than -1, 0 included);
  // locates when the object is not; Exception "Invalid performance object name".
  bool GetHasInstances();
  // Exception "Performance object has no instances" for an object without instances.
  std::int32_t GetInstanceCount();
  std::string GetInstanceNames(std::int32_t Index);
  std::int32_t GetInstanceUniqueID(std::int32_t Index);

  // --- Raw values of the located positions (nothing is located here)
  std::int64_t ObjectTime();
  std::int64_t ObjectFreq();
  std::int64_t CtrAsInteger();
  std::int64_t CtrBaseAsInteger();
  std::string CtrAsString();
  std::int64_t InsCtrAsInteger(std::int32_t Index);
  std::int64_t InsCtrBaseAsInteger(std::int32_t Index);
  std::string InsCtrAsString(std::int32_t Index);
  bool HasBase() const;

  // --- Steps used by the filter and by the item itself
  // Title <-> index translation through Titles(); indexes are -2 while unresolved and
  // -1 for an empty name or one the table lacks.
  void ObjectNameToIdx();
  void ObjectIdxToName();
  void CounterNameToIdx();
  void CounterIdxToName();
  std::int32_t GetObjectIDX();
  std::int32_t GetCounterIDX();
  // Before a locale change: names to indexes in the old locale. After it: indexes to
  // names in the new one; the positions are kept.
  void BeforeChangeLocaleID();
  void AfterChangeLocaleID();

  // Binds the item to a block of the filter's snapshot (the current one): the
  // positions found from it belong to the snapshot's current generation.
  void SetPerfDataBlock(PPERF_DATA_BLOCK Value);
  // Finds object, counter, base counter, counter block and first instance in the
  // bound block (binding to the filter's current block first when unbound). True when
  // the counter was found.
  bool GetCounterBlock();
  // Forgets every position.
  void ResetCounterBlock();

  // Exception "Invalid counter block" / "Invalid counter base block" without the
  // positions a value read needs.
  void CheckCtrBlock();
  void CheckCtrBaseBlock();
  // Exception "Performance object "%s" has no instances" or
  // "Index "%d" out of bounds [%d..%d]".
  void CheckIndex(std::int32_t Index);

  // Free for the user; the library neither reads nor writes it.
  std::intptr_t Data = 0;

 private:
  bool PositionsCurrent() const;
  void ForgetStalePositions();
  TPerfFilter& OwningFilter() const;
  bool IsFilterLoading() const;
  std::int32_t TitleIndexOf(const std::string& Title) const;
  bool CarriesTitle(DWORD TitleIndex, const std::string& Title) const;
  PPERF_OBJECT_TYPE FindObject();
  // The object in a block read again to carry it, for an object the sample leaves out;
  // null when it does not come.
  PPERF_OBJECT_TYPE FindIncludedObject();
  PPERF_COUNTER_DEFINITION FindCounter();
  PPERF_COUNTER_DEFINITION FindBaseCounter() const;
  void LocateCounterBlock();
  PPERF_INSTANCE_DEFINITION InstanceAt(std::int32_t Index);
  PPERF_INSTANCE_DEFINITION CheckedInstance(std::int32_t Index);
  static void CheckReadableSize(PPERF_COUNTER_DEFINITION Definition);
  static std::int64_t ReadValue(PPERF_COUNTER_DEFINITION Definition, PPERF_COUNTER_BLOCK Block);

  TPerfFilter* Filter_;
  PPERF_DATA_BLOCK PDB_ = nullptr;
  PPERF_OBJECT_TYPE POT_ = nullptr;
  PPERF_COUNTER_DEFINITION PCD_ = nullptr;
  PPERF_COUNTER_DEFINITION PCD_Base_ = nullptr;
  PPERF_COUNTER_BLOCK PCB_ = nullptr;
  PPERF_INSTANCE_DEFINITION PID_ = nullptr;
  TPerfCounterType* CounterType_ = nullptr;
  std::string ObjectName_;
  std::int32_t ObjectIDX_ = -2;
  std::string CounterName_;
  std::int32_t CounterIdx_ = -2;

  // The snapshot generation the positions were found in.
  std::uint64_t Generation_ = 0;
  // Every instance of the object, in block order, filled at the first instance read
  // after the item was located.
  std::vector<PPERF_INSTANCE_DEFINITION> Instances_;
};

// A non-visual component holding counter selections of one computer's data.
class GAUGERY_RUNTIME_API TPerfFilter : public TComponent {
 public:
  explicit TPerfFilter(TComponent* AOwner);
  // Destroys the items (each raising OnItemDestroy), the title table, then releases
  // the snapshot. The linked help table is left alone.
  ~TPerfFilter() override;

  // Takes a new sample into the shared snapshot and locates every item in it; items
  // that cannot be located hold no positions afterwards.
  void Collect();
  // Locates every item in the snapshot's current block without taking a new sample
  // (the last step of Collect): for reading the sample another holder of the shared
  // snapshot has just taken. When an item's object had to be brought into the block,
  // every item is located again in the block that carries it.
  void LocateItems();
  // The snapshot's current block, acquiring the snapshot first if needed; no new
  // sample is taken.
  PPERF_DATA_BLOCK GetPerfData();
  PPERF_DATA_BLOCK PerfData() { return GetPerfData(); }
  // Acquires the shared snapshot of ComputerName unless one is held.
  void InitPerfData();
  // The snapshot held, or null before the first need.
  TPerfData* Snapshot() const { return PerfData_; }
  TPerfTitles* Titles() const { return Titles_; }

  // --- Published properties
  const std::string& ComputerName() const { return ComputerName_; }
  // Read only when the snapshot is acquired, and by the title table when it first
  // loads its names, so that the items are named from the computer they read.
  void SetComputerName(const std::string& Value) {
    ComputerName_ = Value;
    Titles_->SetComputerName(Value);
  }
  const std::string& LocaleID() const { return LocaleID_; }
  // Renames the items into the new locale (unless loading) and sets the locale of the
  // title table and of the linked help table.
  void SetLocaleID(const std::string& Value);
  TPerfCounterItems* Items() const { return Items_; }
  // Copies Value's items into this filter's own collection.
  void SetItems(TPerfCounterItems* Value);
  TPerfHelps* GetHelps() const { return Helps_; }
  TPerfHelps* Helps() const { return GetHelps(); }
  // Links a help table; the link is cleared when that table is destroyed.
  void SetHelps(TPerfHelps* Value);
  const TItemNotifyEvent& OnItemDestroy() const { return OnItemDestroy_; }
  void SetOnItemDestroy(TItemNotifyEvent Value) { OnItemDestroy_ = std::move(Value); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // One pass of LocateItems over every item, in the current block.
  void LocateEveryItem();
  void DonePerfData();

  TItemNotifyEvent OnItemDestroy_;
  std::string LocaleID_;
  TPerfCounterItems* Items_ = nullptr;
  std::string ComputerName_;
  TPerfTitles* Titles_ = nullptr;
  TPerfHelps* Helps_ = nullptr;
  TPerfData* PerfData_ = nullptr;
};

}  // namespace gaugery

// The unit's registration routine for the designer (qualified by the unit, as every
// run-time unit exports one).
namespace gaugery::PerfFilterUnit {

// Puts TPerfFilter on the palette page "Gaugery".
GAUGERY_RUNTIME_API void DoRegister();

}  // namespace gaugery::PerfFilterUnit
