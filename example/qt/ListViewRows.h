// The rows and columns of a report-style list view (a QTreeWidget without tree
// decoration) as the process table writes them: a row's caption is column 0, its
// sub-item k column k + 1, and a batch update holds back repainting until the last
// EndUpdate.
#pragma once

#include "ProcessTable.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace gaugery {

class TListViewRows : public TProcessRows {
 public:
  explicit TListViewRows(QTreeWidget& List);

  void BeginUpdate() override;
  void EndUpdate() override;
  int Count() const override;
  void Add() override;
  void Delete(int Index) override;
  void SetCaption(int Row, const std::string& Text) override;
  int SubItemCount(int Row) const override;
  // The new cell takes the alignment of its column's header.
  void AddSubItem(int Row) override;
  void SetSubItem(int Row, int Index, const TProcessCell& Cell) override;

 private:
  QTreeWidgetItem& Item(int Row) const;

  QTreeWidget& List_;
  int UpdateCount_ = 0;
};

// A column's caption shows whole as its tool tip when the column is too narrow for it.
class TListViewColumns : public TProcessColumns {
 public:
  explicit TListViewColumns(QTreeWidget& List);

  int Count() const override;
  void Clear() override;
  void Add() override;
  void SetCaption(int Column, const std::string& Text) override;
  void SetCounterLayout(int Column, int Width) override;

 private:
  QTreeWidget& List_;
};

}  // namespace gaugery
