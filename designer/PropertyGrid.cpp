#include "PropertyGrid.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <optional>
#include <string>

#include "DesignerMessages.h"
#include "PropertyRow.h"
#include "PropertySnapshot.h"

namespace gaugery {

TPropertyGrid::TPropertyGrid(QWidget* Parent)
    : QWidget(Parent),
      Caption_(new QLabel(this)),
      Grid_(new QTableWidget(0, 2, this)),
      NameProperty_{.Name = "Name", .Kind = TPropertyKind::pkString, .Stored = false} {
  NameProperty_.GetString = [](TPersistent* Object) { return As<TComponent>(Object)->Name(); };
  NameProperty_.SetString = [this](TPersistent* Object, const std::string& Value) {
    Form_->RenameComponent(As<TComponent>(Object), Value);
  };
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(2, 2, 2, 2);
  Layout->addWidget(Caption_);
  Layout->addWidget(Grid_);
  Grid_->setHorizontalHeaderLabels({tr("Property"), tr("Value")});
  Grid_->horizontalHeader()->setStretchLastSection(true);
  Grid_->verticalHeader()->hide();
  Grid_->setSelectionMode(QAbstractItemView::NoSelection);
  Grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid_->setColumnWidth(0, 110);
}

TPropertyGrid::~TPropertyGrid() = default;

void TPropertyGrid::SetForm(TDesignForm* Form) {
  Form_ = Form;
  connect(Form_, &TDesignForm::SelectionChanged, this, &TPropertyGrid::Rebuild);
  connect(Form_, &TDesignForm::Changed, this, &TPropertyGrid::RefreshValues);
  Rebuild();
}

TPropertyRow* TPropertyGrid::Row(const QString& Name) const {
  for (TPropertyRow* Row : Rows_) {
    if (Row->Name() == Name) return Row;
  }
  return nullptr;
}

QStringList TPropertyGrid::RowNames() const {
  QStringList Names;
  for (const TPropertyRow* Row : Rows_) Names << Row->Name();
  return Names;
}

QString TPropertyGrid::Caption() const { return Caption_->text(); }

void TPropertyGrid::EditName() {
  if (TPropertyRow* NameRow = Row(QStringLiteral("Name"))) {
    NameRow->TextLine()->setFocus();
    NameRow->TextLine()->selectAll();
  }
}

void TPropertyGrid::Rebuild() {
  if (Changing_) {
    QTimer::singleShot(0, this, &TPropertyGrid::Rebuild);
    return;
  }
  Grid_->setRowCount(0);
  Rows_.clear();
  ShowCaption();
  const TDesignSelection& Selection = Form_->Selection();
  if (Selection.empty()) return;
  if (Selection.size() == 1 && dynamic_cast<TComponent*>(Selection[0]) != nullptr) {
    AddRow(std::make_unique<TPropertyEditor>(Selection, NameProperty_));
  }
  const TClassInfo* Class = ClassInfoOf(Selection[0]);
  if (Class == nullptr) return;
  for (const TPropertyInfo* Property : PublishedProperties(*Class)) {
    if (auto Editor = CreatePropertyEditor(Selection, Property->Name)) AddRow(std::move(Editor));
  }
}

void TPropertyGrid::AddRow(std::unique_ptr<TPropertyEditor> Editor) {
  auto* Row = new TPropertyRow(std::move(Editor), Grid_);
  const int Index = Grid_->rowCount();
  Grid_->insertRow(Index);
  auto* Caption = new QTableWidgetItem(Row->Name());
  if (Row->IsReadOnly())
    Caption->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
  Grid_->setItem(Index, 0, Caption);
  Grid_->setCellWidget(Index, 1, Row);
  Grid_->setRowHeight(Index, Row->sizeHint().height());
  connect(Row, &TPropertyRow::ValueEntered, this,
          [this, Row](const QString& Text) { Write(Row, Text); });
  connect(Row, &TPropertyRow::DialogRequested, this, [this, Row] { OpenDialog(Row); });
  Rows_.push_back(Row);
}

void TPropertyGrid::ShowCaption() {
  const TDesignSelection& Selection = Form_->Selection();
  if (Selection.size() == 1) {
    Caption_->setText(
        QString::fromStdString(DesignNameOf(Selection[0]) + ": " + Selection[0]->ClassName()));
  } else {
    Caption_->setText(tr("%1 objects selected").arg(Selection.size()));
  }
}

void TPropertyGrid::RefreshValues() {
  ShowCaption();
  for (TPropertyRow* Row : Rows_) Row->Refresh();
}

void TPropertyGrid::Write(TPropertyRow* Row, const QString& Text) {
  Change([&] { Row->Editor().SetValue(Text.toStdString()); });
}

void TPropertyGrid::OpenDialog(TPropertyRow* Row) {
  const TPropertyInfo& Property = Row->Editor().Property();
  auto* Owner = dynamic_cast<TComponent*>(Row->Editor().GetComponent(0));
  if (Property.Kind == TPropertyKind::pkCollection) {
    if (Owner != nullptr) emit CollectionEditRequested(Owner, &Property);
    return;
  }
  Change([&] { Row->Editor().Edit(); });
}

void TPropertyGrid::Change(const std::function<void()>& Edit) {
  const TPropertySnapshot Before(Form_->Selection());
  const QScopedValueRollback<bool> Guard(Changing_, true);
  std::optional<std::string> Failure;
  try {
    Edit();
  } catch (const std::exception& Error) {
    Failure = Error.what();
    Before.Restore();
  }
  if (!(TPropertySnapshot(Form_->Selection()) == Before)) Form_->PropertiesChanged();
  RefreshValues();
  if (Failure) ShowErrorMessage(this, *Failure);
}

}  // namespace gaugery
