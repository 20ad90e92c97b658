// What Brindle's wait form and about box have in common: their labels' fonts and
// colours, the program's image, and the product information they show.
#pragma once

#include <string>
#include <vector>

#include "framework/WindowsApi.h"

namespace gaugery {

// The fonts a dialog gives its labels, deleted with the object (after the dialog).
class TDialogFonts {
 public:
  TDialogFonts() = default;
  ~TDialogFonts();
  TDialogFonts(const TDialogFonts&) = delete;
  TDialogFonts& operator=(const TDialogFonts&) = delete;

  // Sets the label Control of Dialog in bold Arial of the given height (negative:
  // character height in pixels).
  void SetBoldArial(HWND Dialog, int Control, int Height);
  // Underlines the dialog's font on the label Control (a link).
  void SetUnderlined(HWND Dialog, int Control);
  // The product title (-35), the product name (-16) and the notice (-11) in bold Arial.
  void SetProductFonts(HWND Dialog);

 private:
  std::vector<HFONT> Fonts_;
};

// The program's image, 64 x 64 pixels, in the image control of Dialog.
void ShowProgramImage(HWND Dialog);

// The product title and "Version " followed by Version.
void ShowProductInfo(HWND Dialog, const std::string& ProductName, const std::string& Version);

void SetControlText(HWND Dialog, int Control, const std::string& Text);

}  // namespace gaugery
