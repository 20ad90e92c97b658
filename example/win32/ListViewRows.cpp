#include "ListViewRows.h"

#include <commctrl.h>

#include "framework/Exceptions.h"
#include "framework/Unicode.h"

namespace gaugery {

TListViewRows::TListViewRows(HWND List) : List_(List) {}

void TListViewRows::BeginUpdate() {
  if (UpdateCount_++ == 0) SendMessageW(List_, WM_SETREDRAW, FALSE, 0);
}

// Redrawing is switched on again and the list repainted once for the whole batch.
void TListViewRows::EndUpdate() {
  if (--UpdateCount_ != 0) return;
  SendMessageW(List_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(List_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

int TListViewRows::Count() const { return static_cast<int>(SubItemCounts_.size()); }

void TListViewRows::Add() {
  LVITEMW Item{};
  Item.mask = LVIF_TEXT;
  Item.iItem = Count();
  Item.pszText = const_cast<LPWSTR>(L"");
  if (ListView_InsertItem(List_, &Item) < 0) throw Exception("The list view refused a new row");
  SubItemCounts_.push_back(0);
}

void TListViewRows::Delete(int Index) {
  CheckRow(Index);
  ListView_DeleteItem(List_, Index);
  SubItemCounts_.erase(SubItemCounts_.begin() + Index);
}

void TListViewRows::SetCaption(int Row, const std::string& Text) {
  CheckRow(Row);
  SetText(Row, 0, Text);
}

int TListViewRows::SubItemCount(int Row) const {
  CheckRow(Row);
  return SubItemCounts_[static_cast<std::size_t>(Row)];
}

void TListViewRows::AddSubItem(int Row) {
  CheckRow(Row);
  const int Column = ++SubItemCounts_[static_cast<std::size_t>(Row)];
  SetText(Row, Column, "");
}

void TListViewRows::SetSubItem(int Row, int Index, const TProcessCell& Cell) {
  if (Index < 0 || Index >= SubItemCount(Row)) RaiseListIndexError(Index);
  SetText(Row, Index + 1, Cell.Text);
}

void TListViewRows::SetText(int Row, int Column, const std::string& Text) {
  WideString Wide = ToWide(Text);
  ListView_SetItemText(List_, Row, Column, Wide.data());
}

void TListViewRows::CheckRow(int Row) const {
  if (Row < 0 || Row >= Count()) RaiseListIndexError(Row);
}

TListViewColumns::TListViewColumns(HWND List) : List_(List) {}

int TListViewColumns::Count() const {
  return Header_GetItemCount(ListView_GetHeader(List_));
}

void TListViewColumns::Clear() {
  for (int Column = Count(); Column-- > 0;) ListView_DeleteColumn(List_, Column);
}

void TListViewColumns::Add() {
  LVCOLUMNW Column{};
  Column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  Column.fmt = LVCFMT_LEFT;
  Column.cx = DefaultColumnWidth;
  Column.pszText = const_cast<LPWSTR>(L"");
  if (ListView_InsertColumn(List_, Count(), &Column) < 0) {
    throw Exception("The list view refused a new column");
  }
}

void TListViewColumns::SetCaption(int Column, const std::string& Text) {
  WideString Wide = ToWide(Text);
  LVCOLUMNW Caption{};
  Caption.mask = LVCF_TEXT;
  Caption.pszText = Wide.data();
  ListView_SetColumn(List_, Column, &Caption);
}

void TListViewColumns::SetCounterLayout(int Column, int Width) {
  LVCOLUMNW Layout{};
  Layout.mask = LVCF_FMT | LVCF_WIDTH;
  Layout.fmt = LVCFMT_RIGHT;
  Layout.cx = Width;
  ListView_SetColumn(List_, Column, &Layout);
}

}  // namespace gaugery
