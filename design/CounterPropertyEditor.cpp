#include "CounterPropertyEditor.h"

#include "ObjectPropertyEditor.h"
#include "PerfFilter.h"
#include "PerfMonitor.h"

namespace gaugery {

namespace {

std::string ObjectNameOfItem(TPersistent* Component) {
  if (auto* Item = dynamic_cast<TPerfCounterItem*>(Component)) return Item->ObjectName();
  if (auto* Item = dynamic_cast<TPerfMonitorItem*>(Component)) return Item->GetObjectName();
  RaiseInvalidProperty();
}

}  // namespace

TPropertyAttributes TCounterPropertyEditor::GetAttributes() { return paValueList | paSortList; }

void TCounterPropertyEditor::GetValues(const TGetStrProc& Proc) {
  if (!Counters_) Counters_ = std::make_unique<TPerfCounters>(nullptr);
  TPersistent* Item = GetComponent(0);
  const std::string ObjectName = ObjectNameOfItem(Item);
  // The locale first, so that the object name is resolved in the item's locale.
  Counters_->SetLocaleID(LocaleOfEditedComponent(Item));
  Counters_->SetObjectName(ObjectName);
  TStringList Titles;
  Counters_->GetCounterTitles(&Titles);
  for (int I = 0; I < Titles.Count(); ++I) Proc(Titles.Strings(I));
}

}  // namespace gaugery

namespace gaugery::CounterPropertyEditorUnit {

void DoRegister() {
  for (const std::type_index Class :
       {std::type_index(typeid(TPerfCounterItem)), std::type_index(typeid(TPerfMonitorItem))}) {
    RegisterPropertyEditor(StringPropertyType(), Class, "CounterName",
                           PropertyEditorClass<TCounterPropertyEditor>());
  }
}

}  // namespace gaugery::CounterPropertyEditorUnit
