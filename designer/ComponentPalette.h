// The component palette: one page per registered palette page, one button per class in
// registration order, each showing the class's palette image. Checking a button arms
// the class for the next click on the form; double-clicking it drops one at once.
#pragma once

#include <QPixmap>
#include <QTabWidget>
#include <string>
#include <vector>

class QToolButton;

namespace gaugery {

// The palette image of a class: the resource named after the class in upper case, in
// the resource folder of whichever loaded package carries it; a neutral picture when
// none does.
QPixmap PaletteImage(const std::string& ClassName);

class TComponentPalette : public QTabWidget {
  Q_OBJECT

 public:
  explicit TComponentPalette(QWidget* Parent = nullptr);

  // The class names of a page, in button order.
  std::vector<std::string> Classes(const QString& Page) const;
  // Null for a class that is not on the palette.
  QToolButton* Button(const std::string& ClassName) const;

  // The armed class; empty when no button is checked.
  std::string PendingClass() const;
  void ClearPending();

 signals:
  void ClassDoubleClicked(const QString& ClassName);
  // A button went down or up: the armed class, empty for none.
  void PendingClassChanged(const QString& ClassName);

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  // Builds the pages from the registered palette.
  void Load();
  QWidget* NewPage(const std::vector<std::string>& ClassNames);
  QToolButton* NewButton(const std::string& ClassName, QWidget* Page);
  void ButtonToggled(QToolButton* Button, bool Checked);
  std::vector<QToolButton*> Buttons() const;
};

}  // namespace gaugery
