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

bool HasStandardOutput() {
  HANDLE Output = GetStdHandle(STD_OUTPUT_HANDLE);
  return Output != nullptr && Output != INVALID_HANDLE_VALUE;
}

// The usage or the version asked for goes to standard output; a window program started
// without one (from the desktop) shows it in a message box instead. What the command
// line gets wrong goes to standard error and into a message box.
int EndWithoutWindow(const gaugery::TBrindleArguments& Arguments) {
  const std::string Text = gaugery::EndingText(Arguments);
  const bool Asked = *Arguments.ExitCode == 0;
  (Asked ? std::cout : std::cerr) << Text << std::flush;
  if (!Asked || !HasStandardOutput()) {
    MessageBoxW(nullptr, gaugery::ToWide(Text).c_str(),
                gaugery::ToWide(gaugery::BrindleProductName).c_str(),
                MB_OK | (Asked ? MB_ICONINFORMATION : MB_ICONERROR));
  }
  return *Arguments.ExitCode;
}

// The wait form covers the main form's creation, which takes the first sample.
std::unique_ptr<gaugery::TBrindleForm> StartBrindle(const gaugery::TBrindleArguments& Shown) {
  gaugery::TPerfWaitForm Wait;
  Wait.SetProductInfo(gaugery::BrindleProductName, gaugery::BrindleVersion);
  Wait.SetNotice(gaugery::BrindleNotice(Shown.ReplayFiles, Shown.ComputerName));
  Wait.ShowPainted();
  return std::make_unique<gaugery::TBrindleForm>(Shown);
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
    const std::unique_ptr<gaugery::TBrindleForm> Form = StartBrindle(Arguments);
    ShowWindow(Form->Handle(), SW_SHOWDEFAULT);
    return RunMessageLoop();
  } catch (const std::exception& Error) {
    gaugery::ShowErrorMessageBox(Error.what());
    return 1;
  }
}
