#include "ListViewRows.h"

#include <QTreeWidget>

#include "framework/Exceptions.h"

namespace gaugery {

TListViewRows::TListViewRows(QTreeWidget& List) : List_(List) {}

void TListViewRows::BeginUpdate() {
  if (UpdateCount_++ == 0) List_.setUpdatesEnabled(false);
}

// Enabling updates again schedules the one repaint of the whole batch.
void TListViewRows::EndUpdate() {
  if (--UpdateCount_ == 0) List_.setUpdatesEnabled(true);
}

int TListViewRows::Count() const { return List_.topLevelItemCount(); }

void TListViewRows::Add() { new QTreeWidgetItem(&List_); }

void TListViewRows::Delete(int Index) {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  delete List_.takeTopLevelItem(Index);
}

void TListViewRows::SetCaption(int Row, const std::string& Text) {
  Item(Row).setText(0, QString::fromStdString(Text));
}

int TListViewRows::SubItemCount(int Row) const {
  const int Columns = Item(Row).columnCount();
  return Columns > 1 ? Columns - 1 : 0;
}

void TListViewRows::AddSubItem(int Row) {
  QTreeWidgetItem& Cells = Item(Row);
  const int Column = SubItemCount(Row) + 1;
  if (Cells.columnCount() == 0) Cells.setText(0, QString());
  Cells.setText(Column, QString());
  Cells.setTextAlignment(Column, Qt::Alignment(List_.headerItem()->textAlignment(Column)));
}

void TListViewRows::SetSubItem(int Row, int Index, const TProcessCell& Cell) {
  if (Index < 0 || Index >= SubItemCount(Row)) RaiseListIndexError(Index);
  Item(Row).setText(Index + 1, QString::fromStdString(Cell.Text));
}

QTreeWidgetItem& TListViewRows::Item(int Row) const {
  QTreeWidgetItem* Found = List_.topLevelItem(Row);
  if (Found == nullptr) RaiseListIndexError(Row);
  return *Found;
}

TListViewColumns::TListViewColumns(QTreeWidget& List) : List_(List) {}

int TListViewColumns::Count() const { return List_.columnCount(); }

void TListViewColumns::Clear() { List_.setColumnCount(0); }

void TListViewColumns::Add() { List_.setColumnCount(List_.columnCount() + 1); }

void TListViewColumns::SetCaption(int Column, const std::string& Text) {
  const QString Caption = QString::fromStdString(Text);
  List_.headerItem()->setText(Column, Caption);
  List_.headerItem()->setToolTip(Column, Caption);
}

void TListViewColumns::SetCounterLayout(int Column, int Width) {
  List_.headerItem()->setTextAlignment(Column, Qt::AlignRight | Qt::AlignVCenter);
  List_.setColumnWidth(Column, Width);
}

}  // namespace gaugery
