// The splash window of Brindle: borderless, centred on the screen, shown while the
// main form loads the counter names and takes the first sample. Closing it disposes of
// it.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

namespace Ui {
class TPerfWaitForm;
}

namespace gaugery {

class TPerfWaitForm : public QWidget {
  Q_OBJECT

 public:
  explicit TPerfWaitForm(QWidget* Parent = nullptr);
  ~TPerfWaitForm() override;

  // The title label and the version line; the window has no caption to set.
  void SetProductInfo(const std::string& ProductName, const std::string& Version);
  // The one-line notice of what the program shows.
  void SetNotice(const std::string& Notice);

  // Shows the form and paints it at once, while no event loop runs yet to do so.
  void ShowPainted();

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void FormClose();

  std::unique_ptr<Ui::TPerfWaitForm> Form_;
};

}  // namespace gaugery
