// The counter type row of counter items and monitor items, and the dialog that
// decodes the counter type word of the item's counter.
#pragma once

#include <QDialog>
#include <memory>

#include "ModalDialogs.h"
#include "framework/DesignIntf.h"

namespace Ui {
class TCounterTypeForm;
}

namespace gaugery {

// Shows the six lines that describe the counter type of an item's counter.
class TCounterTypeForm : public QDialog {
  Q_OBJECT

 public:
  explicit TCounterTypeForm(QWidget* Parent = nullptr);
  ~TCounterTypeForm() override;

  // Fills the value lines from the counter definition of Item, a counter item or a
  // monitor item; Exception "Incompatible types" for anything else. The errors of
  // locating the item's counter pass out unchanged.
  void SetItem(TObject* Item);

 private:
  std::unique_ptr<Ui::TCounterTypeForm> Ui_;
  TObject* Item_ = nullptr;
};

// A read-only row reading "(Counter type)" whose button shows the dialog for the first
// selected item; nothing is written back.
class TCounterTypePropertyEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;

  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void SetValue(const std::string& Value) override;
  void Edit() override;
};

}  // namespace gaugery

namespace gaugery::CounterTypePropertyEditorUnit {

// Binds the editor to CounterType of counter items and monitor items.
void DoRegister();

}  // namespace gaugery::CounterTypePropertyEditorUnit
