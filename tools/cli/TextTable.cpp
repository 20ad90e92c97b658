#include "TextTable.h"

#include <algorithm>
#include <ostream>

#include "PrintableText.h"

namespace gaugery::cli {

namespace {

constexpr char kColumnGap[] = "  ";
constexpr char kDetailIndent[] = "    ";

}  // namespace

TTextTable::TTextTable(std::vector<TColumn> Columns, std::string Separator)
    : Columns_(std::move(Columns)), Separator_(std::move(Separator)) {}

// Cells come from the data (instance and object names): control characters in them
// would steer the terminal or break the lines, so they are shown as "?".
void TTextTable::Add(std::vector<std::string> Cells, std::string Detail) {
  for (std::string& Cell : Cells) Cell = PrintableText(Cell);
  Rows_.push_back({std::move(Cells), PrintableText(Detail)});
}

void TTextTable::Print(std::ostream& Out, bool Aligned) const {
  if (!Aligned) {
    for (const TRow& Row : Rows_) {
      for (std::size_t Column = 0; Column < Row.Cells.size(); ++Column) {
        Out << (Column > 0 ? Separator_ : "") << Row.Cells[Column];
      }
      Out << "\n";
      if (!Row.Detail.empty()) Out << kDetailIndent << Row.Detail << "\n";
    }
    return;
  }
  std::vector<std::string> Header;
  std::vector<std::size_t> Widths;
  for (const TColumn& Column : Columns_) {
    Header.push_back(Column.Caption);
    Widths.push_back(DisplayWidth(Column.Caption));
  }
  for (const TRow& Row : Rows_) {
    for (std::size_t Column = 0; Column < Row.Cells.size() && Column < Widths.size(); ++Column) {
      Widths[Column] = std::max(Widths[Column], DisplayWidth(Row.Cells[Column]));
    }
  }
  PrintRow(Out, Header, Widths);
  for (const TRow& Row : Rows_) {
    PrintRow(Out, Row.Cells, Widths);
    if (!Row.Detail.empty()) Out << kDetailIndent << Row.Detail << "\n";
  }
}

// The last column is not padded on the right: lines end with their text.
void TTextTable::PrintRow(std::ostream& Out, const std::vector<std::string>& Cells,
                          const std::vector<std::size_t>& Widths) const {
  std::string Line;
  const std::size_t Count = std::min(Cells.size(), Widths.size());
  for (std::size_t Column = 0; Column < Count; ++Column) {
    const std::string& Cell = Cells[Column];
    const std::string Pad(Widths[Column] - DisplayWidth(Cell), ' ');
    if (Column > 0) Line += kColumnGap;
    if (Columns_[Column].Align == TAlign::Right) {
      Line += Pad + Cell;
    } else {
      Line += Cell;
      if (Column + 1 < Count) Line += Pad;
    }
  }
  Out << Line << "\n";
}

}  // namespace gaugery::cli
