#include "BrindleStartup.h"

#include "fmWait.h"

namespace gaugery {

std::unique_ptr<TBrindleForm> StartBrindle() {
  auto* Wait = new TPerfWaitForm(nullptr);
  Wait->SetProductInfo(BrindleProductName, BrindleVersion);
  Wait->ShowPainted();
  auto Form = std::make_unique<TBrindleForm>();
  Wait->close();
  return Form;
}

}  // namespace gaugery
