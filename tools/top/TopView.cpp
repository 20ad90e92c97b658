#include "TopView.h"

#include <algorithm>

namespace gaugery::cli {

namespace {

void DropLastCodePoint(std::string& Text) {
  while (!Text.empty() && (static_cast<unsigned char>(Text.back()) & 0xC0) == 0x80) Text.pop_back();
  if (!Text.empty()) Text.pop_back();
}

}  // namespace

std::size_t TTopView::SortPosition() const {
  const auto Found = std::find(ShownColumns.begin(), ShownColumns.end(), Order.Column);
  return Found == ShownColumns.end() ? 0 : static_cast<std::size_t>(Found - ShownColumns.begin());
}

bool TTopView::Apply(const TKeyPress& Key, const TTopExtent& Extent) {
  bool Quits = false;
  if (!Scroll(Key.Key, Extent)) {
    if (EditingFilter) {
      EditFilter(Key);
    } else {
      Quits = ApplyCommand(Key);
    }
  }
  Clamp(Extent);
  return Quits;
}

void TTopView::Clamp(const TTopExtent& Extent) {
  const std::size_t LastFirstRow =
      Extent.Rows > Extent.PageRows ? Extent.Rows - Extent.PageRows : 0;
  Viewport.FirstRow = std::min(Viewport.FirstRow, LastFirstRow);
  const std::size_t LastFirstColumn = ShownColumns.size() > 2 ? ShownColumns.size() - 2 : 0;
  Viewport.FirstColumn = std::min(Viewport.FirstColumn, LastFirstColumn);
}

bool TTopView::Scroll(TKey Key, const TTopExtent& Extent) {
  std::size_t& Row = Viewport.FirstRow;
  std::size_t& Column = Viewport.FirstColumn;
  switch (Key) {
    case TKey::Up:
      Row -= std::min<std::size_t>(Row, 1);
      return true;
    case TKey::Down:
      ++Row;
      return true;
    case TKey::PageUp:
      Row -= std::min(Row, Extent.PageRows);
      return true;
    case TKey::PageDown:
      Row += Extent.PageRows;
      return true;
    case TKey::Home:
      Row = 0;
      return true;
    case TKey::End:
      Row = Extent.Rows;
      return true;
    case TKey::Left:
      Column -= std::min<std::size_t>(Column, 1);
      return true;
    case TKey::Right:
      ++Column;
      return true;
    default:
      return false;
  }
}

void TTopView::EditFilter(const TKeyPress& Key) {
  switch (Key.Key) {
    case TKey::Char:
      Filter += Key.Text;
      break;
    case TKey::Backspace:
      DropLastCodePoint(Filter);
      break;
    case TKey::Escape:
      Filter.clear();
      EditingFilter = false;
      break;
    case TKey::Enter:
      EditingFilter = false;
      break;
    default:
      return;
  }
  Viewport.FirstRow = 0;
}

bool TTopView::ApplyCommand(const TKeyPress& Key) {
  if (Key.Key == TKey::Escape) {
    Filter.clear();
    Viewport.FirstRow = 0;
  }
  if (Key.Key != TKey::Char) return false;
  const char Command = Key.Text.front();
  if (Command == 'q' || Command == 'Q') return true;
  if (Command == '/') EditingFilter = true;
  const TSortOrder Was = Order;
  if (Command == '<') MoveSort(-1);
  if (Command == '>') MoveSort(1);
  if (Command == 'r' || Command == 'R') Order.Descending = !Order.Descending;
  // A new order is shown from its start.
  if (Order != Was) Viewport.FirstRow = 0;
  return false;
}

void TTopView::MoveSort(int Step) {
  if (ShownColumns.empty()) return;
  const auto Last = static_cast<long>(ShownColumns.size()) - 1;
  const long Position = std::clamp(static_cast<long>(SortPosition()) + Step, 0L, Last);
  Order = SortedBy(ShownColumns[static_cast<std::size_t>(Position)]);
}

}  // namespace gaugery::cli
