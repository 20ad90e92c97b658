// One frame of `gaugery top` on a terminal: a header line, the column captions, as many
// rows as fit, the _Total row pinned under them and a status line at the bottom.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Terminal.h"

namespace gaugery::cli {

struct TScreenColumn {
  std::string Caption;
  bool RightAligned = false;
};

// What a frame shows; every text is printable already.
struct TTopFrame {
  std::string Header;
  // In the order shown. The first column stays in place when the others scroll sideways.
  std::vector<TScreenColumn> Columns;
  // The position of the column the rows are sorted by; its caption is underlined.
  std::size_t SortColumn = 0;
  // One text per column.
  std::vector<std::vector<std::string>> Rows;
  std::optional<std::vector<std::string>> Total;
  std::string Status;
};

// Where the view of the table starts: the first row shown, and how many columns after
// the first are scrolled out to the left.
struct TViewport {
  std::size_t FirstRow = 0;
  std::size_t FirstColumn = 0;

  bool operator==(const TViewport&) const = default;
};

// How many rows a screen of that size shows between the captions and the status line,
// the _Total row taking one of them when there is one.
std::size_t VisibleRowCount(TTerminalSize Size, bool HasTotal);

// The frame as the terminal's text: every line of the screen written from the top left
// corner and cleared to its end. Columns get the width of their texts; when they do not
// all fit, long captions and then the first column are narrowed, and columns that still
// do not fit whole are left out. A text longer than its column ends with Marker.
std::string RenderFrame(const TTopFrame& Frame, TTerminalSize Size, TViewport View,
                        const std::string& Marker);

}  // namespace gaugery::cli
