#include "PerfMonitor.h"

#include "PerfCounterType.h"
#include "framework/Exceptions.h"
#include "framework/Format.h"
#include "framework/TextCompare.h"
#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"
#include "framework/WinTime.h"

namespace gaugery {

// ---------------------------------------------------------------------------------------
// TPerfMonitorCounterValue: recording and computing

namespace {

// Rates count per 100 ns; this turns them into counts per second.
constexpr Extended kUnitsPerSecond = 10000000;

// Differences of raw values wrap around like the machine's 64-bit arithmetic (a
// counter that wrapped gives a negative difference), without the undefined behaviour
// of signed overflow.
std::int64_t Difference(std::int64_t Minuend, std::int64_t Subtrahend) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(Minuend) -
                                   static_cast<std::uint64_t>(Subtrahend));
}

Extended Quotient(std::int64_t Dividend, std::int64_t Divisor) {
  return Divisor == 0 ? 0 : static_cast<Extended>(Dividend) / static_cast<Extended>(Divisor);
}

[[noreturn]] void RaiseTextCounter() { throw Exception("Invalid counter type"); }

[[noreturn]] void RaiseBaseCounter() {
  throw Exception("Gaugery Internal error (Perf_COUNTER_BASE)");
}

}  // namespace

TPerfMonitorCounterValue::~TPerfMonitorCounterValue() {
  if (!OnDestroy_) return;
  // A destructor cannot pass an error on; the record goes in any case.
  try {
    OnDestroy_(this);
  } catch (...) {
  }
}

void TPerfMonitorCounterValue::Record(bool First, DWORD Type, const TSampleTimes& Times,
                                      std::int64_t RawCounter, std::int64_t RawBase) {
  const bool Delta = IsDeltaCounter(Type);
  if (Delta && !First) {
    PrevCounter_ = Counter_;
    if (HasBase_) PrevBase_ = Base_;
    PrevAvailable_ = true;
  }
  SysTime_ = Times.SysTime;
  DeltaSysTime_ = Times.DeltaSysTime;
  TotalSysTime_ = Times.TotalSysTime;
  Counter_ = RawCounter;
  CounterType_ = Type;
  if (HasBase_) Base_ = RawBase;
  ++RefreshCount_;
  if (Delta && First) {
    FirstCounter_ = Counter_;
    if (HasBase_) FirstBase_ = Base_;
  }
}

// The value of a counter-type word, before inversion and display scaling. Reference and
// ReferenceBase are the sample the difference is taken to, Elapsed the time between.
Extended TPerfMonitorCounterValue::CounterFloat(std::int64_t Reference, std::int64_t ReferenceBase,
                                                std::int64_t Elapsed) const {
  const bool Delta = IsDeltaCounter(CounterType_);
  const std::int64_t Count = Delta ? Difference(Counter_, Reference) : Counter_;
  const std::int64_t BaseCount = !HasBase_ ? 0 : Delta ? Difference(Base_, ReferenceBase) : Base_;
  switch (CounterKindOf(CounterType_)) {
    case TCounterKind::CounterValue:
      return static_cast<Extended>(Count);
    case TCounterKind::Rate:
      return Quotient(Count, Elapsed);
    case TCounterKind::Fraction:
      return Quotient(Count, BaseCount);
    case TCounterKind::Base:
      RaiseBaseCounter();
    case TCounterKind::Elapsed:
      // Against the time stamp of the sample the value comes from, not the clock: a
      // replayed or logged sample then shows the age it had when it was taken.
      return static_cast<Extended>(Difference(SysTime_, Count)) / kUnitsPerSecond;
    case TCounterKind::QueueLength:
      return -4.0;
    case TCounterKind::Histogram:
      return -5.0;
    default:  // a subtype no counter has
      return 0.0;
  }
}

