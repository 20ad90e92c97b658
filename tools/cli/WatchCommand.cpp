// gaugery watch: samples counters with a monitor and prints, after each sample, the
// current (or average) value of every instance. The first sample is the baseline the
// second is measured against: values are printed from the second sample on.
#include <chrono>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "CounterSelection.h"
#include "DefaultKey.h"
#include "LocaleOption.h"
#include "PerfMonitor.h"
#include "Replay.h"
#include "SampleCheck.h"
#include "WatchHistory.h"
#include "WatchPrinter.h"
#include "framework/TextFunctions.h"

namespace gaugery::cli {

namespace {

TWatchOutput ChosenOutput(const Arguments& Args) {
  if (Args.Has("--csv") && Args.Has("--json"))
    throw UsageError("--csv and --json exclude each other");
  if (Args.Has("--csv")) return TWatchOutput::Csv;
  return Args.Has("--json") ? TWatchOutput::Json : TWatchOutput::Text;
}

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

// A selection and its monitor items, one per counter, with their records' histories.
struct TWatchedSelection {
  const TCounterSelection* Selection = nullptr;
  std::vector<TPerfMonitorItem*> Items;
  std::vector<TWatchHistory> Histories;
};

// The key counters of an item: those of --key for an object with instances ("" for
// plain name matching); without it, "ID Process" in the chosen locale for Process.
std::string KeyOf(TPerfMonitorItem& Item, const Arguments& Args) {
  if (!Item.HasInstances()) return "";
  return Args.Has("--key") ? Args.Value("--key") : DefaultObjectKey(Item);
}

class TWatch {
 public:
  TWatch(const std::vector<TCounterSelection>& Selections, const Arguments& Args)
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

  // One sample of every computer, taken in by the histories.
  void Collect() {
    for (auto& [Name, Monitor] : Monitors_) Monitor->Collect();
    for (TWatchedSelection& Watched : Watched_) {
      for (std::size_t Column = 0; Column < Watched.Items.size(); ++Column) {
        TPerfMonitorItem& Item = *Watched.Items[Column];
        if (Item.HasInstances()) Watched.Histories[Column].Observe(Item, Item.InstanceCount());
      }
    }
  }

  std::int64_t SysTime() const { return Monitors_.begin()->second->SysTime(); }

  // Exception "no instance ..." when an instance that a path names is not in the latest
  // sample.
  void CheckNamedInstances() const {
    for (const TWatchedSelection& Watched : Watched_)
      PresentInstances(*Watched.Items.front()->Counter(), *Watched.Selection);
  }

  // The rows of the latest sample, read whole before any is printed: a failing read
  // prints nothing but its error.
  std::vector<TWatchRow> Rows() {
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

 private:
  TComputerMonitor& MonitorOf(const std::string& Computer, const std::string& Locale) {
    std::unique_ptr<TComputerMonitor>& Entry = Monitors_[UpperCase(Computer)];
    if (!Entry) Entry = std::make_unique<TComputerMonitor>(Computer, Locale);
    return *Entry;
  }

  // The value of counter Column for the instance at Index (-1: the object's own), shown
  // with Unit; Key receives the key value of the instance's record.
  TWatchValue ValueOf(TWatchedSelection& Watched, std::size_t Column, std::int32_t Index,
                      const std::string& Unit, std::string& Key) const {
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

  bool Average_;
  std::map<std::string, std::unique_ptr<TComputerMonitor>> Monitors_;
  std::vector<TWatchedSelection> Watched_;
};

int Run(const Arguments& Args) {
  const TWatchOutput Output = ChosenOutput(Args);
  const std::chrono::steady_clock::duration Period = Args.Seconds("--interval", "1");
  const long long Count = Args.Number("--count", 0, 1);  // 0: until interrupted
  const std::vector<TCounterSelection> Selections = SelectionsOf(Args.Operands(), ChosenComputer());
  TWatch Watch(Selections, Args);
  // Naming the counters has read samples already; the first Collect takes the first
  // replayed file again.
  RestartReplayedSamples();
  const TCounterSelection& First = Selections.front();
  TWatchPrinter Printer(Output, First.FromPath, First.Object, First.Counters);
  auto Due = std::chrono::steady_clock::now();
  Watch.Collect();
  Watch.CheckNamedInstances();
  for (long long Printed = 0; Count == 0 || Printed < Count; ++Printed) {
    Due += Period;
    std::this_thread::sleep_until(Due);
    Watch.Collect();
    Printer.Print(Watch.SysTime(), Watch.Rows());
  }
  return 0;
}

}  // namespace

Command WatchCommand() {
  return {
      "watch",
      "watch [--locale ID] [--key KEY] [--interval SECONDS] [--count N] [--avg] "
      "[--csv | --json] OBJECT COUNTER [COUNTER...] | PATH...",
      "Samples each COUNTER of the object titled OBJECT, or each counter PATH (as for "
      "\"gaugery read\"), every SECONDS. The first sample is the baseline: from the second "
      "on, each sample prints one row per instance, its name and the current value of every "
      "counter with its unit, tab-separated (on a terminal aligned under a header); a path "
      "prints its path and value, and fails when the instance it names is not in a sample. A "
      "value that rests on no earlier sample of its instance alone (a new instance, or "
      "same-named instances that no key tells apart), or on two samples of the same time, "
      "prints as \"-\".",
      std::string(LocaleOptionDetails) +
          "  --key KEY    counter names joined by \";\" whose values tell instances of the same "
          "name apart (Process: \"ID Process\"; \"\" for names only)\n"
          "  --interval SECONDS  time between samples (default 1; fractions allowed)\n"
          "  --count N    stop after N samples of values, N + 1 samples with the baseline "
          "(default: run until interrupted)\n"
          "  --avg        averages since the baseline instead of current values\n"
          "  --csv        a header line, then one line per instance and sample: time (ISO "
          "8601, UTC), instance, key, values; or time, path, value; numbers at full "
          "precision\n"
          "  --json       one document per sample and line, numbers independent of the "
          "locale: {\"time\", \"object\", \"rows\": [{\"instance\", \"key\", \"values\": "
          "[{\"counter\", \"value\", \"unit\"}]}]}, or {\"time\", \"values\": [{\"path\", "
          "\"value\", \"unit\"}]}\n",
      {"--avg", "--csv", "--json"},
      {"--locale", "--key", "--interval", "--count"},
      Run};
}

}  // namespace gaugery::cli
