// The about box of Brindle: the product's name and version, and links to support and
// to the home page. Modal; closing it disposes of it.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TAboutBox;
}

namespace gaugery {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* Parent = nullptr);
  ~TAboutBox() override;

  // Caption "About <ProductName>", the title label and the version line.
  void SetProductInfo(const std::string& ProductName, const std::string& Version);
  // The one-line notice of what the program shows.
  void SetNotice(const std::string& Notice);

  // Opens a new message to the support address in the user's mail program.
  void LbMailToClick();
  // Opens the home page in the user's browser.
  void LbHomepageClick();

 protected:
  // Every way of closing the box (OK, Enter, Escape, the close box) ends here.
  void done(int Result) override;

 private:
  void FormClose();

  std::unique_ptr<Ui::TAboutBox> Form_;
};

}  // namespace gaugery
