// Brindle's about box on Win32: the product's name and version and two links, the
// support address and the home page, opened through the shell.
#pragma once

#include <string>

#include "DialogLabels.h"

namespace gaugery {

class TAboutBox {
 public:
  // Shows a new box modally over Owner, with Notice saying what is shown, and returns
  // once it is closed ("OK", Enter, Escape or the close box); the box is gone then.
  static void Execute(HWND Owner, const std::string& ProductName, const std::string& Version,
                      const std::string& Notice);

  // Caption "About " followed by ProductName, the product title and the version line.
  void SetProductInfo(const std::string& ProductName, const std::string& Version);
  void SetNotice(const std::string& Notice);
  // Whether a program could open the link is not examined: the box stays as it is.
  void LbMailToClick();
  void LbHomepageClick();

 private:
  TAboutBox(HWND Owner, std::string ProductName, std::string Version, std::string Notice);
  TAboutBox(const TAboutBox&) = delete;
  TAboutBox& operator=(const TAboutBox&) = delete;

  static INT_PTR CALLBACK DialogProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
  INT_PTR Handle(UINT Message, WPARAM WParam, LPARAM LParam);
  void FormCreate(HWND Dialog);
  void AddHint(HWND Tips, int Control, const wchar_t* Text);
  void OpenLink(const std::string& Target) const;

  HWND Owner_;
  HWND Window_ = nullptr;
  std::string ProductName_;
  std::string Version_;
  std::string Notice_;
  TDialogFonts Fonts_;
};

}  // namespace gaugery
