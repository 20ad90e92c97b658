// The process table of Brindle and of `gaugery top`: one row per instance of the first
// counter selection's object, in snapshot order; the row's caption is the instance name,
// its sub-item k the text of selection k's raw value for that instance.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PerfFilter.h"
#include "framework/Format.h"

namespace gaugery {

// One sub-item: its text, and the number it shows (the raw value, or for a running
// time the seconds), by which a list may sort.
struct TProcessCell {
  std::string Text;
  Extended Value = 0;
};

// A report-style list the table writes into: rows with a caption and a growing list of
// sub-items, changed in place inside a batch update.
class TProcessRows {
 public:
  virtual ~TProcessRows() = default;

  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual int Count() const = 0;
  // Appends an empty row.
  virtual void Add() = 0;
  virtual void Delete(int Index) = 0;
  virtual void SetCaption(int Row, const std::string& Text) = 0;
  virtual int SubItemCount(int Row) const = 0;
  // Appends an empty sub-item.
  virtual void AddSubItem(int Row) = 0;
  virtual void SetSubItem(int Row, int Index, const TProcessCell& Cell) = 0;
};

// The columns of a report-style list the table lays out.
class TProcessColumns {
 public:
  virtual ~TProcessColumns() = default;

  virtual int Count() const = 0;
  // Removes every column.
  virtual void Clear() = 0;
  // Appends a column of the list's default width and alignment.
  virtual void Add() = 0;
  virtual void SetCaption(int Column, const std::string& Text) = 0;
  // Right-justifies the column, header and cells, and makes it Width pixels wide.
  virtual void SetCounterLayout(int Column, int Width) = 0;
};

// The caption of the instance-name column.
inline constexpr char TaskNameCaption[] = "Task name";

// The width of a counter's column, in pixels.
inline constexpr int CounterColumnWidth = 100;

// The filter of the process table, read from its stored form (the JSON text of a
// TPerfFilter root). Exception when the form is refused or holds another class.
std::unique_ptr<TPerfFilter> ReadProcessFilter(const std::string& FormText);

// "Task name", then the counter name of every selection.
std::vector<std::string> ProcessColumnCaptions(TPerfFilter& Filter);

// Lays out Columns for the filter's selections: a list with more columns than those
// captions loses all of them first, the missing ones are appended; then column 0 is
// captioned "Task name" and column k + 1 the counter name of selection k, right-justified
// and CounterColumnWidth wide. Existing columns keep their other settings.
void WriteProcessColumns(TPerfFilter& Filter, TProcessColumns& Columns);

// The rows of the sample the filter's items are located in, written over Rows, surplus
// rows deleted from the end. A cell shows the running time ("hh:nn:ss", after the whole
// days once there is one: "106d 23:32:14") for the counter named "Elapsed time" (ignoring
// case), else the value grouped
// by thousands, with the user's separators. An error ends the writing where it occurs,
// leaving the rows as far as they got; the batch update is closed on every way out.
void WriteProcessRows(TPerfFilter& Filter, TProcessRows& Rows);

// One refresh: Collect, then WriteProcessRows.
void RefreshProcessRows(TPerfFilter& Filter, TProcessRows& Rows);

}  // namespace gaugery
