// The ObjectKey row of monitor items, and the dialog that builds the key from the
// counters of the item's object.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "PerfCounters.h"
#include "framework/DesignIntf.h"

class QListWidget;
class QListWidgetItem;

namespace Ui {
class TObjectKeyPropertyForm;
}

namespace gaugery {

// Two lists: the counters of the object that are not in the key ("Available fields",
// kept sorted) and the key's counters in key order ("Key fields"). The buttons move
// entries between them, never copy them.
class TObjectKeyPropertyForm : public QDialog {
  Q_OBJECT

 public:
  explicit TObjectKeyPropertyForm(QWidget* Parent = nullptr);
  ~TObjectKeyPropertyForm() override;

  // Lists the key's names, and every counter title of the object (in that locale of the
  // local computer) that the key does not hold. The counter list's unknown object error
  // passes out unchanged.
  void SetData(const std::string& LocaleID, const std::string& ObjectName,
               const std::string& ObjectKey);
  // The key fields from top to bottom joined by ";".
  std::string GetObjectKey() const;

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void FormCreate();
  // Adds Title to the available fields unless the key holds it (ignoring case).
  void InitItem(const std::string& Title);
  // Moves the selected entries of List, last to first, to the other list.
  void MoveSelected(QListWidget* List, QListWidget* Target);
  // Puts Item into List: sorted into place in the available fields, appended to the key.
  void AddEntry(QListWidget* List, QListWidgetItem* Item);
  void MoveAll(QListWidget* List, QListWidget* Target);
  static int GetFirstSelection(const QListWidget* List);
  // Focuses List and adds the entry at Index (-1: the first; past the end: the last)
  // to its selection.
  void SetItem(QListWidget* List, int Index);
  void SetButtons();
  // Closing hides the dialog and keeps it, also for a window marked to be deleted on
  // closing: Edit reads the key after the dialog has closed and then releases it.
  void FormClose();

  void IncludeBtnClick();
  void ExcludeBtnClick();
  void IncAllBtnClick();
  void ExcAllBtnClick();

  std::unique_ptr<Ui::TObjectKeyPropertyForm> Ui_;
  // Owned by the dialog; starts in locale "009" of the local computer.
  std::unique_ptr<TPerfCounters> PerfCounters;
};

// A text row with a button that edits the key of the first selected monitor item in
// the dialog; OK writes the new key, anything else leaves it.
class TObjectKeyPropertyEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;

  TPropertyAttributes GetAttributes() override;
  // EInvalidCast when the first selected component is not a monitor item.
  void Edit() override;
};

}  // namespace gaugery

namespace gaugery::ObjectKeyPropertyEditorUnit {

// Binds the editor to ObjectKey of monitor items.
void DoRegister();

}  // namespace gaugery::ObjectKeyPropertyEditorUnit
