// The rows and columns of a report-style Win32 ListView as the process table writes
// them: a row's caption is column 0, its sub-item k column k + 1, and a batch update
// holds back repainting until the last EndUpdate.
#pragma once

#include <vector>

#include "ProcessTable.h"
#include "framework/WindowsApi.h"

namespace gaugery {

class TListViewRows : public TProcessRows {
 public:
  explicit TListViewRows(HWND List);

  void BeginUpdate() override;
  void EndUpdate() override;
  int Count() const override;
  void Add() override;
  void Delete(int Index) override;
  void SetCaption(int Row, const std::string& Text) override;
  int SubItemCount(int Row) const override;
  void AddSubItem(int Row) override;
  void SetSubItem(int Row, int Index, const TProcessCell& Cell) override;

 private:
  void SetText(int Row, int Column, const std::string& Text);
  void CheckRow(int Row) const;

  HWND List_;
  // A ListView row has a cell in every column; how many of them the table has written
  // as sub-items is kept here, one count per row.
  std::vector<int> SubItemCounts_;
  int UpdateCount_ = 0;
};

// Columns appended by Add are DefaultColumnWidth pixels wide and left-justified.
class TListViewColumns : public TProcessColumns {
 public:
  static constexpr int DefaultColumnWidth = 120;

  explicit TListViewColumns(HWND List);

  int Count() const override;
  void Clear() override;
  void Add() override;
  void SetCaption(int Column, const std::string& Text) override;
  void SetCounterLayout(int Column, int Width) override;

 private:
  HWND List_;
};

}  // namespace gaugery
