#include "BrindleStartup.h"

#include "fmWait.h"

namespace gaugery {

std::unique_ptr<TBrindleForm> StartBrindle(const TBrindleArguments& Shown) {
  auto* Wait = new TPerfWaitForm(nullptr);
  Wait->SetProductInfo(BrindleProductName, BrindleVersion);
  Wait->SetNotice(BrindleNotice(Shown.ReplayFiles, Shown.ComputerName));
  Wait->ShowPainted();
  auto Form = std::make_unique<TBrindleForm>(nullptr, Shown);
  Wait->close();
  return Form;
}

}  // namespace gaugery
