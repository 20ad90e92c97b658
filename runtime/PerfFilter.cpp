#include "PerfFilter.h"

#include <cstring>

#include "WinGaugery.h"
#include "framework/Exceptions.h"
#include "framework/Format.h"
#include "framework/TextCompare.h"
#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"

namespace gaugery {

// ---------------------------------------------------------------------------------------
// TPerfCounterItems

TPerfCounterItems::TPerfCounterItems(TPerfFilter* AOwner, TCollectionItemClass AItemClass)
    : TCollection(AItemClass), Owner_(AOwner) {}

TPersistent* TPerfCounterItems::GetOwner() { return Owner_; }

TPerfCounterItem* TPerfCounterItems::Add() { return As<TPerfCounterItem>(TCollection::Add()); }

TPerfCounterItem* TPerfCounterItems::GetCounterItems(int Index) const {
  return As<TPerfCounterItem>(TCollection::Items(Index));
}

// ---------------------------------------------------------------------------------------
// TPerfCounterItem: life, names and indexes

TPerfCounterItem::TPerfCounterItem(TCollection* Collection)
    : TCollectionItem(Collection), Filter_(nullptr) {
  if (auto* Items = dynamic_cast<TPerfCounterItems*>(Collection)) Filter_ = Items->Owner();
}

TPerfCounterItem::~TPerfCounterItem() {
  if (Filter_ == nullptr || !Filter_->OnItemDestroy()) return;
  // A destructor cannot pass an error on; the item goes in any case.
  try {
    Filter_->OnItemDestroy()(Filter_, this);
  } catch (...) {
  }
}

void TPerfCounterItem::Assign(TPersistent* Value) {
  auto* Source = dynamic_cast<TPerfCounterItem*>(Value);
  if (Source == nullptr) throw Exception("Incompatible types");
  SetObjectName(Source->ObjectName());
}

TPerfFilter& TPerfCounterItem::OwningFilter() const {
  if (Filter_ == nullptr) throw Exception("Counter item belongs to no filter");
  return *Filter_;
}

TPerfTitles* TPerfCounterItem::Titles() const { return OwningFilter().Titles(); }

bool TPerfCounterItem::IsFilterLoading() const {
  return Filter_ != nullptr && Filter_->IsLoading();
}

std::int32_t TPerfCounterItem::TitleIndexOf(const std::string& Title) const {
  return StrToInt(Titles()->GetIdxOfItem(Title));
}

void TPerfCounterItem::ObjectNameToIdx() {
  ObjectIDX_ = ObjectName_.empty() ? -1 : TitleIndexOf(ObjectName_);
}

void TPerfCounterItem::CounterNameToIdx() {
  CounterIdx_ = CounterName_.empty() ? -1 : TitleIndexOf(CounterName_);
}

void TPerfCounterItem::ObjectIdxToName() {
  ObjectName_ = ObjectIDX_ == -1 ? std::string() : Titles()->GetItemByIdx(IntToStr(ObjectIDX_));
}

void TPerfCounterItem::CounterIdxToName() {
  CounterName_ = CounterIdx_ == -1 ? std::string() : Titles()->GetItemByIdx(IntToStr(CounterIdx_));
}

std::int32_t TPerfCounterItem::GetObjectIDX() {
  if (ObjectIDX_ < 0) ObjectNameToIdx();
  return ObjectIDX_;
}

std::int32_t TPerfCounterItem::GetCounterIDX() {
  if (CounterIdx_ < 0) CounterNameToIdx();
  return CounterIdx_;
}

void TPerfCounterItem::BeforeChangeLocaleID() {
  ObjectNameToIdx();
  CounterNameToIdx();
}

void TPerfCounterItem::AfterChangeLocaleID() {
  ObjectIdxToName();
  CounterIdxToName();
}

void TPerfCounterItem::SetObjectName(const std::string& Value) {
  if (IsFilterLoading()) {
    ObjectName_ = Value;
    return;
  }
  if (AnsiSameText(Value, ObjectName_)) return;
  ObjectIDX_ = -2;
  SetCounterName("");
  ResetCounterBlock();
  ObjectName_ = Value;
  if (!Value.empty() && GetObjectIDX() < 0) {
    ObjectName_.clear();
    throw Exception(Format("Invalid performance object name : %s", {Value}));
  }
}

void TPerfCounterItem::SetCounterName(const std::string& Value) {
  if (IsFilterLoading()) {
    CounterName_ = Value;
    return;
  }
  if (AnsiSameText(Value, CounterName_)) return;
  CounterName_ = Value;
  CounterIdx_ = -2;
  ResetCounterBlock();
  if (!Value.empty() && !GetCounterBlock()) {
    // A known object that the sample lacks leaves the counter unsearched: the fault
    // is the object's.
    if (POT_ == nullptr && GetObjectIDX() >= 0 && GetCounterIDX() >= 0) {
      throw Exception(Format("Invalid performance object name : %s", {ObjectName_}));
    }
    throw Exception(Format("Invalid performance counter name : %s", {Value}));
  }
}

// ---------------------------------------------------------------------------------------
// TPerfCounterItem: locating

// The snapshot replaces its block only together with a new generation number.
bool TPerfCounterItem::PositionsCurrent() const {
  const TPerfData* Snapshot = Filter_ != nullptr ? Filter_->Snapshot() : nullptr;
  return PDB_ != nullptr && Snapshot != nullptr && Snapshot->Generation() == Generation_;
}

void TPerfCounterItem::ForgetStalePositions() {
  if (PDB_ != nullptr && !PositionsCurrent()) ResetCounterBlock();
}

PPERF_DATA_BLOCK TPerfCounterItem::PerfDataBlock() const {
  return PositionsCurrent() ? PDB_ : nullptr;
}
PPERF_OBJECT_TYPE TPerfCounterItem::PerfObjectType() const {
  return PositionsCurrent() ? POT_ : nullptr;
}
PPERF_COUNTER_DEFINITION TPerfCounterItem::PerfCounterDefinition() const {
  return PositionsCurrent() ? PCD_ : nullptr;
}
PPERF_COUNTER_DEFINITION TPerfCounterItem::PerfCounterDefinition_Base() const {
  return PositionsCurrent() ? PCD_Base_ : nullptr;
}
PPERF_COUNTER_BLOCK TPerfCounterItem::PerfCounterBlock() const {
  return PositionsCurrent() ? PCB_ : nullptr;
}
PPERF_INSTANCE_DEFINITION TPerfCounterItem::PerfInstanceDefinition() const {
  return PositionsCurrent() ? PID_ : nullptr;
}

void TPerfCounterItem::SetPerfDataBlock(PPERF_DATA_BLOCK Value) {
  PDB_ = Value;
  const TPerfData* Snapshot = Filter_ != nullptr ? Filter_->Snapshot() : nullptr;
  Generation_ = Snapshot != nullptr ? Snapshot->Generation() : 0;
}

void TPerfCounterItem::ResetCounterBlock() {
  PDB_ = nullptr;
  POT_ = nullptr;
  PCD_ = nullptr;
  PCD_Base_ = nullptr;
  PCB_ = nullptr;
  PID_ = nullptr;
  Generation_ = 0;
  Instances_.clear();
}

bool TPerfCounterItem::GetCounterBlock() {
  ForgetStalePositions();
  if (GetObjectIDX() < 0 || GetCounterIDX() < 0) return false;
  if (PDB_ == nullptr) {
    OwningFilter().InitPerfData();
    SetPerfDataBlock(OwningFilter().GetPerfData());
  }
  if (POT_ == nullptr) POT_ = FindObject();
  if (POT_ == nullptr) POT_ = FindIncludedObject();
  if (POT_ == nullptr) return false;
  if (PCD_ == nullptr) PCD_ = FindCounter();
  if (PCD_ == nullptr) return false;
  PCD_Base_ = FindBaseCounter();
  LocateCounterBlock();
  return true;
}

// Real name tables list some titles under several indexes, while the index lookup
// gives the first. A record whose index is not the looked-up one but carries the same
// title is the one meant.
bool TPerfCounterItem::CarriesTitle(DWORD TitleIndex, const std::string& Title) const {
  return !Title.empty() && AnsiSameText(Titles()->GetItemByIdx(IntToStr(TitleIndex)), Title);
}

// The first object with the object index; failing that, the first whose index carries
// the object's title, whose index the item then keeps.
PPERF_OBJECT_TYPE TPerfCounterItem::FindObject() {
  const DWORD Count = PDB_->NumObjectTypes;
  for (int Pass = 0; Pass < 2; ++Pass) {
    PPERF_OBJECT_TYPE Object = FirstObject(PDB_);
    for (DWORD I = 0; I < Count; ++I) {
      const DWORD Index = Object->ObjectNameTitleIndex;
      if (Pass == 0 ? Index == static_cast<DWORD>(ObjectIDX_) : CarriesTitle(Index, ObjectName_)) {
        ObjectIDX_ = static_cast<std::int32_t>(Index);
        return Object;
      }
      if (I + 1 < Count) Object = NextObject(Object);
    }
  }
  return nullptr;
}

// The block read again may carry the object under another index of its title, which
// FindObject finds too.
PPERF_OBJECT_TYPE TPerfCounterItem::FindIncludedObject() {
  TPerfData& Snapshot = *OwningFilter().Snapshot();
  const std::uint64_t Before = Snapshot.Generation();
  Snapshot.IncludeObject(static_cast<DWORD>(ObjectIDX_));
  if (Snapshot.Generation() == Before) return nullptr;
  SetPerfDataBlock(Snapshot.PerfData());
  return FindObject();
}

// Counters are found like objects, within the item's object.
PPERF_COUNTER_DEFINITION TPerfCounterItem::FindCounter() {
  const DWORD Count = POT_->NumCounters;
  for (int Pass = 0; Pass < 2; ++Pass) {
    PPERF_COUNTER_DEFINITION Counter = FirstCounter(POT_);
    for (DWORD I = 0; I < Count; ++I) {
      const DWORD Index = Counter->CounterNameTitleIndex;
      if (Pass == 0 ? Index == static_cast<DWORD>(CounterIdx_)
                    : CarriesTitle(Index, CounterName_)) {
        CounterIdx_ = static_cast<std::int32_t>(Index);
        return Counter;
      }
      if (I + 1 < Count) Counter = NextCounter(Counter);
    }
  }
  return nullptr;
}

// A fraction counter's base is the definition right after it, when that one is a base.
PPERF_COUNTER_DEFINITION TPerfCounterItem::FindBaseCounter() const {
  if (!TakesBaseCounter(PCD_->CounterType)) return nullptr;
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(POT_);
  for (DWORD I = 0; I + 1 < POT_->NumCounters; ++I, Counter = NextCounter(Counter)) {
    if (Counter != PCD_) continue;
    const PPERF_COUNTER_DEFINITION Next = NextCounter(Counter);
    return ServesAsBase(Next->CounterType) ? Next : nullptr;
  }
  return nullptr;
}

void TPerfCounterItem::LocateCounterBlock() {
  Instances_.clear();
  if (POT_->NumInstances > 0) {
    PID_ = FirstInstance(POT_);
    PCB_ = InstanceBlock(PID_);
  } else {
    PID_ = nullptr;
    PCB_ = ObjectBlock(POT_);
  }
}

// ---------------------------------------------------------------------------------------
// TPerfCounterItem: object, counter and instances

std::string TPerfCounterItem::GetHelp() {
  std::string Result;
  GetCounterBlock();
  TPerfHelps* Helps = OwningFilter().GetHelps();
  if (PCD_ != nullptr && Helps != nullptr) {
    Result = Helps->GetItemByIdx(IntToStr(PCD_->CounterHelpTitleIndex));
  }
  return Result;
}

PPERF_COUNTER_DEFINITION TPerfCounterItem::GetCounterDefinition() {
  GetCounterBlock();
  if (PCD_ == nullptr) throw Exception("Invalid performance counter name");
  return PCD_;
}

bool TPerfCounterItem::GetHasInstances() {
  ForgetStalePositions();
  if (POT_ == nullptr) GetCounterBlock();
  if (POT_ == nullptr) throw Exception("Invalid performance object name");
  return POT_->NumInstances != PERF_NO_INSTANCES;
}

std::int32_t TPerfCounterItem::GetInstanceCount() {
  if (!GetHasInstances()) throw Exception("Performance object has no instances");
  return POT_->NumInstances;
}

void TPerfCounterItem::CheckIndex(std::int32_t Index) {
  if (!GetHasInstances()) {
    throw Exception(Format("Performance object \"%s\" has no instances", {ObjectName_}));
  }
  const std::int64_t Count = POT_->NumInstances;
  if (Index >= 0 && Index < Count) return;
  throw Exception(Format("Index \"%d\" out of bounds [%d..%d]", {Index, 0, Count - 1}));
}

// The instance at a checked index, from the list built once per located block.
PPERF_INSTANCE_DEFINITION TPerfCounterItem::InstanceAt(std::int32_t Index) {
  if (Instances_.empty()) {
    const auto Count = static_cast<std::size_t>(POT_->NumInstances);
    Instances_.reserve(Count);
    Instances_.push_back(PID_);
    while (Instances_.size() < Count) Instances_.push_back(NextInstance(Instances_.back()));
  }
  return Instances_[static_cast<std::size_t>(Index)];
}

// The first instance is known only when the counter was located too; without it
// there is nothing to walk from.
PPERF_INSTANCE_DEFINITION TPerfCounterItem::CheckedInstance(std::int32_t Index) {
  CheckIndex(Index);
  if (PCD_ == nullptr || PID_ == nullptr) throw Exception("Invalid counter block");
  return InstanceAt(Index);
}

std::string TPerfCounterItem::GetInstanceNames(std::int32_t Index) {
  return PerfInstName(CheckedInstance(Index));
}

std::int32_t TPerfCounterItem::GetInstanceUniqueID(std::int32_t Index) {
  return CheckedInstance(Index)->UniqueID;
}

// ---------------------------------------------------------------------------------------
// TPerfCounterItem: raw values

void TPerfCounterItem::CheckCtrBlock() {
  ForgetStalePositions();
  if (PCD_ == nullptr || PCB_ == nullptr) throw Exception("Invalid counter block");
}

void TPerfCounterItem::CheckCtrBaseBlock() {
  ForgetStalePositions();
  if (PCD_Base_ == nullptr || PCB_ == nullptr) throw Exception("Invalid counter base block");
}

void TPerfCounterItem::CheckReadableSize(PPERF_COUNTER_DEFINITION Definition) {
  if (!HasReadableSize(Definition->CounterType)) throw Exception("Invalid counter block size");
}

// 8-byte values as stored (signed), 4-byte values widened with zeros. The callers have
// checked the definition's size bits with CheckReadableSize.
std::int64_t TPerfCounterItem::ReadValue(PPERF_COUNTER_DEFINITION Definition,
                                         PPERF_COUNTER_BLOCK Block) {
  const void* Value = OffsetPointer(Block, Definition->CounterOffset);
  switch (Definition->CounterSize) {
    case 8: {
      std::int64_t Large;
      std::memcpy(&Large, Value, sizeof Large);
      return Large;
    }
    case 4: {
      std::uint32_t Small;
      std::memcpy(&Small, Value, sizeof Small);
      return Small;
    }
    default:
      throw Exception("Invalid counter block size");
  }
}

std::int64_t TPerfCounterItem::ObjectTime() {
  CheckCtrBlock();
  return POT_->PerfTime;
}

std::int64_t TPerfCounterItem::ObjectFreq() {
  CheckCtrBlock();
  return POT_->PerfFreq;
}

std::int64_t TPerfCounterItem::CtrAsInteger() {
  CheckCtrBlock();
  if (GetHasInstances()) throw Exception("Instance not specified");
  CheckReadableSize(PCD_);
  return ReadValue(PCD_, PCB_);
}

std::int64_t TPerfCounterItem::CtrBaseAsInteger() {
  CheckCtrBaseBlock();
  if (GetHasInstances()) throw Exception("Instance not specified");
  CheckReadableSize(PCD_Base_);
  return ReadValue(PCD_Base_, PCB_);
}

std::string TPerfCounterItem::CtrAsString() {
  CheckCtrBlock();
  if (GetHasInstances()) throw Exception("Instance not specified");
  return {};
}

std::int64_t TPerfCounterItem::InsCtrAsInteger(std::int32_t Index) {
  CheckCtrBlock();
  CheckReadableSize(PCD_);
  return ReadValue(PCD_, InstanceBlock(CheckedInstance(Index)));
}

std::int64_t TPerfCounterItem::InsCtrBaseAsInteger(std::int32_t Index) {
  CheckCtrBaseBlock();
  CheckReadableSize(PCD_Base_);
  return ReadValue(PCD_Base_, InstanceBlock(CheckedInstance(Index)));
}

std::string TPerfCounterItem::InsCtrAsString(std::int32_t /*Index*/) {
  CheckCtrBlock();
  if (!GetHasInstances()) throw Exception("No instances");
  return {};
}

bool TPerfCounterItem::HasBase() const { return PositionsCurrent() && PCD_Base_ != nullptr; }

// ---------------------------------------------------------------------------------------
// TPerfFilter

TPerfFilter::TPerfFilter(TComponent* AOwner) : TComponent(AOwner) {
  Items_ = new TPerfCounterItems(this, &CollectionItemClass<TPerfCounterItem>);
  try {
    Titles_ = new TPerfTitles(nullptr);
  } catch (...) {
    delete Items_;
    throw;
  }
}

TPerfFilter::~TPerfFilter() {
  delete Items_;
  Items_ = nullptr;
  delete Titles_;
  Titles_ = nullptr;
  DonePerfData();
}

void TPerfFilter::InitPerfData() {
  if (PerfData_ == nullptr) PerfData_ = GetGlobalPerfData(ComputerName_);
}

void TPerfFilter::DonePerfData() {
  if (PerfData_ != nullptr) ReleaseGlobalPerfData(PerfData_);
  PerfData_ = nullptr;
}

PPERF_DATA_BLOCK TPerfFilter::GetPerfData() {
  InitPerfData();
  return PerfData_->PerfData();
}

void TPerfFilter::Collect() {
  InitPerfData();
  PerfData_->Refresh();
  LocateItems();
}

void TPerfFilter::LocateItems() {
  GetPerfData();
  const std::uint64_t Generation = PerfData_->Generation();
  LocateEveryItem();
  // The items before the one whose object was brought in hold positions in the block
  // it replaced. One more pass is enough: what came stays in the value, what did not is
  // not asked for again; only a source whose objects come and go could change the block
  // once more, and is then not chased further.
  if (PerfData_->Generation() != Generation) LocateEveryItem();
}

void TPerfFilter::LocateEveryItem() {
  const PPERF_DATA_BLOCK Block = GetPerfData();
  for (int I = 0; I < Items_->Count(); ++I) {
    TPerfCounterItem* Item = Items_->GetCounterItems(I);
    Item->ResetCounterBlock();
    Item->SetPerfDataBlock(Block);
    if (!Item->GetCounterBlock()) Item->ResetCounterBlock();
  }
}

void TPerfFilter::SetLocaleID(const std::string& Value) {
  const bool Renames = !IsLoading();
  if (Renames) {
    for (int I = 0; I < Items_->Count(); ++I) Items_->GetCounterItems(I)->BeforeChangeLocaleID();
  }
  Titles_->SetLocaleID(Value);
  if (Helps_ != nullptr) Helps_->SetLocaleID(Value);
  LocaleID_ = Value;
  if (Renames) {
    for (int I = 0; I < Items_->Count(); ++I) Items_->GetCounterItems(I)->AfterChangeLocaleID();
  }
}

void TPerfFilter::SetItems(TPerfCounterItems* Value) { Items_->Assign(Value); }

void TPerfFilter::SetHelps(TPerfHelps* Value) { LinkComponent(*this, Helps_, Value); }

void TPerfFilter::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == Helps_) Helps_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Published properties

