#include "BrindleStartup.h"

#include "fmWait.h"

namespace gaugery {

std::unique_ptr<TBrindleForm> StartBrindle(const std::string& ComputerName) {
  auto* Wait = new TPerfWaitForm(nullptr);
  Wait->SetProductInfo(BrindleProductName, BrindleVersion);
  Wait->ShowPainted();
  auto Form = std::make_unique<TBrindleForm>(nullptr, ComputerName);
  Wait->close();
  return Form;
}

}  // namespace gaugery
