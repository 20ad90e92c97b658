// Rows of text cells printed as lines: to a terminal with a header line and the
// columns aligned, elsewhere as plain lines of cells joined by a separator, for
// programs to read.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace gaugery::cli {

class TTextTable {
 public:
  enum class TAlign { Left, Right };
  struct TColumn {
    std::string Caption;
    TAlign Align = TAlign::Left;
  };

  // Separator joins the cells of a plain line.
  TTextTable(std::vector<TColumn> Columns, std::string Separator);

  // A row of at most as many cells as there are columns, and an optional line of
  // detail printed under it, indented.
  void Add(std::vector<std::string> Cells, std::string Detail = "");

  // Aligned, under a header line, when Aligned is true; plain lines otherwise.
  void Print(std::ostream& Out, bool Aligned) const;

 private:
  struct TRow {
    std::vector<std::string> Cells;
    std::string Detail;
  };

  void PrintRow(std::ostream& Out, const std::vector<std::string>& Cells,
                const std::vector<std::size_t>& Widths) const;

  std::vector<TColumn> Columns_;
  std::string Separator_;
  std::vector<TRow> Rows_;
};

}  // namespace gaugery::cli
