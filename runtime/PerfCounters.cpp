#include "PerfCounters.h"

#include "WinGaugery.h"
#include "framework/TextCompare.h"
#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"

namespace gaugery {

TPerfCounters::TPerfCounters(TComponent* AOwner) : TPerfObjectBrowser(AOwner) {}

TPerfCounters::~TPerfCounters() {
  if (PerfData_ != nullptr) ReleaseGlobalPerfData(PerfData_);
}

PPERF_DATA_BLOCK TPerfCounters::GetPerfData() {
  if (PerfData_ == nullptr) PerfData_ = GetGlobalPerfData(ComputerName_);
  return PerfData_->PerfData();
}

std::int32_t TPerfCounters::GetCounterCount() {
  return static_cast<std::int32_t>(ObjectData()->NumCounters);
}

PPERF_COUNTER_DEFINITION TPerfCounters::GetCounterData(std::int32_t Index) {
  PPERF_OBJECT_TYPE Object = ObjectData();
  CheckPosition(Index, static_cast<std::int32_t>(Object->NumCounters));
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
  for (std::int32_t Step = 0; Step < Index; ++Step) Counter = NextCounter(Counter);
  return Counter;
}

std::string TPerfCounters::TitleOf(PPERF_COUNTER_DEFINITION Counter) {
  return Titles().GetItemByIdx(IntToStr(Counter->CounterNameTitleIndex));
}

std::string TPerfCounters::HelpOf(PPERF_COUNTER_DEFINITION Counter) const {
  return Helps_->GetItemByIdx(IntToStr(Counter->CounterHelpTitleIndex));
}

std::string TPerfCounters::GetCounterTitle(std::int32_t Index) {
  return TitleOf(GetCounterData(Index));
}

std::string TPerfCounters::GetCounterHelp(std::int32_t Index) {
  if (Helps_ == nullptr) RaiseNoHelpInformation(*this);
  return HelpOf(GetCounterData(Index));
}

std::int32_t TPerfCounters::IndexOfTitle(const std::string& ACounterTitle) {
  PPERF_OBJECT_TYPE Object = ObjectData();
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
  for (DWORD Index = 0; Index < Object->NumCounters; ++Index, Counter = NextCounter(Counter)) {
    if (AnsiSameText(TitleOf(Counter), ACounterTitle)) return static_cast<std::int32_t>(Index);
  }
  return -1;
}

void TPerfCounters::GetCounterTitles(TStringList* ATitles) {
  PPERF_OBJECT_TYPE Object = ObjectData();
  ATitles->Clear();
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
  for (DWORD Index = 0; Index < Object->NumCounters; ++Index, Counter = NextCounter(Counter)) {
    ATitles->Add(TitleOf(Counter));
  }
}

void TPerfCounters::GetCounterHelps(TStringList* AHelps) {
  if (Helps_ == nullptr) RaiseNoHelpInformation(*this);
  PPERF_OBJECT_TYPE Object = ObjectData();
  AHelps->Clear();
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
  for (DWORD Index = 0; Index < Object->NumCounters; ++Index, Counter = NextCounter(Counter)) {
    AHelps->Add(HelpOf(Counter));
  }
}

void TPerfCounters::Notification(TComponent* AComponent, TOperation Operation) {
  TPerfObjectBrowser::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == Helps_) Helps_ = nullptr;
}

namespace {

// Describes the published properties when the unit is loaded, so that stored forms can
// hold counter lists.
[[maybe_unused]] const bool CountersRegistered = [] {
  RegisterComponentClass<TPerfCounters>(
      "TPerfCounters", {StringProperty<TPerfCounters>("ComputerName", &TPerfCounters::ComputerName,
                                                      &TPerfCounters::SetComputerName),
                        StringProperty<TPerfCounters>("ObjectName", &TPerfCounters::ObjectName,
                                                      &TPerfCounters::SetObjectName),
                        StringProperty<TPerfCounters>("LocaleID", &TPerfCounters::GetLocaleID,
                                                      &TPerfCounters::SetLocaleID),
                        ComponentProperty<TPerfCounters, TPerfHelps>("Helps", &TPerfCounters::Helps,
                                                                     &TPerfCounters::SetHelps)});
  return true;
}();

}  // namespace

}  // namespace gaugery

namespace gaugery::PerfCountersUnit {

void DoRegister() { RegisterComponents("Gaugery", {"TPerfCounters"}); }

}  // namespace gaugery::PerfCountersUnit