Extended TPerfMonitorCounterValue::ComputeFloat(std::int64_t Reference, std::int64_t ReferenceBase,
                                                std::int64_t Elapsed) const {
  Extended Value = 0.0;
  switch (CounterCategoryOf(CounterType_)) {
    case TCounterCategory::Number:
      Value = static_cast<Extended>(Counter_);
      break;
    case TCounterCategory::Counter:
      Value = CounterFloat(Reference, ReferenceBase, Elapsed);
      break;
    case TCounterCategory::Text:
      RaiseTextCounter();
    case TCounterCategory::Zero:
      break;
  }
  if (IsInverseCounter(CounterType_)) Value = 1.0 - Value;
  switch (CounterDisplayOf(CounterType_)) {
    case TCounterDisplay::PerSecond:
      return Value * kUnitsPerSecond;
    case TCounterDisplay::Percent:
      return Value * 100;
    default:
      return Value;
  }
}

Extended TPerfMonitorCounterValue::GetAsFloat() const {
  return ComputeFloat(PrevCounter_, PrevBase_, DeltaSysTime_);
}

Extended TPerfMonitorCounterValue::GetAvgAsFloat() const {
  return ComputeFloat(FirstCounter_, FirstBase_, TotalSysTime_);
}

std::int64_t TPerfMonitorCounterValue::GetAsInteger() const {
  switch (CounterKindOf(CounterType_)) {
    case TCounterKind::HexNumber:
    case TCounterKind::DecimalNumber:
    case TCounterKind::ThousandthsNumber:
    case TCounterKind::OtherNumber:
    case TCounterKind::CounterValue:
      return Counter_;
    case TCounterKind::Rate:
      return -1;
    case TCounterKind::Fraction:
      return -2;
    case TCounterKind::Base:
      RaiseBaseCounter();
    case TCounterKind::Elapsed:
      return -3;
    case TCounterKind::QueueLength:
      return -4;
    case TCounterKind::Histogram:
      return -5;
    case TCounterKind::Text:
      RaiseTextCounter();
    default:  // a subtype no counter has, and zero counters
      return 0;
  }
}

// The text of the current or the average value. The value is computed only where the
// text shows it: hexadecimal numbers show the integer value, zero counters nothing.
std::string TPerfMonitorCounterValue::Text(bool Average) const {
  const auto Value = [&] { return Average ? GetAvgAsFloat() : GetAsFloat(); };
  switch (CounterKindOf(CounterType_)) {
    case TCounterKind::HexNumber:
      return Format("%x", {GetAsInteger()});
    case TCounterKind::DecimalNumber:
      return Format("%.0f", {Value()});
    case TCounterKind::ThousandthsNumber:
      return Format("%.3f", {Value() / 1000});
    case TCounterKind::OtherNumber:
      return {};
    case TCounterKind::Text:
      RaiseTextCounter();
    case TCounterKind::Zero:
      return "0";
    default:  // every kind of counter
      return Format("%f", {Value()});
  }
}

// ---------------------------------------------------------------------------------------
// Object keys

void ParseKey(const std::string& Key, TStringList* Strings) {
  Strings->Clear();
  std::string Piece;
  for (char C : Key) {
    if (C != ';') {
      Piece += C;
      continue;
    }
    if (!Piece.empty()) Strings->Add(Piece);
    Piece.clear();
  }
  if (!Piece.empty()) Strings->Add(Piece);
}

