// The object inspector: one row per published property of the selection, in declaration
// order, after the component's Name. The property editors decide what each row offers;
// with several objects selected only the rows whose editor serves several at once are
// shown. A value the component refuses leaves the old values in place and shows the
// component's own message.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "DesignForm.h"
#include "framework/TypeInfo.h"

class QLabel;
class QTableWidget;

namespace gaugery {

class TPropertyRow;

class TPropertyGrid : public QWidget {
  Q_OBJECT

 public:
  explicit TPropertyGrid(QWidget* Parent = nullptr);
  ~TPropertyGrid() override;

  void SetForm(TDesignForm* Form);

  // The row of a property ("Name" for the component's name); null when it is not shown.
  TPropertyRow* Row(const QString& Name) const;
  QStringList RowNames() const;
  // What the inspector shows: "PerfFilter1: TPerfFilter", "3 objects selected".
  QString Caption() const;
  // Puts the cursor into the Name row, its text selected.
  void EditName();

 signals:
  // The "..." of a collection row: the host opens its collection editor.
  void CollectionEditRequested(TComponent* Owner, const TPropertyInfo* Property);

 private:
  void Rebuild();
  // The selection's name and class, or how many objects are selected.
  void ShowCaption();
  void RefreshValues();
  void AddRow(std::unique_ptr<TPropertyEditor> Editor);
  void Write(TPropertyRow* Row, const QString& Text);
  void OpenDialog(TPropertyRow* Row);
  // Runs an edit of the selection: when it raises, the old values are put back and the
  // message is shown; when it changed a stored value, the form is marked modified.
  void Change(const std::function<void()>& Edit);

  TDesignForm* Form_ = nullptr;
  QLabel* Caption_;
  QTableWidget* Grid_;
  std::vector<TPropertyRow*> Rows_;
  // A component's Name as a property, written through the form's renaming.
  TPropertyInfo NameProperty_;
  // While an edit runs its row must stay: a rebuild asked for meanwhile waits for it.
  bool Changing_ = false;
};

}  // namespace gaugery
