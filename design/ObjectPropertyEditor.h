// The drop-down of performance object titles for the ObjectName properties.
#pragma once

#include <memory>

#include "PerfObjects.h"
#include "framework/DesignIntf.h"

namespace gaugery {

// Offers the titles of the objects in the local computer's snapshot, in block order,
// translated in the locale of the edited component.
class TObjectPropertyEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;

  TPropertyAttributes GetAttributes() override;
  // Exception "Invalid property" when the first selected component is not a counter
  // list, an instance list, a counter item or a monitor item.
  void GetValues(const TGetStrProc& Proc) override;

 private:
  // Made at the first GetValues and kept for later ones; it has no owner and shares
  // the run-time library's snapshot and title caches.
  std::unique_ptr<TPerfObjects> Objects_;
};

// The locale the edited component translates its titles with; Exception "Invalid
// property" for a component that has no object name to edit.
std::string LocaleOfEditedComponent(TPersistent* Component);

}  // namespace gaugery

namespace gaugery::ObjectPropertyEditorUnit {

// Binds the editor to ObjectName of the counter and instance lists, counter items and
// monitor items.
void DoRegister();

}  // namespace gaugery::ObjectPropertyEditorUnit
