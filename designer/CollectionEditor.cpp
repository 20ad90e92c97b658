#include "CollectionEditor.h"

#include <QAction>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "framework/TextFunctions.h"

namespace gaugery {

namespace {

// "0 - Process \ Working Set": the position, then the item's non-empty texts.
QString ItemCaption(TCollectionItem* Item) {
  std::string Caption = IntToStr(Item->Index()) + " - ";
  try {
    std::string Texts;
    for (const TPropertyInfo* Property : PublishedProperties(*ClassInfoOf(Item))) {
      if (Property->Kind != TPropertyKind::pkString) continue;
      const std::string Text = Property->GetString(Item);
      if (!Text.empty()) Texts += (Texts.empty() ? "" : " \\ ") + Text;
    }
    Caption += Texts.empty() ? Item->ClassName() : Texts;
  } catch (const std::exception&) {
    Caption += Item->ClassName();
  }
  return QString::fromStdString(Caption);
}

TCollectionItem* ItemOf(const QListWidgetItem* Row) {
  return reinterpret_cast<TCollectionItem*>(Row->data(Qt::UserRole).value<quintptr>());
}

}  // namespace

TCollectionEditor::TCollectionEditor(QWidget* Parent)
    : QWidget(Parent), List_(new QListWidget(this)) {
  auto* Tools = new QToolBar(this);
  AddAction_ = Tools->addAction(tr("Add"), this, &TCollectionEditor::AddItem);
  DeleteAction_ = Tools->addAction(tr("Delete"), this, &TCollectionEditor::DeleteItems);
  MoveUpAction_ = Tools->addAction(tr("Move Up"), this, [this] { MoveSelected(-1); });
  MoveDownAction_ = Tools->addAction(tr("Move Down"), this, [this] { MoveSelected(1); });
  // Del is the window's: it deletes the selected items like any selection.
  AddAction_->setShortcut(QKeySequence(Qt::Key_Insert));
  AddAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(AddAction_);
  List_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  connect(List_, &QListWidget::itemSelectionChanged, this,
          &TCollectionEditor::ListSelectionChanged);
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(2, 2, 2, 2);
  Layout->addWidget(Tools);
  Layout->addWidget(List_);
  UpdateActions();
}

void TCollectionEditor::SetForm(TDesignForm* Form) {
  Form_ = Form;
  connect(Form_, &TDesignForm::FormReplaced, this, &TCollectionEditor::Release);
  connect(Form_, &TDesignForm::ComponentRemoving, this, [this](TComponent* Component) {
    if (Component == Owner_) Release();
  });
  connect(Form_, &TDesignForm::Changed, this, &TCollectionEditor::Refill);
  connect(Form_, &TDesignForm::SelectionChanged, this, &TCollectionEditor::ShowFormSelection);
}

void TCollectionEditor::Edit(TComponent* Owner, const TPropertyInfo& Property) {
  Owner_ = Owner;
  Property_ = &Property;
  Refill();
  emit TitleChanged(Title());
}

void TCollectionEditor::Release() {
  Owner_ = nullptr;
  Property_ = nullptr;
  Refill();
  emit TitleChanged(Title());
}

TCollection* TCollectionEditor::Collection() const {
  return Owner_ == nullptr ? nullptr : Property_->GetCollection(Owner_);
}

QString TCollectionEditor::Title() const {
  if (Owner_ == nullptr) return {};
  return QString::fromStdString(Owner_->Name() + "." + Property_->Name);
}

void TCollectionEditor::Refill() {
  const QScopedValueRollback<bool> Guard(Syncing_, true);
  const std::vector<TCollectionItem*> Selected = SelectedItems();
  List_->clear();
  if (TCollection* Items = Collection()) {
    for (int I = 0; I < Items->Count(); ++I) {
      auto* Row = new QListWidgetItem(ItemCaption(Items->Items(I)), List_);
      Row->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(Items->Items(I))));
    }
  }
  SelectItems(Selected);
  UpdateActions();
}

std::vector<TCollectionItem*> TCollectionEditor::SelectedItems() const {
  std::vector<TCollectionItem*> Items;
  for (int I = 0; I < List_->count(); ++I) {
    if (List_->item(I)->isSelected()) Items.push_back(ItemOf(List_->item(I)));
  }
  return Items;
}

void TCollectionEditor::SelectItems(const std::vector<TCollectionItem*>& Items) {
  for (int I = 0; I < List_->count(); ++I) {
    QListWidgetItem* Row = List_->item(I);
    Row->setSelected(std::find(Items.begin(), Items.end(), ItemOf(Row)) != Items.end());
  }
}

void TCollectionEditor::ShowFormSelection() {
  const QScopedValueRollback<bool> Guard(Syncing_, true);
  std::vector<TCollectionItem*> Items;
  for (TPersistent* Object : Form_->Selection()) {
    if (auto* Item = dynamic_cast<TCollectionItem*>(Object)) Items.push_back(Item);
  }
  SelectItems(Items);
  UpdateActions();
}

void TCollectionEditor::ListSelectionChanged() {
  UpdateActions();
  if (Syncing_ || Owner_ == nullptr) return;
  const std::vector<TCollectionItem*> Items = SelectedItems();
  if (Items.empty()) {
    Form_->Select({Owner_});
  } else {
    Form_->Select(TDesignSelection(Items.begin(), Items.end()));
  }
}

void TCollectionEditor::AddItem() {
  if (TCollection* Items = Collection()) Form_->Select({Form_->AddItem(Items)});
}

void TCollectionEditor::DeleteItems() { Form_->DeleteItems(SelectedItems()); }

void TCollectionEditor::MoveSelected(int Step) {
  std::vector<TCollectionItem*> Items = SelectedItems();
  if (Items.empty()) return;
  // The item that leads the way moves first, so that the others keep their order.
  if (Step > 0) std::reverse(Items.begin(), Items.end());
  const int Target = Items.front()->Index() + Step;
  if (Target < 0 || Target >= Collection()->Count()) return;
  for (TCollectionItem* Item : Items) Form_->MoveItem(Item, Item->Index() + Step);
}

void TCollectionEditor::UpdateActions() {
  const bool Editing = Owner_ != nullptr;
  const bool HasSelection = !List_->selectedItems().isEmpty();
  AddAction_->setEnabled(Editing);
  DeleteAction_->setEnabled(HasSelection);
  MoveUpAction_->setEnabled(HasSelection);
  MoveDownAction_->setEnabled(HasSelection);
}

}  // namespace gaugery
