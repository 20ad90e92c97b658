// The drop-down of installed locales for the LocaleID properties.
#pragma once

#include "framework/DesignIntf.h"

namespace gaugery {

// Offers every locale installed on the local computer, whatever the edited component;
// serves several selected components at once.
class TLocalePropertyEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;

  TPropertyAttributes GetAttributes() override;
  void GetValues(const TGetStrProc& Proc) override;
};

}  // namespace gaugery

namespace gaugery::LocalePropertyEditorUnit {

// Binds the editor to LocaleID of the title and help tables, the browsing lists, the
// filter and the monitor.
void DoRegister();

}  // namespace gaugery::LocalePropertyEditorUnit
