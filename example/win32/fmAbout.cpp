#include "fmAbout.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "BrindleProduct.h"
#include "BrindleResources.h"
#include "framework/Unicode.h"

namespace gaugery {

namespace {

constexpr COLORREF LinkBlue = RGB(0, 0, 255);

bool IsLink(HWND Control) {
  const int Id = GetDlgCtrlID(Control);
  return Id == IDC_MAILTO || Id == IDC_HOMEPAGE;
}

}  // namespace

void TAboutBox::Execute(HWND Owner, const std::string& ProductName, const std::string& Version,
                        const std::string& Notice) {
  TAboutBox Box(Owner, ProductName, Version, Notice);
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), Owner,
                  &TAboutBox::DialogProc, reinterpret_cast<LPARAM>(&Box));
}

TAboutBox::TAboutBox(HWND Owner, std::string ProductName, std::string Version, std::string Notice)
    : Owner_(Owner),
      ProductName_(std::move(ProductName)),
      Version_(std::move(Version)),
      Notice_(std::move(Notice)) {}

void TAboutBox::SetProductInfo(const std::string& ProductName, const std::string& Version) {
  SetWindowTextW(Window_, ToWide("About " + ProductName).c_str());
  ShowProductInfo(Window_, ProductName, Version);
}

void TAboutBox::SetNotice(const std::string& Notice) {
  SetControlText(Window_, IDC_NOTICE, Notice);
}

void TAboutBox::LbMailToClick() { OpenLink(SupportMailUrl()); }

void TAboutBox::LbHomepageClick() { OpenLink(HomepageUrl()); }

void TAboutBox::OpenLink(const std::string& Target) const {
  ShellExecuteW(Owner_, L"open", ToWide(Target).c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

INT_PTR CALLBACK TAboutBox::DialogProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_INITDIALOG) {
    SetWindowLongPtrW(Dialog, DWLP_USER, LParam);
    reinterpret_cast<TAboutBox*>(LParam)->FormCreate(Dialog);
    return TRUE;
  }
  auto* Box = reinterpret_cast<TAboutBox*>(GetWindowLongPtrW(Dialog, DWLP_USER));
  return Box != nullptr ? Box->Handle(Message, WParam, LParam) : FALSE;
}

void TAboutBox::FormCreate(HWND Dialog) {
  Window_ = Dialog;
  Fonts_.SetProductFonts(Dialog);
  Fonts_.SetUnderlined(Dialog, IDC_MAILTO);
  Fonts_.SetUnderlined(Dialog, IDC_HOMEPAGE);
  ShowProgramImage(Dialog);
  // The tool tip window is the box's own: it goes with it.
  HWND Tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Dialog, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  AddHint(Tips, IDC_MAILTO, L"Click here to get support");
  AddHint(Tips, IDC_HOMEPAGE, L"Click here to visit Gaugery homepage");
  SetProductInfo(ProductName_, Version_);
  SetNotice(Notice_);
}

void TAboutBox::AddHint(HWND Tips, int Control, const wchar_t* Text) {
  if (Tips == nullptr) return;
  TOOLINFOW Tool{};
  Tool.cbSize = sizeof Tool;
  Tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  Tool.hwnd = Window_;
  Tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(Window_, Control));
  Tool.lpszText = const_cast<LPWSTR>(Text);
  SendMessageW(Tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&Tool));
}

INT_PTR TAboutBox::Handle(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_COMMAND:
      switch (LOWORD(WParam)) {
        case IDOK:
        case IDCANCEL:
          EndDialog(Window_, LOWORD(WParam));
          return TRUE;
        case IDC_MAILTO:
          if (HIWORD(WParam) == STN_CLICKED) LbMailToClick();
          return TRUE;
        case IDC_HOMEPAGE:
          if (HIWORD(WParam) == STN_CLICKED) LbHomepageClick();
          return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORSTATIC:
      if (!IsLink(reinterpret_cast<HWND>(LParam))) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(WParam), LinkBlue);
      SetBkMode(reinterpret_cast<HDC>(WParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (!IsLink(reinterpret_cast<HWND>(WParam))) return FALSE;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      SetWindowLongPtrW(Window_, DWLP_MSGRESULT, TRUE);
      return TRUE;
  }
  return FALSE;
}

}  // namespace gaugery
