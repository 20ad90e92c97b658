// The table of `gaugery top`: Brindle's process rows with a column of processor time,
// arranged for showing: filtered by name, sorted by any column, the _Total row apart.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ProcessTable.h"

namespace gaugery::cli {

// The caption of the processor-time column, which follows Brindle's columns.
inline constexpr char ProcessorTimeCaption[] = "CPU %";
// The instance that sums up all processes.
inline constexpr char TotalInstanceName[] = "_Total";

// The value of a cell that shows none ("-"): sorted after every number.
Extended NoValue();
bool HasValue(Extended Value);

// One process: its name as the sample holds it, Brindle's cells and the processor time.
struct TTopRow {
  std::string Name;
  std::vector<TProcessCell> Cells;
  TProcessCell ProcessorTime{"-", NoValue()};

  // Column 0 is the name (no cell), 1 to n Brindle's cells, n + 1 the processor time.
  const TProcessCell& Cell(std::size_t Column) const;
};

// The rows as the process table writes them; the processor time is top's own.
class TTopRows : public TProcessRows {
 public:
  void BeginUpdate() override {}
  void EndUpdate() override {}
  int Count() const override { return static_cast<int>(Rows_.size()); }
  void Add() override { Rows_.emplace_back(); }
  void Delete(int Index) override;
  void SetCaption(int Row, const std::string& Text) override { At(Row).Name = Text; }
  int SubItemCount(int Row) const override;
  void AddSubItem(int Row) override { At(Row).Cells.emplace_back(); }
  void SetSubItem(int Row, int Index, const TProcessCell& Cell) override;

  std::vector<TTopRow>& Rows() { return Rows_; }
  const std::vector<TTopRow>& Rows() const { return Rows_; }

 private:
  TTopRow& At(int Row) { return Rows_.at(static_cast<std::size_t>(Row)); }

  std::vector<TTopRow> Rows_;
};

// By which column rows are shown, and in which direction.
struct TSortOrder {
  std::size_t Column = 0;
  bool Descending = false;

  bool operator==(const TSortOrder&) const = default;
};

// A column's own direction: names from A to Z, numbers from the largest down.
TSortOrder SortedBy(std::size_t Column);

// The columns a name may mean: the one whose caption it is, ignoring case, else every
// column whose caption begins with it. None for "".
std::vector<std::size_t> ColumnsNamed(const std::vector<std::string>& Captions,
                                      const std::string& Name);

// The column a user names, when ColumnsNamed finds exactly one. Nothing for an unknown or
// ambiguous name.
std::optional<std::size_t> ColumnNamed(const std::vector<std::string>& Captions,
                                       const std::string& Name);

// Whether the name contains the text, ignoring case; every name contains "".
bool NameContains(const std::string& Name, const std::string& Text);

// The rows to show, in order, and the _Total row apart.
struct TArrangedRows {
  std::vector<const TTopRow*> Rows;
  const TTopRow* Total = nullptr;
  // Processes in the sample, _Total not counted, whatever the filter.
  std::size_t ProcessCount = 0;
};

// The rows whose names contain Filter, stably sorted in Order (cells without a value
// last in either direction), without the _Total row, which is kept apart.
TArrangedRows ArrangeRows(const std::vector<TTopRow>& Rows, TSortOrder Order,
                          const std::string& Filter);

}  // namespace gaugery::cli
