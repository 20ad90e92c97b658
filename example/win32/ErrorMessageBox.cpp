// The error report's message box on Win32.
#include <array>
#include <string_view>

#include "BrindleProduct.h"
#include "ErrorReport.h"
#include "fmBrindle.h"
#include "framework/Unicode.h"
#include "framework/WindowsApi.h"

namespace gaugery {

namespace {

BOOL CALLBACK FindMainForm(HWND Window, LPARAM Found) {
  std::array<wchar_t, 64> Class{};
  GetClassNameW(Window, Class.data(), static_cast<int>(Class.size()));
  if (std::wstring_view(Class.data()) != TBrindleForm::WindowClass) return TRUE;
  *reinterpret_cast<HWND*>(Found) = Window;
  return FALSE;
}

// This thread's main form, hidden or not; nullptr before it exists. Owned by it, the box
// is modal to the form whether or not the program is in the foreground, and it goes
// away with the form when the program is closed.
HWND MainForm() {
  HWND Form = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindMainForm, reinterpret_cast<LPARAM>(&Form));
  return Form;
}

}  // namespace

void ShowErrorMessageBox(const std::string& Text) {
  MessageBoxW(MainForm(), ToWide(Text).c_str(), ToWide(BrindleProductName).c_str(),
              MB_OK | MB_ICONERROR);
}

}  // namespace gaugery
