#include "ProcessTable.h"

#include <cmath>

#include "framework/Exceptions.h"
#include "framework/Format.h"
#include "framework/StoredForm.h"
#include "framework/TextCompare.h"

namespace gaugery {

namespace {

constexpr char ElapsedTimeName[] = "Elapsed time";
constexpr Extended SecondsPerDay = 24 * 3600;

// "hh:nn:ss", after the whole days ("106d 23:32:14") once a day or more has passed. The
// days are counted from the seconds rounded to the millisecond, as the time of day is,
// so that 86399.9999 s reads "1d 00:00:00" rather than "00:00:00".
std::string ElapsedTimeText(Extended Seconds) {
  const std::string TimeOfDay =
      FormatDateTime("hh:nn:ss", static_cast<TDateTime>(Seconds / SecondsPerDay));
  const Extended Days = std::floor(std::round(Seconds * 1000) / 1000 / SecondsPerDay);
  if (!std::isfinite(Days) || Days < 1) return TimeOfDay;
  return FormatFloat("0", Days) + "d " + TimeOfDay;
}

std::string GroupedNumberText(std::int64_t Value) {
  return FormatFloat("0,", static_cast<Extended>(Value));
}

bool ShowsElapsedTime(TPerfCounterItem& Item) {
  return AnsiSameText(Item.CounterName(), ElapsedTimeName);
}

// The raw value of an elapsed-time counter is the start time in the object's time base.
// Both time stamps are converted before they are subtracted: any two 64-bit values
// have a difference there.
TProcessCell Cell(TPerfCounterItem& Item, std::int32_t Index, bool ElapsedTime) {
  const std::int64_t Value = Item.InsCtrAsInteger(Index);
  if (!ElapsedTime) return {GroupedNumberText(Value), static_cast<Extended>(Value)};
  const Extended Seconds =
      (static_cast<Extended>(Item.ObjectTime()) - static_cast<Extended>(Value)) /
      static_cast<Extended>(Item.ObjectFreq());
  return {ElapsedTimeText(Seconds), Seconds};
}

// Closes the batch update however the refresh ends.
class TBatchUpdate {
 public:
  explicit TBatchUpdate(TProcessRows& Rows) : Rows_(Rows) { Rows_.BeginUpdate(); }
  ~TBatchUpdate() { Rows_.EndUpdate(); }
  TBatchUpdate(const TBatchUpdate&) = delete;
  TBatchUpdate& operator=(const TBatchUpdate&) = delete;

 private:
  TProcessRows& Rows_;
};

void FitRowCount(TProcessRows& Rows, int Count) {
  while (Rows.Count() < Count) Rows.Add();
  while (Rows.Count() > Count) Rows.Delete(Count);
}

void WriteRow(TPerfCounterItems& Items, const std::vector<bool>& ElapsedTime, TProcessRows& Rows,
              int Row) {
  Rows.SetCaption(Row, Items.GetCounterItems(0)->GetInstanceNames(Row));
  for (int K = 0; K < Items.Count(); ++K) {
    const TProcessCell Shown = Cell(*Items.GetCounterItems(K), Row, ElapsedTime[K]);
    if (Rows.SubItemCount(Row) <= K) Rows.AddSubItem(Row);
    Rows.SetSubItem(Row, K, Shown);
  }
}

}  // namespace

std::unique_ptr<TPerfFilter> ReadProcessFilter(const std::string& FormText) {
  std::unique_ptr<TComponent> Root(ReadComponentForm(FormText, nullptr));
  auto* Filter = dynamic_cast<TPerfFilter*>(Root.get());
  if (Filter == nullptr) throw Exception("The stored form holds no counter filter");
  Root.release();
  return std::unique_ptr<TPerfFilter>(Filter);
}

std::vector<std::string> ProcessColumnCaptions(TPerfFilter& Filter) {
  std::vector<std::string> Captions{TaskNameCaption};
  TPerfCounterItems& Items = *Filter.Items();
  for (int K = 0; K < Items.Count(); ++K)
    Captions.push_back(Items.GetCounterItems(K)->CounterName());
  return Captions;
}

void WriteProcessColumns(TPerfFilter& Filter, TProcessColumns& Columns) {
  const std::vector<std::string> Captions = ProcessColumnCaptions(Filter);
  const int Count = static_cast<int>(Captions.size());
  if (Columns.Count() > Count) Columns.Clear();
  while (Columns.Count() < Count) Columns.Add();
  for (int Column = 0; Column < Count; ++Column) {
    Columns.SetCaption(Column, Captions[Column]);
    if (Column > 0) Columns.SetCounterLayout(Column, CounterColumnWidth);
  }
}

void RefreshProcessRows(TPerfFilter& Filter, TProcessRows& Rows) {
  Filter.Collect();
  WriteProcessRows(Filter, Rows);
}

void WriteProcessRows(TPerfFilter& Filter, TProcessRows& Rows) {
  const TBatchUpdate Batch(Rows);
  TPerfCounterItems& Items = *Filter.Items();
  // The format of a column depends on its counter name only: decided once per refresh.
  std::vector<bool> ElapsedTime;
  for (int K = 0; K < Items.Count(); ++K) ElapsedTime.push_back(ShowsElapsedTime(*Items[K]));
  const int Count = Items.GetCounterItems(0)->GetInstanceCount();
  FitRowCount(Rows, Count);
  for (int Row = 0; Row < Count; ++Row) WriteRow(Items, ElapsedTime, Rows, Row);
}

}  // namespace gaugery
