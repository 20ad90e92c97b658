// The error report's message box on Win32.
#include "BrindleProduct.h"
#include "ErrorReport.h"
#include "framework/Unicode.h"
#include "framework/WindowsApi.h"

namespace gaugery {

void ShowErrorMessageBox(const std::string& Text) {
  MessageBoxW(GetActiveWindow(), ToWide(Text).c_str(), ToWide(BrindleProductName).c_str(),
              MB_OK | MB_ICONERROR);
}

}  // namespace gaugery