namespace {

// Instance names end at their first NUL, so the NUL cannot occur in either text.
std::string ExactKey(const std::string& InstanceName, const std::string& KeyValue) {
  std::string Key = InstanceName;
  Key += '\0';
  Key += KeyValue;
  return Key;
}

// Two instances match when their names and their key values compare equal ignoring
// case; the sort keys are equal exactly then. The name's key is length-prefixed so that
// the two parts cannot run into each other.
std::string FoldedKey(const std::string& InstanceName, const std::string& KeyValue) {
  const std::string Name = AnsiSortKey(InstanceName);
  return std::to_string(Name.size()) + ':' + Name + AnsiSortKey(KeyValue);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TPerfMonitorItems

TPerfMonitorItems::TPerfMonitorItems(TPerfMonitor* AOwner, TCollectionItemClass AItemClass)
    : TCollection(AItemClass), Owner_(AOwner) {}

TPersistent* TPerfMonitorItems::GetOwner() { return Owner_; }

TPerfMonitorItem* TPerfMonitorItems::Add() { return As<TPerfMonitorItem>(TCollection::Add()); }

TPerfMonitorItem* TPerfMonitorItems::GetMonitorItems(int Index) const {
  return As<TPerfMonitorItem>(TCollection::Items(Index));
}

// ---------------------------------------------------------------------------------------
// TPerfMonitorItem: life and names

TPerfMonitorItem::TPerfMonitorItem(TCollection* Collection) : TCollectionItem(Collection) {
  if (auto* Items = dynamic_cast<TPerfMonitorItems*>(Collection)) Monitor_ = Items->Owner();
}

// The records go first, while the item is whole for their OnDestroy handlers.
TPerfMonitorItem::~TPerfMonitorItem() {
  FreeRecords();
  FreeKeyCounters();
  delete Counter_;
  Counter_ = nullptr;
}

void TPerfMonitorItem::Assign(TPersistent* Source) {
  auto* Item = dynamic_cast<TPerfMonitorItem*>(Source);
  if (Item == nullptr) throw Exception("Incompatible types");
  SetObjectName(Item->GetObjectName());
  SetCounterName(Item->GetCounterName());
  KeepObjectKey(Item->KeyText());
}

TPerfMonitor& TPerfMonitorItem::OwningMonitor() const {
  if (Monitor_ == nullptr) throw Exception("Monitor item belongs to no monitor");
  return *Monitor_;
}

bool TPerfMonitorItem::IsMonitorLoading() const {
  return Monitor_ != nullptr && Monitor_->IsLoading();
}

TPerfCounterItem* TPerfMonitorItem::Counter() {
  if (Counter_ == nullptr) {
    Counter_ = OwningMonitor().Filter()->Items()->Add();
    Counter_->SetObjectName(ObjectName_);
    Counter_->SetCounterName(CounterName_);
  }
  return Counter_;
}

std::string TPerfMonitorItem::GetObjectName() {
  return IsMonitorLoading() ? ObjectName_ : Counter()->ObjectName();
}

void TPerfMonitorItem::SetObjectName(const std::string& Value) {
  ObjectName_ = Value;
  if (!IsMonitorLoading()) Counter()->SetObjectName(Value);
}

std::string TPerfMonitorItem::GetCounterName() {
  return IsMonitorLoading() ? CounterName_ : Counter()->CounterName();
}

void TPerfMonitorItem::SetCounterName(const std::string& Value) {
  CounterName_ = Value;
  if (!IsMonitorLoading()) Counter()->SetCounterName(Value);
}

TPerfCounterType* TPerfMonitorItem::GetCounterType() { return Counter()->CounterType(); }

void TPerfMonitorItem::SetCounterType(TPerfCounterType* Value) { Counter()->SetCounterType(Value); }

// ---------------------------------------------------------------------------------------
// TPerfMonitorItem: object key

std::string TPerfMonitorItem::GetObjectKey() {
  if (IsMonitorLoading()) return ObjectKey_;
  CreateKeyCounters();
  return KeyText();
}

void TPerfMonitorItem::SetObjectKey(const std::string& Value) {
  if (Value == ObjectKey_) return;
  ObjectKey_ = Value;
  if (IsMonitorLoading()) return;
  FreeKeyCounters();
  CreateKeyCounters();
}

std::string TPerfMonitorItem::KeyText() const {
  if (!KeyCounters_) return ObjectKey_;
  std::string Key;
  for (std::size_t I = 0; I < KeyCounters_->size(); ++I) {
    if (I > 0) Key += ';';
    Key += (*KeyCounters_)[I]->CounterName();
  }
  return Key;
}

void TPerfMonitorItem::KeepObjectKey(const std::string& Value) {
  if (Value == ObjectKey_) return;
  ObjectKey_ = Value;
  FreeKeyCounters();
}

// A key counter whose names are refused is freed again: only the ones before it stay,
// and the list counts as built.
void TPerfMonitorItem::CreateKeyCounters() {
  if (KeyCounters_) return;
  KeyCounters_.emplace();
  TStringList Names;
  ParseKey(ObjectKey_, &Names);
  if (Names.Count() == 0) return;
  const std::string Object = GetObjectName();
  for (int I = 0; I < Names.Count(); ++I) {
    TPerfCounterItem* Key = OwningMonitor().Filter()->Items()->Add();
    try {
      Key->SetObjectName(Object);
      Key->SetCounterName(Names.Strings(I));
    } catch (...) {
      delete Key;
      throw;
    }
    KeyCounters_->push_back(Key);
  }
}

void TPerfMonitorItem::FreeKeyCounters() {
  if (!KeyCounters_) return;
  for (TPerfCounterItem* Key : *KeyCounters_) delete Key;
  KeyCounters_.reset();
}

// A locale change never fails because of a name: a backing item whose names are refused
// stays with the names it took, and a key that is still text is renamed piece by piece,
// a piece the old locale does not know (or the new one has no title for) staying as
// written.
TKeyTitles TPerfMonitorItem::BeforeChangeLocaleID(TPerfTitles& Titles) {
  try {
    Counter();
  } catch (const Exception&) {
  }
  TKeyTitles Pieces;
  if (KeyCounters_) return Pieces;
  TStringList Names;
  ParseKey(ObjectKey_, &Names);
  for (int I = 0; I < Names.Count(); ++I) {
    Pieces.push_back({Names.Strings(I), Titles.GetIdxOfItem(Names.Strings(I))});
  }
  return Pieces;
}

void TPerfMonitorItem::AfterChangeLocaleID(TPerfTitles& Titles, const TKeyTitles& Pieces) {
  if (KeyCounters_ || Pieces.empty()) return;
  std::string Key;
  for (const auto& [Name, Idx] : Pieces) {
    const std::string Renamed = Idx == "-1" ? std::string() : Titles.GetItemByIdx(Idx);
    if (!Key.empty()) Key += ';';
    Key += Renamed.empty() ? Name : Renamed;
  }
  ObjectKey_ = Key;
}

// ---------------------------------------------------------------------------------------
// TPerfMonitorItem: collecting

bool TPerfMonitorItem::HasInstances() { return Counter()->HasInstances(); }

void TPerfMonitorItem::Collect() {
  InstanceRecords_.clear();
  if (HasInstances()) {
    CollectInstances();
    return;
  }
  // The first sample of the record is recorded twice: as its first, then as usual.
  if (!NoInstanceValue_) {
    NoInstanceValue_ = std::make_unique<TPerfMonitorCounterValue>();
    NoInstanceValue_->HasBase_ = Counter()->HasBase();
    CollectNoInstanceValue(NoInstanceValue_.get(), true);
  }
  CollectNoInstanceValue(NoInstanceValue_.get(), false);
}

namespace {

// Reads the instance names of a backing item, through the list shared by the items on
// the same object when there is one. A name lasts until the next one is read.
class TInstanceNames {
 public:
  TInstanceNames(TPerfCounterItem* Backing, std::vector<std::string>* Shared)
      : Backing_(Backing), Shared_(Shared) {}

  const std::string& operator()(std::int32_t Index) {
    if (Shared_ == nullptr) {
      Own_ = Backing_->GetInstanceNames(Index);
      return Own_;
    }
    const auto At = static_cast<std::size_t>(Index);
    while (Shared_->size() <= At) {
      Shared_->push_back(Backing_->GetInstanceNames(static_cast<std::int32_t>(Shared_->size())));
    }
    return (*Shared_)[At];
  }

 private:
  TPerfCounterItem* Backing_;
  std::vector<std::string>* Shared_;
  std::string Own_;
};

}  // namespace

// Every instance of the sample is recorded into the first record (in order of first
// appearance) whose name and key value match its own ignoring case, or into a new one;
// records no instance matched go afterwards.
void TPerfMonitorItem::CollectInstances() {
  CreateKeyCounters();
  ++SampleNumber_;  // no record counts as used in this sample yet
  TPerfCounterItem* Backing = Counter();
  const std::int32_t Count = Backing->GetInstanceCount();
  // One counter definition serves the whole sample. Taken first, so that a counter gone
  // from the sample fails as it does for an object without instances.
  const DWORD Type = Count > 0 ? CurrentCounterType() : 0;
  TInstanceNames Names(Backing, OwningMonitor().SharedInstanceNames(Backing));
  std::size_t Used = 0;
  std::size_t Cursor = 0;
  for (std::int32_t Index = 0; Index < Count; ++Index) {
    const std::string Key = KeyValue(Index);
    const std::string& Name = Names(Index);
    std::string Folded;
    TPerfMonitorCounterValue* Record = FindRecord(Name, Key, Cursor, Folded);
    const bool First = Record == nullptr;
    if (First) Record = AddRecord(Name, Key, std::move(Folded));
    RecordValue(Record, Index, First, Type);
    InstanceRecords_.push_back(Record);
    if (Record->UsedIn_ != SampleNumber_) ++Used;
    Record->UsedIn_ = SampleNumber_;
  }
  RetireUnusedRecords(Used);
}

std::string TPerfMonitorItem::KeyValue(std::int32_t Index) {
  std::string Value;
  for (std::size_t I = 0; I < KeyCounters_->size(); ++I) {
    if (I > 0) Value += ';';
    Value += IntToStr((*KeyCounters_)[I]->InsCtrAsInteger(Index));
  }
  return Value;
}

// No two records match each other ignoring case (a record is only made when none
// matches), so a record with exactly the instance's texts is the one to find.
// Instances mostly come in the order of the records: the record at Cursor, and the one
// before it for a repeated instance, are tried first; Cursor then moves past the record
// found.
TPerfMonitorCounterValue* TPerfMonitorItem::FindRecord(const std::string& Name,
                                                       const std::string& Key, std::size_t& Cursor,
                                                       std::string& FoldedKeyOut) {
  for (const std::size_t At : {Cursor, Cursor - 1}) {
    if (At >= Records_.size()) continue;
    TPerfMonitorCounterValue* Record = Records_[At];
    if (Record->InstanceName_ == Name && Record->ObjectKeyValue_ == Key) {
      Cursor = At + 1;
      return Record;
    }
  }
  TPerfMonitorCounterValue* Found = IndexedRecord(Name, Key, FoldedKeyOut);
  if (Found != nullptr) Cursor = Found->Position_ + 1;
  return Found;
}

// FoldedKey receives the folded key when it had to be computed.
TPerfMonitorCounterValue* TPerfMonitorItem::IndexedRecord(const std::string& Name,
                                                          const std::string& Key,
                                                          std::string& FoldedKeyOut) {
  const auto Exact = ExactIndex_.find(ExactKey(Name, Key));
  if (Exact != ExactIndex_.end()) return Exact->second;
  FoldedKeyOut = FoldedKey(Name, Key);
  const auto Folded = FoldedIndex_.find(FoldedKeyOut);
  return Folded != FoldedIndex_.end() ? Folded->second : nullptr;
}

TPerfMonitorCounterValue* TPerfMonitorItem::AddRecord(const std::string& Name,
                                                      const std::string& Key, std::string Folded) {
  auto Record = std::make_unique<TPerfMonitorCounterValue>();
  Record->InstanceName_ = Name;
  Record->ObjectKeyValue_ = Key;
  Record->PrevAvailable_ = false;
  Record->HasBase_ = Counter()->HasBase();
  Record->FoldedKey_ = std::move(Folded);
  Record->Position_ = Records_.size();
  Records_.push_back(Record.get());
  TPerfMonitorCounterValue* Added = Record.release();
  ExactIndex_.emplace(ExactKey(Name, Key), Added);
  FoldedIndex_.emplace(Added->FoldedKey_, Added);
  return Added;
}

// Unused records go from the last to the first. They leave the list before the first
// is freed, so that OnDestroy handlers see only records that stay. Used is the number
// of records matched in this sample.
void TPerfMonitorItem::RetireUnusedRecords(std::size_t Used) {
  if (Used == Records_.size()) return;
  std::vector<TPerfMonitorCounterValue*> Kept;
  std::vector<TPerfMonitorCounterValue*> Retired;
  Kept.reserve(Used);
  for (TPerfMonitorCounterValue* Record : Records_) {
    if (Record->UsedIn_ != SampleNumber_) {
      Retired.push_back(Record);
      continue;
    }
    Record->Position_ = Kept.size();
    Kept.push_back(Record);
  }
  Records_ = std::move(Kept);
  for (auto Record = Retired.rbegin(); Record != Retired.rend(); ++Record) {
    ExactIndex_.erase(ExactKey((*Record)->InstanceName_, (*Record)->ObjectKeyValue_));
    FoldedIndex_.erase((*Record)->FoldedKey_);
    delete *Record;
  }
}

void TPerfMonitorItem::FreeRecords() {
  std::vector<TPerfMonitorCounterValue*> Doomed = std::move(Records_);
  Records_.clear();
  InstanceRecords_.clear();
  ExactIndex_.clear();
  FoldedIndex_.clear();
  for (TPerfMonitorCounterValue* Record : Doomed) delete Record;
  NoInstanceValue_.reset();
}

// The counter type of the located definition; locating again only when the positions
// are gone, since locating drops the counter item's list of instances.
DWORD TPerfMonitorItem::CurrentCounterType() {
  TPerfCounterItem* Backing = Counter();
  PPERF_COUNTER_DEFINITION Definition = Backing->PerfCounterDefinition();
  if (Definition == nullptr) Definition = Backing->GetCounterDefinition();
  return Definition->CounterType;
}

void TPerfMonitorItem::CollectValue(TPerfMonitorCounterValue* Value, std::int32_t Index,
                                    bool First) {
  RecordValue(Value, Index, First, CurrentCounterType());
}

void TPerfMonitorItem::RecordValue(TPerfMonitorCounterValue* Value, std::int32_t Index, bool First,
                                   DWORD Type) {
  TPerfCounterItem* Backing = Counter();
  const std::int64_t Raw = Backing->InsCtrAsInteger(Index);
  const std::int64_t Base = Value->HasBase_ ? Backing->InsCtrBaseAsInteger(Index) : 0;
  Value->Record(First, Type, OwningMonitor().SampleTimes(), Raw, Base);
}

void TPerfMonitorItem::CollectNoInstanceValue(TPerfMonitorCounterValue* Value, bool First) {
  const DWORD Type = CurrentCounterType();
  TPerfCounterItem* Backing = Counter();
  const std::int64_t Raw = Backing->CtrAsInteger();
  const std::int64_t Base = Value->HasBase_ ? Backing->CtrBaseAsInteger() : 0;
  Value->Record(First, Type, OwningMonitor().SampleTimes(), Raw, Base);
}

// ---------------------------------------------------------------------------------------
// TPerfMonitorItem: reading

PPERF_COUNTER_DEFINITION TPerfMonitorItem::GetCounterDefinition() {
  return Counter()->GetCounterDefinition();
}

std::int32_t TPerfMonitorItem::GetInstanceCount() { return Counter()->GetInstanceCount(); }

std::string TPerfMonitorItem::GetSuffix() {
  return std::string(DisplaySuffix(GetCounterDefinition()->CounterType));
}

TPerfMonitorCounterValue* TPerfMonitorItem::GetInstanceValues(std::int32_t Index) {
  if (!HasInstances()) return NoInstanceValue_.get();
  if (Index < 0 || Index >= InstanceValueCount()) RaiseListIndexError(Index);
  return Records_[static_cast<std::size_t>(Index)];
}

TPerfMonitorCounterValue* TPerfMonitorItem::RecordOfInstance(std::int32_t Index) const {
  const auto At = static_cast<std::size_t>(Index);
  return Index >= 0 && At < InstanceRecords_.size() ? InstanceRecords_[At] : nullptr;
}

// ---------------------------------------------------------------------------------------
// TPerfMonitor

TPerfMonitor::TPerfMonitor(TComponent* AOwner)
    : TComponent(AOwner),
      Filter_(std::make_unique<TPerfFilter>(nullptr)),
      Items_(new TPerfMonitorItems(this, &CollectionItemClass<TPerfMonitorItem>)) {}

TPerfMonitor::~TPerfMonitor() {
  delete Items_;
  Items_ = nullptr;
  Filter_.reset();
}

void TPerfMonitor::Collect() {
  Filter_->Collect();
  TakeSampleTime();
  for (int I = 0; I < Items_->Count(); ++I) Items_->GetMonitorItems(I)->Collect();
}

// A SystemTime that is no valid calendar time leaves the time stamp as it was, so
// that the sample has an elapsed time of 0 rather than one counted from 1601.
void TPerfMonitor::TakeSampleTime() {
  PrevSysTime_ = SysTime_;
  const SYSTEMTIME Time = Filter_->Snapshot()->SystemTime();
  FILETIME Stamp = Int64ToFileTime(SysTime_);
  SystemTimeToFileTime(&Time, &Stamp);
  SysTime_ = FileTimeToInt64(Stamp);
  if (JustCreated_) {
    FirstSysTime_ = SysTime_;
    JustCreated_ = false;
  }
  DeltaSysTime_ = SysTime_ - PrevSysTime_;
  TotalSysTime_ = SysTime_ - FirstSysTime_;
}

std::vector<std::string>* TPerfMonitor::SharedInstanceNames(TPerfCounterItem* Backing) {
  const PPERF_OBJECT_TYPE Object = Backing->PerfObjectType();
  if (Object == nullptr) return nullptr;
  const std::uint64_t Generation = Filter_->Snapshot()->Generation();
  if (Generation != NamesGeneration_) {
    Names_.clear();
    NamesGeneration_ = Generation;
  }
  return &Names_[Object];
}

std::string TPerfMonitor::GetLocaleID() const { return Filter_->LocaleID(); }

// The backing counter items are made first so that the filter renames them all; made
// later, they would look their stored names up in the new locale. Keys not resolved yet
// are renamed as text.
void TPerfMonitor::SetLocaleID(const std::string& Value) {
  if (IsLoading()) {
    Filter_->SetLocaleID(Value);
    return;
  }
  TPerfTitles& Titles = *Filter_->Titles();
  std::vector<TKeyTitles> Keys;
  for (int I = 0; I < Items_->Count(); ++I) {
    Keys.push_back(Items_->GetMonitorItems(I)->BeforeChangeLocaleID(Titles));
  }
  Filter_->SetLocaleID(Value);
  for (int I = 0; I < Items_->Count(); ++I) {
    Items_->GetMonitorItems(I)->AfterChangeLocaleID(Titles, Keys[static_cast<std::size_t>(I)]);
  }
}

void TPerfMonitor::SetItems(TPerfMonitorItems* Value) { Items_->Assign(Value); }

TPerfHelps* TPerfMonitor::GetHelps() const { return Filter_->GetHelps(); }

void TPerfMonitor::SetHelps(TPerfHelps* Value) { Filter_->SetHelps(Value); }

// ---------------------------------------------------------------------------------------
// Published properties

namespace {

[[maybe_unused]] const bool Described = [] {
  RegisterPersistentClass<TPerfMonitorItem>(
      "TPerfMonitorItem",
      {StringProperty<TPerfMonitorItem>("ObjectName", &TPerfMonitorItem::GetObjectName,
                                        &TPerfMonitorItem::SetObjectName),
       StringProperty<TPerfMonitorItem>("CounterName", &TPerfMonitorItem::GetCounterName,
                                        &TPerfMonitorItem::SetCounterName),
       ObjectProperty<TPerfMonitorItem, TPerfCounterType>(
           "CounterType", &TPerfMonitorItem::GetCounterType, &TPerfMonitorItem::SetCounterType),
       StringProperty<TPerfMonitorItem>("ObjectKey", &TPerfMonitorItem::GetObjectKey,
                                        &TPerfMonitorItem::SetObjectKey)});
  RegisterComponentClass<TPerfMonitor>(
      "TPerfMonitor",
      {StringProperty<TPerfMonitor>("LocaleID", &TPerfMonitor::GetLocaleID,
                                    &TPerfMonitor::SetLocaleID),
       CollectionProperty<TPerfMonitor, TPerfMonitorItem>("Items", &TPerfMonitor::Items),
       ComponentProperty<TPerfMonitor, TPerfHelps>("Helps", &TPerfMonitor::GetHelps,
                                                   &TPerfMonitor::SetHelps)});
  return true;
}();

}  // namespace

namespace PerfMonitorUnit {

void DoRegister() { RegisterComponents("Gaugery", {"TPerfMonitor"}); }

}  // namespace PerfMonitorUnit

}  // namespace gaugery
