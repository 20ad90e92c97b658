#include "DialogLabels.h"

#include "BrindleResources.h"
#include "framework/Unicode.h"

namespace gaugery {

namespace {

constexpr int ProgramImageSize = 64;

}  // namespace

TDialogFonts::~TDialogFonts() {
  for (HFONT Font : Fonts_) DeleteObject(Font);
}

void TDialogFonts::SetBoldArial(HWND Dialog, int Control, int Height) {
  HFONT Font = CreateFontW(Height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, L"Arial");
  if (Font == nullptr) return;  // the label keeps the dialog's font
  Fonts_.push_back(Font);
  SendDlgItemMessageW(Dialog, Control, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
}

void TDialogFonts::SetUnderlined(HWND Dialog, int Control) {
  LOGFONTW Description{};
  auto* DialogFont = reinterpret_cast<HFONT>(SendMessageW(Dialog, WM_GETFONT, 0, 0));
  if (DialogFont == nullptr || GetObjectW(DialogFont, sizeof Description, &Description) == 0) return;
  Description.lfUnderline = TRUE;
  HFONT Font = CreateFontIndirectW(&Description);
  if (Font == nullptr) return;
  Fonts_.push_back(Font);
  SendDlgItemMessageW(Dialog, Control, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
}

void TDialogFonts::SetProductFonts(HWND Dialog) {
  SetBoldArial(Dialog, IDC_PRODUCTTITLE, -35);
  SetBoldArial(Dialog, IDC_PRODUCTNAME, -16);
  SetBoldArial(Dialog, IDC_NOTICE, -11);
}

// The control is laid out in dialog units; the image is drawn at its designed pixel
// size whatever they come to.
void ShowProgramImage(HWND Dialog) {
  HWND Image = GetDlgItem(Dialog, IDC_PROGRAMIMAGE);
  auto* Icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(IDI_BRINDLE), IMAGE_ICON,
                                             ProgramImageSize, ProgramImageSize, LR_SHARED));
  if (Image == nullptr || Icon == nullptr) return;
  SetWindowPos(Image, nullptr, 0, 0, ProgramImageSize, ProgramImageSize,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(Image, STM_SETICON, reinterpret_cast<WPARAM>(Icon), 0);
}

void ShowProductInfo(HWND Dialog, const std::string& ProductName, const std::string& Version) {
  SetControlText(Dialog, IDC_PRODUCTTITLE, ProductName);
  SetControlText(Dialog, IDC_VERSION, "Version " + Version);
}

void SetControlText(HWND Dialog, int Control, const std::string& Text) {
  SetDlgItemTextW(Dialog, Control, ToWide(Text).c_str());
}

}  // namespace gaugery
