#include "CounterWatch.h"

#include <utility>

#include "Browsing.h"
#include "DefaultKey.h"
#include "LocaleOption.h"
#include "PerfMonitor.h"
#include "Replay.h"
#include "SampleCheck.h"
#include "framework/TextFunctions.h"

namespace gaugery::cli {

// The monitor of one computer, on its held sample.
class TComputerMonitor {
 public:
  TComputerMonitor(const std::string& Computer, const std::string& Locale)
      : Computer_(Computer), Sample_(Computer), Monitor_(nullptr) {
    Monitor_.SetLocaleID(Locale);
  }

  TPerfMonitorItem* AddItem() {
    TPerfMonitorItem* Item = Monitor_.Items()->Add();
    // The monitor's filter is reached through an item's counter item; its computer is
    // set before a name makes it take its snapshot.
    Item->Counter()->Filter()->SetComputerName(Computer_);
    return Item;
  }

  void Collect() {
    Monitor_.Collect();
    CheckLatestSample(Sample_.Data());
  }

  std::int64_t SysTime() const { return Monitor_.SysTime(); }

 private:
  std::string Computer_;
  TSharedSample Sample_;
  TPerfMonitor Monitor_;
};

namespace {

// The key counters of an item: those of --key for an object with instances ("" for
// plain name matching); without it, "ID Process" in the chosen locale for Process.
std::string KeyOf(TPerfMonitorItem& Item, const Arguments& Args) {
  if (!Item.HasInstances()) return "";
  return Args.Has("--key") ? Args.Value("--key") : DefaultObjectKey(Item);
}

}  // namespace

TCounterWatch::TCounterWatch(const std::vector<TCounterSelection>& Selections,
                             const Arguments& Args)
    : Average_(Args.Has("--avg")) {
  const std::string Locale = ChosenLocale(Args);
  for (const TCounterSelection& Selection : Selections) {
    TComputerMonitor& Monitor = MonitorOf(Selection.Computer, Locale);
    TWatchedSelection Watched{&Selection, {}, {}};
    for (const std::string& Counter : Selection.Counters) {
      TPerfMonitorItem* Item = Monitor.AddItem();
      WithNameHint(Args, "", [&] { Item->SetObjectName(Selection.Object); });
      WithNameHint(Args, Selection.Object, [&] { Item->SetCounterName(Counter); });
      WithNameHint(Args, Selection.Object, [&] { Item->SetObjectKey(KeyOf(*Item, Args)); });
      Watched.Items.push_back(Item);
    }
    Watched.Histories.resize(Watched.Items.size());
    Watched_.push_back(std::move(Watched));
  }
}

TCounterWatch::~TCounterWatch() = default;

void TCounterWatch::Collect() {
  for (auto& [Name, Monitor] : Monitors_) Monitor->Collect();
  for (TWatchedSelection& Watched : Watched_) {
    for (std::size_t Column = 0; Column < Watched.Items.size(); ++Column) {
      TPerfMonitorItem& Item = *Watched.Items[Column];
      if (Item.HasInstances()) Watched.Histories[Column].Observe(Item, Item.InstanceCount());
    }
  }
}

std::int64_t TCounterWatch::SysTime() const { return Monitors_.begin()->second->SysTime(); }

void TCounterWatch::CheckNamedInstances() const {
  for (const TWatchedSelection& Watched : Watched_)
    PresentInstances(*Watched.Items.front()->Counter(), *Watched.Selection);
}

std::vector<TWatchRow> TCounterWatch::Rows() {
  std::vector<TWatchRow> Rows;
  for (TWatchedSelection& Watched : Watched_) {
    const TCounterSelection& Selection = *Watched.Selection;
    const std::vector<TShownInstance> Shown =
        PresentInstances(*Watched.Items.front()->Counter(), Selection);
    std::vector<std::string> Units;
    for (TPerfMonitorItem* Item : Watched.Items) Units.push_back(Item->Suffix());
    for (const TShownInstance& Instance : Shown) {
      TWatchRow Row;
      if (Selection.FromPath) {
        Row.Label = ValuePath(Selection, Instance, Selection.Counters.front());
      } else if (Instance.Index >= 0) {
        Row.Label = Instance.Name;
      }
      for (std::size_t Column = 0; Column < Watched.Items.size(); ++Column) {
        Row.Values.push_back(ValueOf(Watched, Column, Instance.Index, Units[Column], Row.Key));
      }
      Rows.push_back(std::move(Row));
    }
  }
  return Rows;
}

TComputerMonitor& TCounterWatch::MonitorOf(const std::string& Computer, const std::string& Locale) {
  std::unique_ptr<TComputerMonitor>& Entry = Monitors_[UpperCase(Computer)];
  if (!Entry) Entry = std::make_unique<TComputerMonitor>(Computer, Locale);
  return *Entry;
}

// The value of counter Column for the instance at Index (-1: the object's own), shown
// with Unit; Key receives the key value of the instance's record.
TWatchValue TCounterWatch::ValueOf(TWatchedSelection& Watched, std::size_t Column,
                                   std::int32_t Index, const std::string& Unit,
                                   std::string& Key) const {
  TPerfMonitorItem& Item = *Watched.Items[Column];
  const TPerfMonitorCounterValue* Record =
      Index < 0 ? Item.InstanceValues(0) : Item.RecordOfInstance(Index);
  if (Record == nullptr) return {std::nullopt, "-", Unit};
  Key = Record->ObjectKeyValue();
  const TWatchHistory& History = Watched.Histories[Column];
  const bool Sound =
      SpansTime(*Record, Average_) &&
      (Index < 0 || (Average_ ? History.AverageSound(*Record) : History.CurrentSound(*Record)));
  if (!Sound) return {std::nullopt, "-", Unit};
  const std::string Text = Average_ ? Record->AvgAsString() : Record->AsString();
  const Extended Number = Average_ ? Record->AvgAsFloat() : Record->AsFloat();
  return {static_cast<double>(Number), Text + Unit, Unit};
}

}  // namespace gaugery::cli
