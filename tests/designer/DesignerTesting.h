// What the designer's tests share: the real design package, and the ways a user drives
// the window (message boxes answered, drop-downs opened and picked from, text typed).
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

#include "DesignerWindow.h"
#include "PropertyRow.h"

namespace gaugery::testing {

// GaugeryDesign as the program loads it: loaded once, the outcome kept.
std::vector<TLoadedPackage> DesignPackage();

// While it lives, every message box that opens is answered with Answer; the texts are
// kept in order.
class TMessageBoxes {
 public:
  explicit TMessageBoxes(QMessageBox::StandardButton Answer = QMessageBox::Ok);
  ~TMessageBoxes();
  TMessageBoxes(const TMessageBoxes&) = delete;
  TMessageBoxes& operator=(const TMessageBoxes&) = delete;

  const std::vector<std::string>& Texts() const { return Texts_; }

 private:
  void AnswerOpenBox();

  QMessageBox::StandardButton Answer_;
  QTimer Watch_;
  std::vector<std::string> Texts_;
};

// A row of the window's inspector; fails the test when it is not shown.
TPropertyRow& RowOf(const TDesignerWindow& Window, const QString& Property);
// The entries of the row's drop-down as the user sees them when it opens.
QStringList DropDownEntries(TPropertyRow& Row);
// Opens the row's drop-down and clicks the entry.
void PickEntry(TPropertyRow& Row, const QString& Entry);
// Types Text over the row's text and presses Return.
void TypeText(TPropertyRow& Row, const QString& Text);

// Clicks the middle of a component's icon on the form.
void ClickIcon(const TDesignerWindow& Window, TComponent* Component,
               Qt::KeyboardModifiers Modifiers = Qt::NoModifier);

// A published property of a designed object, read through its description (the tests,
// like the program, do not link the run-time library).
std::string TextOf(TPersistent* Object, const std::string& Property);
TCollection* CollectionOf(TPersistent* Object, const std::string& Property);
TComponent* LinkOf(TPersistent* Object, const std::string& Property);

// The bytes of a file.
std::string FileText(const QString& FileName);

}  // namespace gaugery::testing
