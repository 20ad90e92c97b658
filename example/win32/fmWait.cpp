#include "fmWait.h"

#include "BrindleResources.h"

namespace gaugery {

namespace {

constexpr COLORREF Maroon = RGB(128, 0, 0);
constexpr int PanelBevelWidth = 4;

// Panel1 fills the window whatever size its dialog units come to.
void FillWithPanel(HWND Window) {
  RECT Client;
  GetClientRect(Window, &Client);
  MoveWindow(GetDlgItem(Window, IDC_PANEL1), 0, 0, Client.right, Client.bottom, FALSE);
}

// A raised bevel along the panel's edges, PanelBevelWidth lines deep; the inside is left
// to the labels on it.
void DrawRaisedBevel(const DRAWITEMSTRUCT& Item) {
  RECT Edge = Item.rcItem;
  for (int Line = 0; Line < PanelBevelWidth; ++Line) {
    DrawEdge(Item.hDC, &Edge, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&Edge, -1, -1);
  }
}

INT_PTR ColourLoadingNotice(HDC Device) {
  SetTextColor(Device, Maroon);
  SetBkMode(Device, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

TPerfWaitForm::TPerfWaitForm() {
  Window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_WAIT), nullptr,
                               &TPerfWaitForm::DialogProc, 0);
  if (Window_ == nullptr) return;  // the program starts without it
  FillWithPanel(Window_);
  Fonts_.SetProductFonts(Window_);
  Fonts_.SetBoldArial(Window_, IDC_LOADING, -12);
  ShowProgramImage(Window_);
}

TPerfWaitForm::~TPerfWaitForm() { FormClose(); }

void TPerfWaitForm::SetProductInfo(const std::string& ProductName, const std::string& Version) {
  ShowProductInfo(Window_, ProductName, Version);
}

void TPerfWaitForm::SetNotice(const std::string& Notice) {
  SetControlText(Window_, IDC_NOTICE, Notice);
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

// The loading notice is maroon; the panel draws its bevel.
INT_PTR CALLBACK TPerfWaitForm::DialogProc(HWND, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_CTLCOLORSTATIC &&
      GetDlgCtrlID(reinterpret_cast<HWND>(LParam)) == IDC_LOADING) {
    return ColourLoadingNotice(reinterpret_cast<HDC>(WParam));
  }
  if (Message == WM_DRAWITEM && WParam == IDC_PANEL1) {
    DrawRaisedBevel(*reinterpret_cast<const DRAWITEMSTRUCT*>(LParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace gaugery
