#include "PerfObjects.h"

#include <charconv>

#include "WinGaugery.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"

namespace gaugery {

namespace {

// The title index a table's index text names; false for "-1" (not in the table) and
// for any text that no block field could hold.
bool ParseTitleIndex(const std::string& Text, DWORD& TitleIndex) {
  const char* End = Text.data() + Text.size();
  auto [Stop, Error] = std::from_chars(Text.data(), End, TitleIndex);
  return Error == std::errc() && Stop == End;
}

}  // namespace

void CheckPosition(std::int32_t Index, std::int32_t Count) {
  if (Index < 0 || Index >= Count) throw Exception("Index out of bounds");
}

void RaiseNoHelpInformation(const TComponent& Component) {
  throw Exception("No help information : object \"" + Component.Name() + "\"");
}

TPerfObjects::TPerfObjects(TComponent* AOwner)
    : TComponent(AOwner), Titles_(std::make_unique<TPerfTitles>(nullptr)) {}

TPerfObjects::~TPerfObjects() {
  Titles_.reset();
  DonePerfData();
}

void TPerfObjects::InitPerfData() {
  if (PerfData_ == nullptr) PerfData_ = GetGlobalPerfData(ComputerName_);
}

void TPerfObjects::DonePerfData() {
  if (PerfData_ != nullptr) ReleaseGlobalPerfData(PerfData_);
}

PPERF_DATA_BLOCK TPerfObjects::GetPerfData() {
  InitPerfData();
  return PerfData_->PerfData();
}

std::int32_t TPerfObjects::GetObjectCount() {
  return static_cast<std::int32_t>(GetPerfData()->NumObjectTypes);
}

PPERF_OBJECT_TYPE TPerfObjects::GetObjectData(std::int32_t Index) {
  CheckPosition(Index, GetObjectCount());
  PPERF_OBJECT_TYPE Object = FirstObject(GetPerfData());
  for (std::int32_t Step = 0; Step < Index; ++Step) Object = NextObject(Object);
  return Object;
}

std::string TPerfObjects::TitleOf(PPERF_OBJECT_TYPE Object) const {
  return Titles_->GetItemByIdx(IntToStr(Object->ObjectNameTitleIndex));
}

std::string TPerfObjects::GetObjectTitle(std::int32_t Index) {
  return TitleOf(GetObjectData(Index));
}

std::string TPerfObjects::HelpOf(PPERF_OBJECT_TYPE Object) const {
  return Helps_->GetItemByIdx(IntToStr(Object->ObjectHelpTitleIndex));
}

std::string TPerfObjects::GetObjectHelp(std::int32_t Index) {
  if (Helps_ == nullptr) RaiseNoHelpInformation(*this);
  return HelpOf(GetObjectData(Index));
}

std::int32_t TPerfObjects::PositionOfObject(DWORD TitleIndex) {
  const std::int32_t Count = GetObjectCount();
  PPERF_OBJECT_TYPE Object = FirstObject(GetPerfData());
  for (std::int32_t Index = 0; Index < Count; ++Index, Object = NextObject(Object)) {
    if (Object->ObjectNameTitleIndex == TitleIndex) return Index;
  }
  return -1;
}

std::int32_t TPerfObjects::GetIndexOfObject(const std::string& AObjectTitle) {
  InitPerfData();
  DWORD TitleIndex = 0;
  if (ParseTitleIndex(Titles_->GetIdxOfItem(AObjectTitle), TitleIndex)) {
    std::int32_t Position = PositionOfObject(TitleIndex);
    if (Position < 0 && PerfData_->IncludeObject(TitleIndex)) {
      Position = PositionOfObject(TitleIndex);
    }
    if (Position >= 0) return Position;
  }
  throw Exception("Unknown performance object : \"" + AObjectTitle + "\"");
}

std::string TPerfObjects::GetHelpOfObject(const std::string& AObjectTitle) {
  return GetObjectHelp(GetIndexOfObject(AObjectTitle));
}

void TPerfObjects::GetObjectTitles(TStringList* ATitles) {
  InitPerfData();
  ATitles->Clear();
  const std::int32_t Count = GetObjectCount();
  PPERF_OBJECT_TYPE Object = FirstObject(GetPerfData());
  for (std::int32_t Index = 0; Index < Count; ++Index, Object = NextObject(Object)) {
    ATitles->Add(TitleOf(Object));
  }
}

void TPerfObjects::GetObjectHelps(TStringList* AHelps) {
  InitPerfData();
  if (Helps_ == nullptr) RaiseNoHelpInformation(*this);
  AHelps->Clear();
  const std::int32_t Count = GetObjectCount();
  PPERF_OBJECT_TYPE Object = FirstObject(GetPerfData());
  for (std::int32_t Index = 0; Index < Count; ++Index, Object = NextObject(Object)) {
    AHelps->Add(HelpOf(Object));
  }
}

void TPerfObjects::Refresh() {
  InitPerfData();
  PerfData_->Refresh();
}

SYSTEMTIME TPerfObjects::SystemTime() {
  InitPerfData();
  return PerfData_->SystemTime();
}

std::int64_t TPerfObjects::PerfTime() {
  InitPerfData();
  return PerfData_->PerfTime();
}

std::int64_t TPerfObjects::PerfFreq() {
  InitPerfData();
  return PerfData_->PerfFreq();
}

std::int64_t TPerfObjects::PerfTime100nSec() {
  InitPerfData();
  return PerfData_->PerfTime100nSec();
}

std::string TPerfObjects::SystemName() {
  InitPerfData();
  return PerfData_->SystemName();
}

void TPerfObjects::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == Helps_) Helps_ = nullptr;
}

namespace {

// Describes the published properties when the unit is loaded, so that stored forms can
// hold object lists.
[[maybe_unused]] const bool ObjectsRegistered = [] {
  RegisterComponentClass<TPerfObjects>(
      "TPerfObjects", {StringProperty<TPerfObjects>("LocaleID", &TPerfObjects::GetLocaleID,
                                                    &TPerfObjects::SetLocaleID),
                       ComponentProperty<TPerfObjects, TPerfHelps>("Helps", &TPerfObjects::Helps,
                                                                   &TPerfObjects::SetHelps),
                       StringProperty<TPerfObjects>("ComputerName", &TPerfObjects::ComputerName,
                                                    &TPerfObjects::SetComputerName)});
  return true;
}();

}  // namespace

}  // namespace gaugery

namespace gaugery::PerfObjectsUnit {

void DoRegister() { RegisterComponents("Gaugery", {"TPerfObjects"}); }

}  // namespace gaugery::PerfObjectsUnit
