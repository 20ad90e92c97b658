#include "PerfPreview.h"

#include <algorithm>
#include <map>
#include <memory>

#include "framework/TextCompare.h"
#include "framework/TextFunctions.h"

namespace gaugery {

namespace {

// An instance's name and how many rows of that name come before it in its item.
using TRowKey = std::pair<std::string, int>;

std::vector<TRowKey> RowKeysOf(const TPreviewReading& Reading) {
  std::vector<TRowKey> Keys;
  std::map<std::string, int> Seen;
  for (const auto& Value : Reading.Values) Keys.emplace_back(Value.first, Seen[Value.first]++);
  return Keys;
}

// One item's cells by row.
class TItemCells {
 public:
  explicit TItemCells(const TPreviewReading& Reading) : Error_(Reading.Error) {
    const std::vector<TRowKey> Keys = RowKeysOf(Reading);
    for (std::size_t I = 0; I < Keys.size(); ++I) Cells_[Keys[I]] = Reading.Values[I].second;
  }

  std::string CellAt(const TRowKey& Row) const {
    if (!Error_.empty()) return Error_;
    const auto Found = Cells_.find(Row);
    return Found == Cells_.end() ? std::string() : Found->second;
  }

 private:
  std::string Error_;
  std::map<TRowKey, std::string> Cells_;
};

// The readings from First on that are on First's object and not placed yet, now placed.
std::vector<std::size_t> TakeGroup(const std::vector<TPreviewReading>& Readings, std::size_t First,
                                   std::vector<bool>& Placed) {
  std::vector<std::size_t> Group;
  for (std::size_t I = First; I < Readings.size(); ++I) {
    if (!Placed[I] && AnsiSameText(Readings[I].ObjectName, Readings[First].ObjectName)) {
      Group.push_back(I);
      Placed[I] = true;
    }
  }
  return Group;
}

// The rows of the items in Group, in order of appearance; one empty row at least.
std::vector<TRowKey> GroupRows(const std::vector<TPreviewReading>& Readings,
                               const std::vector<std::size_t>& Group) {
  std::vector<TRowKey> Rows;
  for (std::size_t Index : Group) {
    for (const TRowKey& Key : RowKeysOf(Readings[Index])) {
      if (std::find(Rows.begin(), Rows.end(), Key) == Rows.end()) Rows.push_back(Key);
    }
  }
  if (Rows.empty()) Rows.emplace_back(std::string(), 0);
  return Rows;
}

std::string CounterValueText(const TPerfMonitorCounterValue& Value, const std::string& Suffix) {
  return Suffix.empty() ? Value.AsString() : Value.AsString() + " " + Suffix;
}

TPreviewReading ReadingOf(TPerfCounterItem& Item) {
  TPreviewReading Reading{Item.ObjectName(), Item.CounterName(), {}, {}};
  try {
    if (!Item.HasInstances()) {
      Reading.Values.emplace_back(std::string(), IntToStr(Item.CtrAsInteger()));
      return Reading;
    }
    const std::int32_t Count = Item.InstanceCount();
    for (std::int32_t I = 0; I < Count; ++I) {
      Reading.Values.emplace_back(Item.InstanceNames(I), IntToStr(Item.InsCtrAsInteger(I)));
    }
  } catch (const std::exception& Error) {
    Reading.Values.clear();
    Reading.Error = Error.what();
  }
  return Reading;
}

TPreviewReading ReadingOf(TPerfMonitorItem& Item) {
  TPreviewReading Reading;
  try {
    Reading.ObjectName = Item.GetObjectName();
    Reading.CounterName = Item.GetCounterName();
    const std::string Suffix = Item.GetSuffix();
    if (!Item.HasInstances()) {
      const TPerfMonitorCounterValue* Value = Item.InstanceValues(0);
      if (Value != nullptr)
        Reading.Values.emplace_back(std::string(), CounterValueText(*Value, Suffix));
      return Reading;
    }
    for (std::int32_t I = 0; I < Item.InstanceValueCount(); ++I) {
      const TPerfMonitorCounterValue& Value = *Item.InstanceValues(I);
      Reading.Values.emplace_back(Value.InstanceName(), CounterValueText(Value, Suffix));
    }
  } catch (const std::exception& Error) {
    Reading.Values.clear();
    Reading.Error = Error.what();
  }
  return Reading;
}

template <class TItems>
std::vector<TPreviewReading> ReadingsOf(const TItems& Items) {
  std::vector<TPreviewReading> Readings;
  for (int I = 0; I < Items.Count(); ++I) Readings.push_back(ReadingOf(*Items.Items(I)));
  return Readings;
}

}  // namespace

TPreviewTable PreviewTableOf(const std::vector<TPreviewReading>& Readings) {
  TPreviewTable Table;
  Table.Columns = {"Object", "Instance"};
  std::vector<TItemCells> Cells;
  for (const TPreviewReading& Reading : Readings) {
    Table.Columns.push_back(Reading.CounterName);
    Cells.emplace_back(Reading);
  }
  std::vector<bool> Placed(Readings.size(), false);
  for (std::size_t First = 0; First < Readings.size(); ++First) {
    if (Placed[First]) continue;
    const std::vector<std::size_t> Group = TakeGroup(Readings, First, Placed);
    for (const TRowKey& Row : GroupRows(Readings, Group)) {
      std::vector<std::string> Line{Readings[First].ObjectName, Row.first};
      for (std::size_t I = 0; I < Readings.size(); ++I) {
        const bool InGroup = std::find(Group.begin(), Group.end(), I) != Group.end();
        Line.push_back(InGroup ? Cells[I].CellAt(Row) : std::string());
      }
      Table.Rows.push_back(std::move(Line));
    }
  }
  return Table;
}

TPreviewTable TPerfFilterPreview::Table() { return PreviewTableOf(ReadingsOf(*Filter_->Items())); }

TPreviewTable TPerfMonitorPreview::Table() {
  return PreviewTableOf(ReadingsOf(*Monitor_->Items()));
}

}  // namespace gaugery

namespace gaugery::PerfPreviewUnit {

void DoRegister() {
  RegisterComponentPreview(typeid(TPerfFilter), [](TComponent* Component) {
    return std::unique_ptr<TComponentPreview>(
        std::make_unique<TPerfFilterPreview>(As<TPerfFilter>(Component)));
  });
  RegisterComponentPreview(typeid(TPerfMonitor), [](TComponent* Component) {
    return std::unique_ptr<TComponentPreview>(
        std::make_unique<TPerfMonitorPreview>(As<TPerfMonitor>(Component)));
  });
}

}  // namespace gaugery::PerfPreviewUnit
