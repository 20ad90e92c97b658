#include "ObjectKeyPropertyEditor.h"

#include <QCloseEvent>

#include "ModalDialogs.h"
#include "ObjectPropertyEditor.h"
#include "PerfMonitor.h"
#include "framework/TextCompare.h"
#include "ui_ObjectKeyPropertyEditor.h"

namespace gaugery {

namespace {

std::string TextOf(const QListWidgetItem* Item) { return Item->text().toStdString(); }

bool HoldsText(const QListWidget* List, const std::string& Text) {
  for (int I = 0; I < List->count(); ++I) {
    if (AnsiSameText(TextOf(List->item(I)), Text)) return true;
  }
  return false;
}

}  // namespace

TObjectKeyPropertyForm::TObjectKeyPropertyForm(QWidget* Parent)
    : QDialog(Parent),
      Ui_(std::make_unique<Ui::TObjectKeyPropertyForm>()),
      PerfCounters(std::make_unique<TPerfCounters>(nullptr)) {
  Ui_->setupUi(this);
  PerfCounters->SetLocaleID("009");
  connect(Ui_->IncludeBtn, &QToolButton::clicked, this, &TObjectKeyPropertyForm::IncludeBtnClick);
  connect(Ui_->ExcludeBtn, &QToolButton::clicked, this, &TObjectKeyPropertyForm::ExcludeBtnClick);
  connect(Ui_->IncAllBtn, &QToolButton::clicked, this, &TObjectKeyPropertyForm::IncAllBtnClick);
  connect(Ui_->ExAllBtn, &QToolButton::clicked, this, &TObjectKeyPropertyForm::ExcAllBtnClick);
  FormCreate();
}

TObjectKeyPropertyForm::~TObjectKeyPropertyForm() = default;

void TObjectKeyPropertyForm::FormCreate() {
  Ui_->SrcList->clear();
  Ui_->DstList->clear();
}

void TObjectKeyPropertyForm::closeEvent(QCloseEvent* Event) {
  QDialog::closeEvent(Event);
  FormClose();
}

void TObjectKeyPropertyForm::FormClose() { setAttribute(Qt::WA_DeleteOnClose, false); }

void TObjectKeyPropertyForm::SetData(const std::string& LocaleID, const std::string& ObjectName,
                                     const std::string& ObjectKey) {
  // The locale first, so that the object name is resolved in it.
  PerfCounters->SetLocaleID(LocaleID);
  PerfCounters->SetObjectName(ObjectName);
  TStringList KeyNames;
  ParseKey(ObjectKey, &KeyNames);
  for (int I = 0; I < KeyNames.Count(); ++I) {
    Ui_->DstList->addItem(QString::fromStdString(KeyNames.Strings(I)));
  }
  const std::int32_t Count = PerfCounters->GetCounterCount();
  for (std::int32_t I = 0; I < Count; ++I) InitItem(PerfCounters->GetCounterTitle(I));
  SetButtons();
}

std::string TObjectKeyPropertyForm::GetObjectKey() const {
  std::string Key;
  for (int I = 0; I < Ui_->DstList->count(); ++I) {
    if (I > 0) Key += ";";
    Key += TextOf(Ui_->DstList->item(I));
  }
  return Key;
}

void TObjectKeyPropertyForm::InitItem(const std::string& Title) {
  if (!HoldsText(Ui_->DstList, Title)) {
    AddEntry(Ui_->SrcList, new QListWidgetItem(QString::fromStdString(Title)));
  }
}

void TObjectKeyPropertyForm::AddEntry(QListWidget* List, QListWidgetItem* Item) {
  if (List != Ui_->SrcList) {
    List->addItem(Item);
    return;
  }
  // After the entries that sort before or equal to it, as a sorted list box inserts.
  const std::string Text = TextOf(Item);
  int Row = 0;
  while (Row < List->count() && AnsiCompareText(TextOf(List->item(Row)), Text) <= 0) ++Row;
  List->insertItem(Row, Item);
}

void TObjectKeyPropertyForm::MoveSelected(QListWidget* List, QListWidget* Target) {
  for (int I = List->count() - 1; I >= 0; --I) {
    if (List->item(I)->isSelected()) AddEntry(Target, List->takeItem(I));
  }
}

void TObjectKeyPropertyForm::MoveAll(QListWidget* List, QListWidget* Target) {
  while (List->count() > 0) AddEntry(Target, List->takeItem(0));
}

int TObjectKeyPropertyForm::GetFirstSelection(const QListWidget* List) {
  for (int I = 0; I < List->count(); ++I) {
    if (List->item(I)->isSelected()) return I;
  }
  return -1;
}

void TObjectKeyPropertyForm::SetItem(QListWidget* List, int Index) {
  List->setFocus();
  const int Last = List->count() - 1;
  if (Index == -1) {
    Index = 0;
  } else if (Index > Last) {
    Index = Last;
  }
  if (Index >= 0 && Index <= Last) List->item(Index)->setSelected(true);
  SetButtons();
}

void TObjectKeyPropertyForm::SetButtons() {
  const bool HasAvailable = Ui_->SrcList->count() > 0;
  const bool HasKey = Ui_->DstList->count() > 0;
  Ui_->IncludeBtn->setEnabled(HasAvailable);
  Ui_->IncAllBtn->setEnabled(HasAvailable);
  Ui_->ExcludeBtn->setEnabled(HasKey);
  Ui_->ExAllBtn->setEnabled(HasKey);
}

void TObjectKeyPropertyForm::IncludeBtnClick() {
  const int First = GetFirstSelection(Ui_->SrcList);
  MoveSelected(Ui_->SrcList, Ui_->DstList);
  SetItem(Ui_->SrcList, First);
}

void TObjectKeyPropertyForm::ExcludeBtnClick() {
  const int First = GetFirstSelection(Ui_->DstList);
  MoveSelected(Ui_->DstList, Ui_->SrcList);
  SetItem(Ui_->DstList, First);
}

void TObjectKeyPropertyForm::IncAllBtnClick() {
  MoveAll(Ui_->SrcList, Ui_->DstList);
  SetItem(Ui_->SrcList, 0);
}

void TObjectKeyPropertyForm::ExcAllBtnClick() {
  MoveAll(Ui_->DstList, Ui_->SrcList);
  SetItem(Ui_->DstList, 0);
}

TPropertyAttributes TObjectKeyPropertyEditor::GetAttributes() { return paDialog; }

void TObjectKeyPropertyEditor::Edit() {
  auto* Item = As<TPerfMonitorItem>(GetComponent(0));
  auto Form = std::make_unique<TObjectKeyPropertyForm>();
  Form->SetData(LocaleOfEditedComponent(Item), Item->GetObjectName(), GetValue());
  if (ShowModal(*Form) == QDialog::Accepted) SetValue(Form->GetObjectKey());
  // Released after its pending events, like every dialog the designer closes.
  Form.release()->deleteLater();
}

}  // namespace gaugery

namespace gaugery::ObjectKeyPropertyEditorUnit {

void DoRegister() {
  RegisterPropertyEditor(StringPropertyType(), std::type_index(typeid(TPerfMonitorItem)),
                         "ObjectKey", PropertyEditorClass<TObjectKeyPropertyEditor>());
}

}  // namespace gaugery::ObjectKeyPropertyEditorUnit
