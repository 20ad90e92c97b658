#include "TopTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/Exceptions.h"
#include "framework/TextCompare.h"
#include "framework/Unicode.h"

namespace gaugery::cli {

namespace {

// The byte offsets at which the code points of UTF-8 text begin, and its length.
std::vector<std::size_t> CodePointStarts(const std::string& Text) {
  std::vector<std::size_t> Starts;
  for (std::size_t At = 0; At < Text.size(); ++At) {
    if ((static_cast<unsigned char>(Text[At]) & 0xC0) != 0x80) Starts.push_back(At);
  }
  Starts.push_back(Text.size());
  return Starts;
}

// Whether A goes before B in Order; equal rows keep their order (the sort is stable).
bool ComesBefore(const TTopRow& A, const TTopRow& B, TSortOrder Order) {
  if (Order.Column == 0) {
    const int Compared = AnsiCompareText(A.Name, B.Name);
    return Order.Descending ? Compared > 0 : Compared < 0;
  }
  const Extended ValueA = A.Cell(Order.Column).Value;
  const Extended ValueB = B.Cell(Order.Column).Value;
  if (!HasValue(ValueA) || !HasValue(ValueB)) return HasValue(ValueA) && !HasValue(ValueB);
  return Order.Descending ? ValueA > ValueB : ValueA < ValueB;
}

}  // namespace

Extended NoValue() { return std::numeric_limits<Extended>::quiet_NaN(); }
bool HasValue(Extended Value) { return !std::isnan(Value); }

const TProcessCell& TTopRow::Cell(std::size_t Column) const {
  if (Column == 0 || Column > Cells.size() + 1) RaiseListIndexError(static_cast<int>(Column));
  return Column <= Cells.size() ? Cells[Column - 1] : ProcessorTime;
}

void TTopRows::Delete(int Index) {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  Rows_.erase(Rows_.begin() + Index);
}

int TTopRows::SubItemCount(int Row) const {
  return static_cast<int>(Rows_.at(static_cast<std::size_t>(Row)).Cells.size());
}

void TTopRows::SetSubItem(int Row, int Index, const TProcessCell& Cell) {
  At(Row).Cells.at(static_cast<std::size_t>(Index)) = Cell;
}

TSortOrder SortedBy(std::size_t Column) { return {Column, Column > 0}; }

std::vector<std::size_t> ColumnsNamed(const std::vector<std::string>& Captions,
                                      const std::string& Name) {
  if (Name.empty()) return {};
  const std::size_t Length = CodePointCount(Name);
  std::vector<std::size_t> Begun;
  for (std::size_t Column = 0; Column < Captions.size(); ++Column) {
    if (AnsiSameText(Captions[Column], Name)) return {Column};
    if (AnsiSameText(FirstCodePoints(Captions[Column], Length), Name)) Begun.push_back(Column);
  }
  return Begun;
}

std::optional<std::size_t> ColumnNamed(const std::vector<std::string>& Captions,
                                       const std::string& Name) {
  const std::vector<std::size_t> Columns = ColumnsNamed(Captions, Name);
  if (Columns.size() != 1) return std::nullopt;
  return Columns.front();
}

bool NameContains(const std::string& Name, const std::string& Text) {
  if (Text.empty()) return true;
  const std::vector<std::size_t> Starts = CodePointStarts(Name);
  const std::size_t Length = CodePointCount(Text);
  const std::size_t NameLength = Starts.size() - 1;
  for (std::size_t First = 0; First + Length <= NameLength; ++First) {
    const std::size_t Begin = Starts[First];
    if (AnsiSameText(Name.substr(Begin, Starts[First + Length] - Begin), Text)) return true;
  }
  return false;
}

TArrangedRows ArrangeRows(const std::vector<TTopRow>& Rows, TSortOrder Order,
                          const std::string& Filter) {
  TArrangedRows Arranged;
  for (const TTopRow& Row : Rows) {
    if (Row.Name == TotalInstanceName) {
      Arranged.Total = &Row;
      continue;
    }
    ++Arranged.ProcessCount;
    if (NameContains(Row.Name, Filter)) Arranged.Rows.push_back(&Row);
  }
  std::stable_sort(
      Arranged.Rows.begin(), Arranged.Rows.end(),
      [Order](const TTopRow* A, const TTopRow* B) { return ComesBefore(*A, *B, Order); });
  return Arranged;
}

}  // namespace gaugery::cli
