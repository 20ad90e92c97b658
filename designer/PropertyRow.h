// The value cell of one row of the object inspector. Its editor decides what it offers:
// a drop-down when the editor has a value list (sorted here when the editor asks for it),
// a "..." button when it has a dialog, and a greyed text that cannot be typed into when
// it is read-only. The row only reads its editor; what the user enters goes to the
// inspector, which writes it.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "framework/DesignIntf.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace gaugery {

class TPropertyRow : public QWidget {
  Q_OBJECT

 public:
  TPropertyRow(std::unique_ptr<TPropertyEditor> Editor, QWidget* Parent);
  ~TPropertyRow() override;

  TPropertyEditor& Editor() const { return *Editor_; }
  QString Name() const;
  bool IsReadOnly() const { return (Attributes_ & paReadOnly) != 0; }

  // Shows the editor's current text; when the value cannot be read, the reason.
  void Refresh();
  // The text shown.
  QString Text() const;
  // Fills the drop-down from the editor, when it opens. False when the editor refuses
  // (its message is shown) or the row has no list.
  bool FillValues();

  // The parts of the row; null when the editor does not ask for them.
  QComboBox* ValueList() const { return ValueList_; }
  // The line the value is typed into (a value list's own line).
  QLineEdit* TextLine() const { return TextLine_; }
  QToolButton* DialogButton() const { return DialogButton_; }

 signals:
  // The user typed or picked a text other than the one shown.
  void ValueEntered(const QString& Text);
  void DialogRequested();

 private:
  void BuildValueList();
  void BuildTextLine();
  void BuildDialogButton();
  void Enter(const QString& Text);

  std::unique_ptr<TPropertyEditor> Editor_;
  TPropertyAttributes Attributes_;
  QComboBox* ValueList_ = nullptr;
  QLineEdit* TextLine_ = nullptr;
  QToolButton* DialogButton_ = nullptr;
  // The text last read from the editor.
  QString Shown_;
};

}  // namespace gaugery
