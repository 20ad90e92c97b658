// gaugery watch: samples counters of one object with a monitor and prints, after each
// sample, the current (or average) value of every instance.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>
#include <vector>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfMonitor.h"
#include "PrintableText.h"
#include "Replay.h"
#include "framework/WinTime.h"

namespace gaugery::cli {

namespace {

enum class TOutput { Text, Csv, Json };

// One printed row: the instance (none for an object without instances) and one text
// per counter.
struct TRow {
  std::optional<std::string> Instance;
  std::vector<std::string> Values;
};

TOutput ChosenOutput(const Arguments& Args) {
  if (Args.Has("--csv") && Args.Has("--json"))
    throw UsageError("--csv and --json exclude each other");
  if (Args.Has("--csv")) return TOutput::Csv;
  return Args.Has("--json") ? TOutput::Json : TOutput::Text;
}

std::vector<TPerfMonitorItem*> AddItems(TPerfMonitor& Monitor, const Arguments& Args) {
  const std::vector<std::string>& Operands = Args.Operands();
  if (Operands.size() < 2) throw UsageError("an object and at least one counter are needed");
  std::vector<TPerfMonitorItem*> Items;
  for (std::size_t Counter = 1; Counter < Operands.size(); ++Counter) {
    TPerfMonitorItem* Item = Monitor.Items()->Add();
    Item->SetObjectName(Operands[0]);
    Item->SetCounterName(Operands[Counter]);
    Item->SetObjectKey(Args.Value("--key"));
    Items.push_back(Item);
  }
  return Items;
}

// The UTC calendar time of a file time: "2024-05-03 12:30:45.500".
std::string TimeText(std::int64_t FileTime) {
  const FILETIME Stamp = Int64ToFileTime(FileTime);
  SYSTEMTIME Time{};
  FileTimeToSystemTime(&Stamp, &Time);
  char Text[64];
  std::snprintf(Text, sizeof Text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", unsigned{Time.wYear},
                unsigned{Time.wMonth}, unsigned{Time.wDay}, unsigned{Time.wHour},
                unsigned{Time.wMinute}, unsigned{Time.wSecond}, unsigned{Time.wMilliseconds});
  return Text;
}

std::string CsvField(const std::string& Text) {
  if (Text.find_first_of(",\"\r\n") == std::string::npos) return Text;
  std::string Quoted = "\"";
  for (char C : Text) Quoted += C == '"' ? std::string("\"\"") : std::string(1, C);
  return Quoted + "\"";
}

// Prints the records of the items after each sample in the chosen form.
class TSamplePrinter {
 public:
  TSamplePrinter(TOutput Output, std::vector<TPerfMonitorItem*> Items, bool Average)
      : Output_(Output), Items_(std::move(Items)), Average_(Average) {}

  void Print(const TPerfMonitor& Monitor) {
    const std::vector<TRow> Rows = ReadRows();
    switch (Output_) {
      case TOutput::Text:
        PrintText(Rows);
        break;
      case TOutput::Csv:
        PrintCsv(Monitor, Rows);
        break;
      case TOutput::Json:
        PrintJsonLine(Monitor, Rows);
        break;
    }
    ++Printed_;
    std::cout.flush();
  }

 private:
  // All rows of a sample are read before any is printed: a failing read prints nothing
  // but its error. The items share object and key, so their records correspond.
  std::vector<TRow> ReadRows() {
    std::vector<std::string> Suffixes;
    if (Output_ != TOutput::Csv) {
      for (TPerfMonitorItem* Item : Items_) Suffixes.push_back(Item->Suffix());
    }
    TPerfMonitorItem& First = *Items_.front();
    const bool HasInstances = First.HasInstances();
    const int Count = HasInstances ? First.InstanceValueCount() : 1;
    std::vector<TRow> Rows;
    for (int Index = 0; Index < Count; ++Index) {
      TRow Row;
      if (HasInstances) Row.Instance = First.InstanceValues(Index)->InstanceName();
      for (std::size_t Column = 0; Column < Items_.size(); ++Column) {
        const TPerfMonitorCounterValue& Record = *Items_[Column]->InstanceValues(Index);
        std::string Text = Average_ ? Record.AvgAsString() : Record.AsString();
        if (!Suffixes.empty()) Text += Suffixes[Column];
        Row.Values.push_back(std::move(Text));
      }
      Rows.push_back(std::move(Row));
    }
    return Rows;
  }