namespace {

[[maybe_unused]] const bool Described = [] {
  RegisterPersistentClass<TPerfCounterItem>(
      "TPerfCounterItem",
      {StringProperty<TPerfCounterItem>("ObjectName", &TPerfCounterItem::ObjectName,
                                        &TPerfCounterItem::SetObjectName),
       StringProperty<TPerfCounterItem>("CounterName", &TPerfCounterItem::CounterName,
                                        &TPerfCounterItem::SetCounterName),
       ObjectProperty<TPerfCounterItem, TPerfCounterType>(
           "CounterType", &TPerfCounterItem::CounterType, &TPerfCounterItem::SetCounterType)});
  RegisterComponentClass<TPerfFilter>(
      "TPerfFilter",
      {StringProperty<TPerfFilter>("ComputerName", &TPerfFilter::ComputerName,
                                   &TPerfFilter::SetComputerName),
       StringProperty<TPerfFilter>("LocaleID", &TPerfFilter::LocaleID, &TPerfFilter::SetLocaleID),
       CollectionProperty<TPerfFilter, TPerfCounterItem>("Items", &TPerfFilter::Items),
       ComponentProperty<TPerfFilter, TPerfHelps>("Helps", &TPerfFilter::GetHelps,
                                                  &TPerfFilter::SetHelps)});
  return true;
}();

}  // namespace

namespace PerfFilterUnit {

void DoRegister() { RegisterComponents("Gaugery", {"TPerfFilter"}); }

}  // namespace PerfFilterUnit

}  // namespace gaugery
