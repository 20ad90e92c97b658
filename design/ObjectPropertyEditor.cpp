#include "ObjectPropertyEditor.h"

#include "PerfCounters.h"
#include "PerfFilter.h"
#include "PerfInstances.h"
#include "PerfMonitor.h"

namespace gaugery {

std::string LocaleOfEditedComponent(TPersistent* Component) {
  if (auto* Counters = dynamic_cast<TPerfCounters*>(Component)) return Counters->LocaleID();
  if (auto* Instances = dynamic_cast<TPerfInstances*>(Component)) return Instances->LocaleID();
  // An item outside a filter or monitor has no locale to offer titles in.
  if (auto* Item = dynamic_cast<TPerfCounterItem*>(Component)) {
    if (Item->Filter() != nullptr) return Item->Filter()->LocaleID();
  }
  if (auto* Item = dynamic_cast<TPerfMonitorItem*>(Component)) {
    if (Item->Monitor() != nullptr) return Item->Monitor()->GetLocaleID();
  }
  RaiseInvalidProperty();
}

TPropertyAttributes TObjectPropertyEditor::GetAttributes() { return paValueList | paSortList; }

void TObjectPropertyEditor::GetValues(const TGetStrProc& Proc) {
  if (!Objects_) Objects_ = std::make_unique<TPerfObjects>(nullptr);
  Objects_->SetLocaleID(LocaleOfEditedComponent(GetComponent(0)));
  const std::int32_t Count = Objects_->GetObjectCount();
  for (std::int32_t I = 0; I < Count; ++I) Proc(Objects_->GetObjectTitle(I));
}

}  // namespace gaugery

namespace gaugery::ObjectPropertyEditorUnit {

void DoRegister() {
  for (const std::type_index Class :
       {std::type_index(typeid(TPerfCounters)), std::type_index(typeid(TPerfInstances)),
        std::type_index(typeid(TPerfCounterItem)), std::type_index(typeid(TPerfMonitorItem))}) {
    RegisterPropertyEditor(StringPropertyType(), Class, "ObjectName",
                           PropertyEditorClass<TObjectPropertyEditor>());
  }
}

}  // namespace gaugery::ObjectPropertyEditorUnit
