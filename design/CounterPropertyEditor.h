// The drop-down of counter titles for the CounterName properties.
#pragma once

#include <memory>

#include "PerfCounters.h"
#include "framework/DesignIntf.h"

namespace gaugery {

// Offers the titles of the counters of the edited item's object in the local
// computer's snapshot, in definition order, translated in the item's locale.
class TCounterPropertyEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;

  TPropertyAttributes GetAttributes() override;
  // Exception "Invalid property" when the first selected component is not a counter
  // item or a monitor item; the counter list's unknown object error when the item's
  // object is not in the snapshot.
  void GetValues(const TGetStrProc& Proc) override;

 private:
  // Made at the first GetValues and kept for later ones; it has no owner and shares
  // the run-time library's snapshot and title caches.
  std::unique_ptr<TPerfCounters> Counters_;
};

}  // namespace gaugery

namespace gaugery::CounterPropertyEditorUnit {

// Binds the editor to CounterName of counter items and monitor items.
void DoRegister();

}  // namespace gaugery::CounterPropertyEditorUnit
