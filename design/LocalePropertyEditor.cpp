#include "LocalePropertyEditor.h"

#include "PerfCounters.h"
#include "PerfFilter.h"
#include "PerfInstances.h"
#include "PerfMonitor.h"
#include "PerfObjects.h"
#include "PerfTitles.h"

namespace gaugery {

TPropertyAttributes TLocalePropertyEditor::GetAttributes() {
  return paValueList | paSortList | paMultiSelect;
}

void TLocalePropertyEditor::GetValues(const TGetStrProc& Proc) {
  // Locales() refills one shared list at every call: take a copy before handing out.
  TStringList Installed;
  Installed.Assign(Locales());
  for (int I = 0; I < Installed.Count(); ++I) Proc(Installed.Strings(I));
}

}  // namespace gaugery

namespace gaugery::LocalePropertyEditorUnit {

void DoRegister() {
  for (const std::type_index Class :
       {std::type_index(typeid(TPerfInfo)), std::type_index(typeid(TPerfObjects)),
        std::type_index(typeid(TPerfCounters)), std::type_index(typeid(TPerfInstances)),
        std::type_index(typeid(TPerfFilter)), std::type_index(typeid(TPerfMonitor))}) {
    RegisterPropertyEditor(StringPropertyType(), Class, "LocaleID",
                           PropertyEditorClass<TLocalePropertyEditor>());
  }
}

}  // namespace gaugery::LocalePropertyEditorUnit
