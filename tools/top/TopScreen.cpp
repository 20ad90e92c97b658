#include "TopScreen.h"

#include <algorithm>

#include "PrintableText.h"

namespace gaugery::cli {

namespace {

// The first column is narrowed to this width before any caption is, then to its floor.
constexpr std::size_t FirstColumnShare = 24;
// The fewest characters the first column and a caption are narrowed to.
constexpr std::size_t FirstColumnFloor = 12;
constexpr std::size_t CaptionFloor = 6;
// The lines above and below the rows: header, captions, status.
constexpr int FrameLines = 3;

constexpr char Home[] = "\x1b[H";
constexpr char Inverse[] = "\x1b[7m";
constexpr char Underlined[] = "\x1b[4m";
constexpr char NotUnderlined[] = "\x1b[24m";
constexpr char Bold[] = "\x1b[1m";
constexpr char Plain[] = "\x1b[0m";

// Text in exactly Width columns: padded, or cut with the marker in its last column. A
// wide character that would straddle the cut is left out and its column padded.
std::string Fitted(const std::string& Text, std::size_t Width, bool RightAligned,
                   const std::string& Marker) {
  std::string Shown = Text;
  if (DisplayWidth(Text) > Width)
    Shown = Width == 0 ? std::string() : FirstColumns(Text, Width - 1) + Marker;
  const std::string Pad(Width - std::min(Width, DisplayWidth(Shown)), ' ');
  return RightAligned ? Pad + Shown : Shown + Pad;
}

struct TPlacedColumn {
  std::size_t Index = 0;
  std::size_t Width = 0;
  // The narrowest it may become.
  std::size_t Floor = 0;
};

std::size_t WidestCell(const TTopFrame& Frame, std::size_t Index) {
  std::size_t Widest = 0;
  const auto Measure = [&](const std::vector<std::string>& Cells) {
    if (Index < Cells.size()) Widest = std::max(Widest, DisplayWidth(Cells[Index]));
  };
  for (const std::vector<std::string>& Row : Frame.Rows) Measure(Row);
  if (Frame.Total) Measure(*Frame.Total);
  return Widest;
}

TPlacedColumn Measured(const TTopFrame& Frame, std::size_t Index) {
  const std::size_t Cells = WidestCell(Frame, Index);
  const std::size_t Caption = DisplayWidth(Frame.Columns[Index].Caption);
  const std::size_t Width = std::max(Cells, Caption);
  const std::size_t Floor = Index == 0 ? std::min(Width, FirstColumnFloor)
                                       : std::max(Cells, std::min(Caption, CaptionFloor));
  return {Index, Width, Floor};
}

std::size_t LineWidth(const std::vector<TPlacedColumn>& Columns) {
  std::size_t Width = Columns.empty() ? 0 : Columns.size() - 1;
  for (const TPlacedColumn& Column : Columns) Width += Column.Width;
  return Width;
}

// Narrows the widest caption that may be narrowed by one character; false when none may.
bool NarrowOneCaption(std::vector<TPlacedColumn>& Columns) {
  TPlacedColumn* Widest = nullptr;
  for (std::size_t At = 1; At < Columns.size(); ++At) {
    const std::size_t Slack = Columns[At].Width - Columns[At].Floor;
    if (Slack > 0 && (Widest == nullptr || Slack > Widest->Width - Widest->Floor))
      Widest = &Columns[At];
  }
  if (Widest == nullptr) return false;
  --Widest->Width;
  return true;
}

// Narrows the first column, down to Floor at most, as far as the line is too wide.
void NarrowFirstColumn(std::vector<TPlacedColumn>& Columns, std::size_t ScreenWidth,
                       std::size_t Floor) {
  TPlacedColumn& First = Columns.front();
  const std::size_t Width = LineWidth(Columns);
  if (Width <= ScreenWidth || First.Width <= Floor) return;
  First.Width -= std::min(Width - ScreenWidth, First.Width - Floor);
}

// The columns shown and their widths.
std::vector<TPlacedColumn> PlaceColumns(const TTopFrame& Frame, std::size_t FirstColumn,
                                        std::size_t ScreenWidth) {
  std::vector<TPlacedColumn> Columns;
  if (Frame.Columns.empty()) return Columns;
  Columns.push_back(Measured(Frame, 0));
  for (std::size_t Index = FirstColumn + 1; Index < Frame.Columns.size(); ++Index)
    Columns.push_back(Measured(Frame, Index));
  NarrowFirstColumn(Columns, ScreenWidth, std::max(FirstColumnShare, Columns.front().Floor));
  while (LineWidth(Columns) > ScreenWidth && NarrowOneCaption(Columns)) {
  }
  NarrowFirstColumn(Columns, ScreenWidth, Columns.front().Floor);
  while (Columns.size() > 1 && LineWidth(Columns) > ScreenWidth) Columns.pop_back();
  Columns.front().Width = std::min(Columns.front().Width, ScreenWidth);
  return Columns;
}

std::string CellOf(const std::vector<std::string>& Cells, std::size_t Index) {
  return Index < Cells.size() ? Cells[Index] : std::string();
}

// The texts of one line, each fitted to its column, without the padding up to the
// screen's width; the text of column Underline (if any) underlined.
std::string CellsText(const TTopFrame& Frame, const std::vector<std::string>& Cells,
                      const std::vector<TPlacedColumn>& Columns, const std::string& Marker,
                      std::optional<std::size_t> Underline = std::nullopt) {
  std::string Line;
  for (const TPlacedColumn& Column : Columns) {
    if (Column.Index != Columns.front().Index) Line += ' ';
    const std::string Cell = Fitted(CellOf(Cells, Column.Index), Column.Width,
                                    Frame.Columns[Column.Index].RightAligned, Marker);
    Line += Column.Index == Underline ? Underlined + Cell + NotUnderlined : Cell;
  }
  return Line;
}

std::string CaptionLine(const TTopFrame& Frame, const std::vector<TPlacedColumn>& Columns,
                        std::size_t ScreenWidth, const std::string& Marker) {
  std::vector<std::string> Captions;
  for (const TScreenColumn& Column : Frame.Columns) Captions.push_back(Column.Caption);
  return Inverse + CellsText(Frame, Captions, Columns, Marker, Frame.SortColumn) +
         std::string(ScreenWidth - LineWidth(Columns), ' ') + Plain;
}

}  // namespace

std::size_t VisibleRowCount(TTerminalSize Size, bool HasTotal) {
  return static_cast<std::size_t>(std::max(0, Size.Rows - FrameLines - (HasTotal ? 1 : 0)));
}

std::string RenderFrame(const TTopFrame& Frame, TTerminalSize Size, TViewport View,
                        const std::string& Marker) {
  const auto Width = static_cast<std::size_t>(std::max(Size.Columns, 1));
  const std::vector<TPlacedColumn> Columns = PlaceColumns(Frame, View.FirstColumn, Width);
  const auto Padded = [&](const std::string& Text) { return Fitted(Text, Width, false, Marker); };
  std::vector<std::string> Lines{Padded(Frame.Header), CaptionLine(Frame, Columns, Width, Marker)};
  const std::size_t Shown = VisibleRowCount(Size, Frame.Total.has_value());
  for (std::size_t Line = 0; Line < Shown; ++Line) {
    const std::size_t Row = View.FirstRow + Line;
    const bool Filled = Row < Frame.Rows.size();
    Lines.push_back(Padded(Filled ? CellsText(Frame, Frame.Rows[Row], Columns, Marker) : ""));
  }
  if (Frame.Total)
    Lines.push_back(Bold + Padded(CellsText(Frame, *Frame.Total, Columns, Marker)) + Plain);
  Lines.push_back(Padded(Frame.Status));
  // A screen too small for the frame keeps its first lines and the status line.
  const auto Height = static_cast<std::size_t>(std::max(Size.Rows, 1));
  if (Lines.size() > Height)
    Lines.erase(Lines.begin() + static_cast<long>(Height - 1), Lines.end() - 1);
  std::string Screen = Home;
  for (std::size_t Line = 0; Line < Lines.size(); ++Line) {
    if (Line > 0) Screen += "\r\n";
    Screen += Lines[Line];
  }
  return Screen;
}

}  // namespace gaugery::cli
