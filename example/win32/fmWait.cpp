#include "fmWait.h"

#include "BrindleResources.h"

namespace gaugery {

namespace {

constexpr COLORREF Maroon = RGB(128, 0, 0);

}  // namespace

TPerfWaitForm::TPerfWaitForm() {
  Window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_WAIT), nullptr,
                               &TPerfWaitForm::DialogProc, 0);
  if (Window_ == nullptr) return;  // the program starts without it
  Fonts_.SetProductFonts(Window_);
  Fonts_.SetBoldArial(Window_, IDC_LOADING, -12);
  ShowProgramImage(Window_);
}

TPerfWaitForm::~TPerfWaitForm() { FormClose(); }

void TPerfWaitForm::SetProductInfo(const std::string& ProductName, const std::string& Version) {
  ShowProductInfo(Window_, ProductName, Version);
}

void TPerfWaitForm::ShowPainted() {
  if (Window_ == nullptr) return;
  ShowWindow(Window_, SW_SHOW);
  UpdateWindow(Window_);
}

void TPerfWaitForm::FormClose() {
  if (Window_ == nullptr) return;
  DestroyWindow(Window_);
  Window_ = nullptr;
}

// The loading notice is maroon.
INT_PTR CALLBACK TPerfWaitForm::DialogProc(HWND, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_CTLCOLORSTATIC &&
      GetDlgCtrlID(reinterpret_cast<HWND>(LParam)) == IDC_LOADING) {
    auto* Device = reinterpret_cast<HDC>(WParam);
    SetTextColor(Device, Maroon);
    SetBkMode(Device, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return FALSE;
}

}  // namespace gaugery
