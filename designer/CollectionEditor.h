// The collection editor: the items of one collection property (a filter's or a
// monitor's Items), with buttons to add, delete and move them. Selecting items hands them
// to the object inspector, which then edits them through their property editors.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "DesignForm.h"

class QAction;
class QListWidget;

namespace gaugery {

class TCollectionEditor : public QWidget {
  Q_OBJECT

 public:
  explicit TCollectionEditor(QWidget* Parent = nullptr);

  void SetForm(TDesignForm* Form);

  // Shows the items of the collection property Property of Owner.
  void Edit(TComponent* Owner, const TPropertyInfo& Property);
  // Forgets the collection; the editor shows nothing.
  void Release();
  TCollection* Collection() const;
  // "PerfFilter1.Items"; empty when nothing is edited.
  QString Title() const;

  QListWidget* List() const { return List_; }
  QAction* AddAction() const { return AddAction_; }
  QAction* DeleteAction() const { return DeleteAction_; }
  QAction* MoveUpAction() const { return MoveUpAction_; }
  QAction* MoveDownAction() const { return MoveDownAction_; }

 signals:
  // The editor started or stopped editing a collection.
  void TitleChanged(const QString& Title);

 private:
  void Refill();
  std::vector<TCollectionItem*> SelectedItems() const;
  void SelectItems(const std::vector<TCollectionItem*>& Items);
  void ShowFormSelection();
  void ListSelectionChanged();
  void AddItem();
  void DeleteItems();
  void MoveSelected(int Step);
  void UpdateActions();

  TDesignForm* Form_ = nullptr;
  TComponent* Owner_ = nullptr;
  const TPropertyInfo* Property_ = nullptr;
  QListWidget* List_;
  QAction* AddAction_;
  QAction* DeleteAction_;
  QAction* MoveUpAction_;
  QAction* MoveDownAction_;
  // Set while the list is changed from here, so that its selection does not go back to
  // the form.
  bool Syncing_ = false;
};

}  // namespace gaugery
