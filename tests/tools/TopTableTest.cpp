// The rows of `gaugery top` arranged for showing, and the keys that change the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TopTable.h"
#include "TopView.h"

namespace {

using namespace gaugery;
using namespace gaugery::cli;

// Rows with one cell, the process id, and the processor time.
TTopRow Row(const std::string& Name, Extended Id, Extended Percent) {
  return {Name, {{"", Id}}, {"", Percent}};
}

std::vector<std::string> Names(const TArrangedRows& Arranged) {
  std::vector<std::string> Shown;
  for (const TTopRow* Row : Arranged.Rows) Shown.push_back(Row->Name);
  return Shown;
}

using TNames = std::vector<std::string>;

const std::vector<TTopRow> Sample = {Row("init", 1, 2.0),    Row("shell", 30, NoValue()),
                                     Row("_Total", 0, 9.0),  Row("Shell", 20, 5.0),
                                     Row("kworker", 4, 2.0), Row("sleep", 5, NoValue())};
constexpr std::size_t IdColumn = 1;
constexpr std::size_t ProcessorColumn = 2;

TEST(TopTable, SortsStablyWithRowsWithoutValueLast) {
  const TArrangedRows Busiest = ArrangeRows(Sample, SortedBy(ProcessorColumn), "");
  EXPECT_EQ(Names(Busiest), (TNames{"Shell", "init", "kworker", "shell", "sleep"}));
  ASSERT_NE(Busiest.Total, nullptr);
  EXPECT_EQ(Busiest.Total->Name, "_Total");
  EXPECT_EQ(Busiest.ProcessCount, 5u);

  const TArrangedRows Idlest = ArrangeRows(Sample, {ProcessorColumn, false}, "");
  EXPECT_EQ(Names(Idlest), (TNames{"init", "kworker", "Shell", "shell", "sleep"}));
  EXPECT_EQ(Names(ArrangeRows(Sample, SortedBy(IdColumn), "")),
            (TNames{"shell", "Shell", "sleep", "kworker", "init"}));
  // Names ignore case; equal ones keep the order of the sample.
  EXPECT_EQ(Names(ArrangeRows(Sample, SortedBy(0), "")),
            (TNames{"init", "kworker", "shell", "Shell", "sleep"}));
  EXPECT_EQ(Names(ArrangeRows(Sample, {0, true}, "")),
            (TNames{"sleep", "shell", "Shell", "kworker", "init"}));
}

TEST(TopTable, FiltersByNameIgnoringCase) {
  const TArrangedRows Shells = ArrangeRows(Sample, SortedBy(0), "SHE");
  EXPECT_EQ(Names(Shells), (TNames{"shell", "Shell"}));
  EXPECT_NE(Shells.Total, nullptr);
  EXPECT_EQ(Shells.ProcessCount, 5u);
  EXPECT_TRUE(ArrangeRows(Sample, SortedBy(0), "nothing").Rows.empty());

  EXPECT_TRUE(NameContains("kworker/0:1-events", "0:1-"));
  EXPECT_TRUE(NameContains("Grüße", "RÜ"));
  EXPECT_TRUE(NameContains("any", ""));
  EXPECT_FALSE(NameContains("ab", "abc"));
}

TEST(TopTable, FindsAColumnByItsCaptionOrTheStartOfIt) {
  const std::vector<std::string> Captions = {"Task name", "Page File Bytes", "Page File Bytes Peak",
                                             "CPU %"};
  EXPECT_EQ(ColumnNamed(Captions, "cpu"), 3u);
  EXPECT_EQ(ColumnNamed(Captions, "page file bytes"), 1u);
  EXPECT_EQ(ColumnNamed(Captions, "Page File Bytes P"), 2u);
  EXPECT_EQ(ColumnNamed(Captions, "page"), std::nullopt);
  EXPECT_EQ(ColumnsNamed(Captions, "page"), (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(ColumnNamed(Captions, "memory"), std::nullopt);
  EXPECT_EQ(ColumnNamed(Captions, ""), std::nullopt);
}

// --- The view: five columns shown as name, processor time, then three others.

TTopView View() {
  TTopView Shown;
  Shown.Order = SortedBy(4);
  Shown.ShownColumns = {0, 4, 1, 2, 3};
  return Shown;
}

TKeyPress Key(TKey Which) { return {Which, ""}; }
TKeyPress Char(const std::string& Text) { return {TKey::Char, Text}; }

TEST(TopView, ScrollsWithinTheRowsAndColumns) {
  TTopView Shown = View();
  const TTopExtent Fifty{50, 10};
  const auto RowAfter = [&](TKey Which) {
    Shown.Apply(Key(Which), Fifty);
    return Shown.Viewport.FirstRow;
  };
  EXPECT_EQ(RowAfter(TKey::Up), 0u);
  EXPECT_EQ(RowAfter(TKey::Down), 1u);
  EXPECT_EQ(RowAfter(TKey::PageDown), 11u);
  EXPECT_EQ(RowAfter(TKey::End), 40u);
  EXPECT_EQ(RowAfter(TKey::PageDown), 40u);
  EXPECT_EQ(RowAfter(TKey::PageUp), 30u);
  EXPECT_EQ(RowAfter(TKey::Home), 0u);
  Shown.Apply(Key(TKey::End), {5, 10});
  EXPECT_EQ(Shown.Viewport.FirstRow, 0u);

  for (int Step = 0; Step < 9; ++Step) Shown.Apply(Key(TKey::Right), Fifty);
  EXPECT_EQ(Shown.Viewport.FirstColumn, 3u);
  Shown.Apply(Key(TKey::Left), Fifty);
  EXPECT_EQ(Shown.Viewport.FirstColumn, 2u);
}

TEST(TopView, MovesTheSortAlongTheShownColumnsAndShowsTheNewOrderFromItsStart) {
  TTopView Shown = View();
  const TTopExtent Fifty{50, 10};
  Shown.Viewport.FirstRow = 20;
  Shown.Apply(Char("<"), Fifty);
  EXPECT_EQ(Shown.Order, (TSortOrder{0, false}));
  EXPECT_EQ(Shown.Viewport.FirstRow, 0u);
  Shown.Apply(Char("<"), Fifty);
  EXPECT_EQ(Shown.Order, (TSortOrder{0, false}));
  Shown.Apply(Char(">"), Fifty);
  Shown.Apply(Char(">"), Fifty);
  EXPECT_EQ(Shown.Order, (TSortOrder{1, true}));
  EXPECT_EQ(Shown.SortPosition(), 2u);
  Shown.Viewport.FirstRow = 20;
  Shown.Apply(Char("r"), Fifty);
  EXPECT_EQ(Shown.Order, (TSortOrder{1, false}));
  EXPECT_EQ(Shown.Viewport.FirstRow, 0u);
}

TEST(TopView, TypesTheFilterUntilEnterOrEscape) {
  TTopView Shown = View();
  const TTopExtent Fifty{50, 10};
  EXPECT_FALSE(Shown.Apply(Char("/"), Fifty));
  EXPECT_TRUE(Shown.EditingFilter);
  // While typing, q is text and the arrows still scroll.
  EXPECT_FALSE(Shown.Apply(Char("q"), Fifty));
  Shown.Apply(Char("\xc3\xa4"), Fifty);
  Shown.Apply(Key(TKey::Down), Fifty);
  EXPECT_EQ(Shown.Filter, "q\xc3\xa4");
  EXPECT_EQ(Shown.Viewport.FirstRow, 1u);
  Shown.Apply(Key(TKey::Backspace), Fifty);
  EXPECT_EQ(Shown.Filter, "q");
  Shown.Apply(Key(TKey::Enter), Fifty);
  EXPECT_FALSE(Shown.EditingFilter);
  EXPECT_EQ(Shown.Filter, "q");

  Shown.Apply(Key(TKey::Escape), Fifty);
  EXPECT_EQ(Shown.Filter, "");
  Shown.Apply(Char("/"), Fifty);
  Shown.Apply(Char("x"), Fifty);
  Shown.Apply(Key(TKey::Escape), Fifty);
  EXPECT_FALSE(Shown.EditingFilter);
  EXPECT_EQ(Shown.Filter, "");
  EXPECT_TRUE(Shown.Apply(Char("q"), Fifty));
}

}  // namespace
