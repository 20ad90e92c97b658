// What the user of `gaugery top` has chosen to see, and how the keys change it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "KeyInput.h"
#include "TopScreen.h"
#include "TopTable.h"

namespace gaugery::cli {

// The sizes the keys move within.
struct TTopExtent {
  // Rows after filtering, and how many fit on the screen at once.
  std::size_t Rows = 0;
  std::size_t PageRows = 0;
};

struct TTopView {
  TSortOrder Order;
  std::string Filter;
  // The filter is being typed: keys are its text.
  bool EditingFilter = false;
  TViewport Viewport;
  // The columns in the order shown (column indexes of the table), the name first.
  std::vector<std::size_t> ShownColumns;

  // The position at which the sorted column is shown.
  std::size_t SortPosition() const;
  // Applies one key; true when it asks to quit.
  bool Apply(const TKeyPress& Key, const TTopExtent& Extent);
  // Keeps the viewport inside the table: no empty space after the last row when there
  // are enough rows to fill the screen, at least the name and one more column shown.
  void Clamp(const TTopExtent& Extent);

 private:
  bool ApplyCommand(const TKeyPress& Key);
  void EditFilter(const TKeyPress& Key);
  bool Scroll(TKey Key, const TTopExtent& Extent);
  void MoveSort(int Step);
};

}  // namespace gaugery::cli
