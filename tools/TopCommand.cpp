// gaugery top: Brindle's process table in the terminal, refreshed every second until q or
// Ctrl-C; when standard output is not a terminal, every refresh as plain lines.
#include <algorithm>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "ComputerOption.h"
#include "ProcessFilterForm.h"
#include "ProcessTable.h"
#include "Replay.h"
#include "Terminal.h"
#include "framework/Unicode.h"

namespace gaugery::cli {

namespace {

constexpr int RefreshIntervalMs = 1000;
// The widest the instance-name column gets on the screen.
constexpr std::size_t MaxNameWidth = 24;

struct TTextRow {
  std::string Caption;
  std::vector<std::string> SubItems;
};

// The process table's rows as plain texts.
class TTextRows : public TProcessRows {
 public:
  void BeginUpdate() override {}
  void EndUpdate() override {}
  int Count() const override { return static_cast<int>(Rows_.size()); }
  void Add() override { Rows_.emplace_back(); }
  void Delete(int Index) override { Rows_.erase(Rows_.begin() + Index); }
  void SetCaption(int Row, const std::string& Text) override { At(Row).Caption = Text; }
  int SubItemCount(int Row) const override {
    return static_cast<int>(Rows_.at(static_cast<std::size_t>(Row)).SubItems.size());
  }
  void AddSubItem(int Row) override { At(Row).SubItems.emplace_back(); }
  void SetSubItem(int Row, int Index, const std::string& Text) override {
    At(Row).SubItems.at(static_cast<std::size_t>(Index)) = Text;
  }

  const std::vector<TTextRow>& Rows() const { return Rows_; }

 private:
  TTextRow& At(int Row) { return Rows_.at(static_cast<std::size_t>(Row)); }

  std::vector<TTextRow> Rows_;
};

// The cells of a row's line: its caption, then its sub-items.
std::vector<std::string> Cells(const TTextRow& Row) {
  std::vector<std::string> Line{Row.Caption};
  Line.insert(Line.end(), Row.SubItems.begin(), Row.SubItems.end());
  return Line;
}

std::string Joined(const std::vector<std::string>& Cells, const std::string& Separator) {
  std::string Line;
  for (std::size_t Column = 0; Column < Cells.size(); ++Column) {
    if (Column > 0) Line += Separator;
    Line += Cells[Column];
  }
  return Line;
}

void PrintPlain(const std::vector<std::string>& Captions, const TTextRows& Table) {
  std::cout << Joined(Captions, "\t") << "\n";
  for (const TTextRow& Row : Table.Rows()) std::cout << Joined(Cells(Row), "\t") << "\n";
  std::cout.flush();
}

// --- The screen: columns aligned like Brindle's (names left, values right), cut to
// the terminal. Widths count characters, not bytes.

std::string Fitted(const std::string& Text, std::size_t Width, bool RightAligned) {
  const std::size_t Length = CodePointCount(Text);
  if (Length >= Width) return FirstCodePoints(Text, Width);
  const std::string Pad(Width - Length, ' ');
  return RightAligned ? Pad + Text : Text + Pad;
}

std::vector<std::size_t> ColumnWidths(const std::vector<std::vector<std::string>>& Lines) {
  std::vector<std::size_t> Widths;
  for (const std::vector<std::string>& Line : Lines) {
    if (Widths.size() < Line.size()) Widths.resize(Line.size(), 0);
    for (std::size_t Column = 0; Column < Line.size(); ++Column) {
      Widths[Column] = std::max(Widths[Column], CodePointCount(Line[Column]));
    }
  }
  if (!Widths.empty()) Widths[0] = std::min(Widths[0], MaxNameWidth);
  return Widths;
}

std::string ScreenLine(const std::vector<std::string>& Cells,
                       const std::vector<std::size_t>& Widths, std::size_t ScreenWidth) {
  std::string Line;
  for (std::size_t Column = 0; Column < Cells.size(); ++Column) {
    if (Column > 0) Line += "  ";
    Line += Fitted(Cells[Column], Widths[Column], Column > 0);
  }
  return FirstCodePoints(Line, ScreenWidth);
}

void DrawScreen(const std::vector<std::string>& Captions, const TTextRows& Table,
                const std::optional<std::string>& Error) {
  std::vector<std::vector<std::string>> Lines{Captions};
  for (const TTextRow& Row : Table.Rows()) Lines.push_back(Cells(Row));
  const std::vector<std::size_t> Widths = ColumnWidths(Lines);
  const TTerminalSize Size = TerminalSize();
  const std::size_t Shown =
      std::min(Lines.size(), static_cast<std::size_t>(std::max(Size.Rows - 1, 1)));
  std::string Screen = "\x1b[H\x1b[2J";
  for (std::size_t Line = 0; Line < Shown; ++Line) {
    Screen += ScreenLine(Lines[Line], Widths, static_cast<std::size_t>(Size.Columns)) + "\n";
  }
  Screen += FirstCodePoints(Error ? *Error : "q: quit", static_cast<std::size_t>(Size.Columns));
  std::cout << Screen << std::flush;
}

// One refresh; its error, if any. The table keeps the rows as far as they got.
std::optional<std::string> Refresh(TPerfFilter& Filter, TTextRows& Table) {
  try {
    RefreshProcessRows(Filter, Table);
  } catch (const std::exception& Error) {
    return Error.what();
  }
  return std::nullopt;
}

int Run(const Arguments& Args) {
  const long long Count = Args.Number("--count", 0, 1);
  const std::unique_ptr<TPerfFilter> Filter = ReadProcessFilter(ProcessFilterForm());
  Filter->SetComputerName(ChosenComputer());
  const std::vector<std::string> Captions = ProcessColumnCaptions(*Filter);
  // Taking the snapshot reads a sample; with it held, the first refresh takes the first
  // replayed file.
  Filter->InitPerfData();
  RestartReplayedSamples();
  const bool Screen = OutputIsTerminal();
  TTerminalSession Session(Screen);
  TTextRows Table;
  std::optional<std::string> Error;
  for (long long Done = 1;; ++Done) {
    Error = Refresh(*Filter, Table);
    if (Screen) {
      DrawScreen(Captions, Table, Error);
    } else if (Error) {
      std::cerr << *Error << std::endl;
    } else {
      PrintPlain(Captions, Table);
    }
    if (Done == Count || Session.WaitForQuit(RefreshIntervalMs)) break;
  }
  return Error ? 1 : 0;
}

}  // namespace

Command TopCommand() {
  return {"top",
          "top [--count N]",
          "Shows the running processes with the eight counters of Brindle, refreshed every "
          "second until q or Ctrl-C. When standard output is not a terminal, every refresh "
          "prints the tab-separated column captions, then one line per process.",
          "  --count N  stop after N refreshes\n",
          {},
          {"--count"},
          Run};
}

}  // namespace gaugery::cli
