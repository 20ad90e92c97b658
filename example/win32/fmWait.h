// Brindle's wait form on Win32: a window without border or caption, filled by a raised
// panel, with the product's name; it stays on screen while the main form is created and
// the first sample is taken.
#pragma once

#include <string>

#include "DialogLabels.h"

namespace gaugery {

class TPerfWaitForm {
 public:
  TPerfWaitForm();
  // Closes the form if it is still open.
  ~TPerfWaitForm();
  TPerfWaitForm(const TPerfWaitForm&) = delete;
  TPerfWaitForm& operator=(const TPerfWaitForm&) = delete;

  // The product title and "Version " followed by Version; the form has no caption.
  void SetProductInfo(const std::string& ProductName, const std::string& Version);
  // The one-line notice of what the program shows.
  void SetNotice(const std::string& Notice);
  // Shows the form and paints it at once: no message loop runs while it is up.
  void ShowPainted();
  // Closing disposes of the window; the form is not shown again.
  void FormClose();

  HWND Handle() const { return Window_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);

  HWND Window_ = nullptr;
  TDialogFonts Fonts_;
};

}  // namespace gaugery
