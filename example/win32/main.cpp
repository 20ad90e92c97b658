// Brindle on Win32: the running processes of this computer, of the computer that
// --computer NAME names, or of replayed captures, with eight of their counters.
#include <exception>
#include <iostream>
#include <memory>

#include "BrindleArguments.h"
#include "BrindleProduct.h"
#include "ErrorReport.h"
#include "fmBrindle.h"
#include "fmWait.h"
#include "framework/ProgramArguments.h"
#include "framework/Unicode.h"

#include <commctrl.h>

namespace {

// A window program has no console to speak to: what the command line gets wrong, or
// the usage asked for, goes to standard error and into a message box.
int EndWithoutWindow(const gaugery::TBrindleArguments& Arguments) {
  std::string Text;
  if (!Arguments.Error.empty()) Text = "brindle: " + Arguments.Error + "\n";
  if (Arguments.ShowUsage) Text += gaugery::BrindleUsage;
  std::cerr << Text;
  MessageBoxW(nullptr, gaugery::ToWide(Text).c_str(),
              gaugery::ToWide(gaugery::BrindleProductName).c_str(),
              MB_OK | (*Arguments.ExitCode == 0 ? MB_ICONINFORMATION : MB_ICONERROR));
  return *Arguments.ExitCode;
}

// The wait form covers the main form's creation, which takes the first sample.
std::unique_ptr<gaugery::TBrindleForm> StartBrindle(const std::string& ComputerName) {
  gaugery::TPerfWaitForm Wait;
  Wait.SetProductInfo(gaugery::BrindleProductName, gaugery::BrindleVersion);
  Wait.ShowPainted();
  return std::make_unique<gaugery::TBrindleForm>(ComputerName);
}

int RunMessageLoop() {
  MSG Message;
  while (GetMessageW(&Message, nullptr, 0, 0) > 0) {
    TranslateMessage(&Message);
    DispatchMessageW(&Message);
  }
  return static_cast<int>(Message.wParam);
}

}  // namespace

int main(int argc, char** argv) {
  const INITCOMMONCONTROLSEX Controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&Controls);
  const gaugery::TBrindleArguments Arguments =
      gaugery::ReadBrindleArguments(gaugery::ProgramArguments(argc, argv));
  if (Arguments.ExitCode) return EndWithoutWindow(Arguments);
  try {
    const std::unique_ptr<gaugery::TBrindleForm> Form = StartBrindle(Arguments.ComputerName);
    ShowWindow(Form->Handle(), SW_SHOWDEFAULT);
    return RunMessageLoop();
  } catch (const std::exception& Error) {
    gaugery::ShowErrorMessageBox(Error.what());
    return 1;
  }
}