  void PrintText(const std::vector<TRow>& Rows) const {
    if (Printed_ > 0) std::cout << "\n";
    for (const TRow& Row : Rows) {
      std::string Line = PrintableText(Row.Instance.value_or(""));
      for (std::size_t Column = 0; Column < Row.Values.size(); ++Column) {
        if (Row.Instance || Column > 0) Line += '\t';
        Line += Row.Values[Column];
      }
      std::cout << Line << "\n";
    }
  }

  void PrintCsv(const TPerfMonitor& Monitor, const std::vector<TRow>& Rows) const {
    if (Printed_ == 0) {
      std::string Header = "time,instance";
      for (TPerfMonitorItem* Item : Items_) Header += "," + CsvField(Item->CounterName());
      std::cout << Header << "\n";
    }
    const std::string Time = TimeText(Monitor.SysTime());
    for (const TRow& Row : Rows) {
      std::string Line = Time + "," + CsvField(Row.Instance.value_or(""));
      for (const std::string& Value : Row.Values) Line += "," + CsvField(Value);
      std::cout << Line << "\n";
    }
  }

  void PrintJsonLine(const TPerfMonitor& Monitor, const std::vector<TRow>& Rows) const {
    nlohmann::ordered_json Counters = nlohmann::ordered_json::array();
    for (TPerfMonitorItem* Item : Items_) Counters.push_back(Item->CounterName());
    nlohmann::ordered_json Lines = nlohmann::ordered_json::array();
    for (const TRow& Row : Rows) {
      nlohmann::ordered_json Instance = nullptr;
      if (Row.Instance) Instance = *Row.Instance;
      Lines.push_back({{"instance", Instance}, {"values", Row.Values}});
    }
    const nlohmann::ordered_json Document = {
        {"time", Monitor.SysTime()}, {"counters", Counters}, {"rows", Lines}};
    std::cout << JsonText(Document, -1) << "\n";
  }

  TOutput Output_;
  std::vector<TPerfMonitorItem*> Items_;
  bool Average_;
  int Printed_ = 0;
};

int Run(const Arguments& Args) {
  const TOutput Output = ChosenOutput(Args);
  const std::chrono::steady_clock::duration Period = Args.Seconds("--interval", "1");
  const long long Count = Args.Number("--count", 0, 1);  // 0: until interrupted
  TPerfMonitor Monitor(nullptr);
  Monitor.SetComputerName(ChosenComputer());
  Monitor.SetLocaleID(ChosenLocale(Args));
  const std::vector<TPerfMonitorItem*> Items = AddItems(Monitor, Args);
  // Naming the counters has read a sample already; with the snapshot held, the first
  // Collect takes the first replayed file.
  Items.front()->Counter()->Filter()->InitPerfData();
  RestartReplayedSamples();
  TSamplePrinter Printer(Output, Items, Args.Has("--avg"));
  auto Due = std::chrono::steady_clock::now();
  for (long long Sample = 0; Count == 0 || Sample < Count; ++Sample) {
    if (Sample > 0) {
      Due += Period;
      std::this_thread::sleep_until(Due);
    }
    Monitor.Collect();
    Printer.Print(Monitor);
  }
  return 0;
}

}  // namespace

Command WatchCommand() {
  return {"watch",
          "watch [--locale ID] [--key KEY] [--interval SECONDS] [--count N] [--avg] "
          "[--csv | --json] OBJECT COUNTER [COUNTER...]",
          "Samples each COUNTER of the object titled OBJECT every SECONDS and prints, after each "
          "sample, one row per instance: its name and the current value of every counter with "
          "its suffix, tab-separated.",
          std::string(LocaleOptionDetails) +
              "  --key KEY    counter names joined by \";\" whose values tell instances of the "
              "same name apart\n"
              "  --interval SECONDS  time between samples (default 1; fractions allowed)\n"
              "  --count N    stop after N samples (default: run until interrupted)\n"
              "  --avg        averages since the first sample instead of current values\n"
              "  --csv        a header line, then one line per sample and instance: time (UTC), "
              "instance, values\n"
              "  --json       one document per sample and line: {\"time\", \"counters\", "
              "\"rows\": [{\"instance\", \"values\"}]}\n",
          {"--avg", "--csv", "--json"},
          {"--locale", "--key", "--interval", "--count"},
          Run};
}

}  // namespace gaugery::cli
