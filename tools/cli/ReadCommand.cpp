// gaugery read: raw values of counters from one sample: one row per instance of one
// object, or one value per counter path.
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "CounterSelection.h"
#include "LocaleOption.h"
#include "PerfFilter.h"
#include "Replay.h"
#include "SampleCheck.h"
#include "Terminal.h"
#include "TextTable.h"
#include "framework/TextFunctions.h"

namespace gaugery::cli {

namespace {

// The filter of one computer, on its held sample.
struct TComputerFilter {
  TComputerFilter(const std::string& Computer, const std::string& Locale)
      : Sample(Computer), Filter(nullptr) {
    Filter.SetComputerName(Computer);
    Filter.SetLocaleID(Locale);
  }

  TSharedSample Sample;
  TPerfFilter Filter;
};

// The filters of the computers the selections name, one each.
class TComputerFilters {
 public:
  explicit TComputerFilters(std::string Locale) : Locale_(std::move(Locale)) {}

  TPerfFilter& For(const std::string& Computer) {
    std::unique_ptr<TComputerFilter>& Entry = Filters_[UpperCase(Computer)];
    if (!Entry) Entry = std::make_unique<TComputerFilter>(Computer, Locale_);
    return Entry->Filter;
  }

 private:
  std::string Locale_;
  std::map<std::string, std::unique_ptr<TComputerFilter>> Filters_;
};

// A selection and its counter items, one per counter, located in the held sample.
struct TSelectionItems {
  const TCounterSelection* Selection;
  std::vector<TPerfCounterItem*> Items;
};

TSelectionItems AddItems(TPerfFilter& Filter, const TCounterSelection& Selection,
                         const Arguments& Args) {
  TSelectionItems Added{&Selection, {}};
  for (const std::string& Counter : Selection.Counters) {
    TPerfCounterItem* Item = Filter.Items()->Add();
    WithNameHint(Args, "", [&] { Item->SetObjectName(Selection.Object); });
    WithNameHint(Args, Selection.Object, [&] { Item->SetCounterName(Counter); });
    Added.Items.push_back(Item);
  }
  return Added;
}

// One shown instance (or the object's own values) and one raw value per counter.
struct TRow {
  const TSelectionItems* Source;
  TShownInstance Instance;
  std::vector<std::int64_t> Values;
};

// All rows are read before any is printed: a failing read prints nothing but its error.
std::vector<TRow> ReadRows(const std::vector<TSelectionItems>& Selections) {
  std::vector<TRow> Rows;
  for (const TSelectionItems& Selection : Selections) {
    std::vector<TShownInstance> Shown =
        PresentInstances(*Selection.Items.front(), *Selection.Selection);
    for (TShownInstance& Instance : Shown) {
      TRow Row{&Selection, std::move(Instance), {}};
      for (TPerfCounterItem* Item : Selection.Items) {
        Row.Values.push_back(Row.Instance.Index < 0 ? Item->CtrAsInteger()
                                                    : Item->InsCtrAsInteger(Row.Instance.Index));
      }
      Rows.push_back(std::move(Row));
    }
  }
  return Rows;
}

// OBJECT COUNTER...: the instance and the values of each, tab-separated.
void PrintTable(const TCounterSelection& Selection, const std::vector<TRow>& Rows) {
  const bool Instances = !Rows.empty() && Rows.front().Instance.Index >= 0;
  std::vector<TTextTable::TColumn> Columns;
  if (Instances) Columns.push_back({"instance"});
  for (const std::string& Counter : Selection.Counters) {
    Columns.push_back({Counter, TTextTable::TAlign::Right});
  }
  TTextTable Table(std::move(Columns), "\t");
  for (const TRow& Row : Rows) {
    std::vector<std::string> Cells;
    if (Instances) Cells.push_back(Row.Instance.Name);
    for (const std::int64_t Value : Row.Values) Cells.push_back(std::to_string(Value));
    Table.Add(std::move(Cells));
  }
  Table.Print(std::cout, OutputIsTerminal());
}

// Counter paths: the path and the value of each, tab-separated.
void PrintPathValues(const std::vector<TRow>& Rows) {
  TTextTable Table({{"path"}, {"value", TTextTable::TAlign::Right}}, "\t");
  for (const TRow& Row : Rows) {
    const TCounterSelection& Selection = *Row.Source->Selection;
    Table.Add({ValuePath(Selection, Row.Instance, Selection.Counters.front()),
               std::to_string(Row.Values.front())});
  }
  Table.Print(std::cout, OutputIsTerminal());
}

void PrintTableJson(const TCounterSelection& Selection, const std::vector<TRow>& Rows) {
  nlohmann::ordered_json Lines = nlohmann::ordered_json::array();
  for (const TRow& Row : Rows) {
    nlohmann::ordered_json Instance = nullptr;
    if (Row.Instance.Index >= 0) Instance = Row.Instance.Name;
    Lines.push_back({{"instance", Instance}, {"values", Row.Values}});
  }
  PrintJson({{"object", Selection.Object}, {"counters", Selection.Counters}, {"rows", Lines}});
}

void PrintPathValuesJson(const std::vector<TRow>& Rows) {
  nlohmann::ordered_json Values = nlohmann::ordered_json::array();
  for (const TRow& Row : Rows) {
    const TCounterSelection& Selection = *Row.Source->Selection;
    Values.push_back({{"path", ValuePath(Selection, Row.Instance, Selection.Counters.front())},
                      {"value", Row.Values.front()}});
  }
  PrintJson(Values);
}

// Holds the sample of the objects that the selections of this computer name; none
// is taken when they all name other computers.
void HoldLocalObjects(const std::vector<TCounterSelection>& Selections, const std::string& Locale) {
  std::vector<std::string> Objects;
  for (const TCounterSelection& Selection : Selections) {
    if (Selection.Computer.empty()) Objects.push_back(Selection.Object);
  }
  if (!Objects.empty()) HoldOneSample(ObjectsValueName(Objects, Locale));
}

int Run(const Arguments& Args) {
  const std::vector<TCounterSelection> Selections = SelectionsOf(Args.Operands(), ChosenComputer());
  const std::string Locale = ChosenLocale(Args);
  HoldLocalObjects(Selections, Locale);
  TComputerFilters Filters(Locale);
  std::vector<TSelectionItems> Items;
  for (const TCounterSelection& Selection : Selections) {
    Items.push_back(AddItems(Filters.For(Selection.Computer), Selection, Args));
  }
  // Naming the counters has located them in the held sample: their values are read
  // from it, without a sample more.
  const std::vector<TRow> Rows = ReadRows(Items);
  const bool Paths = Selections.front().FromPath;
  if (Args.Has("--json")) {
    Paths ? PrintPathValuesJson(Rows) : PrintTableJson(Selections.front(), Rows);
  } else {
    Paths ? PrintPathValues(Rows) : PrintTable(Selections.front(), Rows);
  }
  return 0;
}

}  // namespace

Command ReadCommand() {
  return {"read",
          "read [--locale ID] [--json] OBJECT COUNTER [COUNTER...] | PATH...",
          "Takes one sample and prints the raw value of each COUNTER of the object titled "
          "OBJECT: one row per instance, its name first, or one row of values for an object "
          "without instances. Each PATH names one counter as \\OBJECT(INSTANCE)\\COUNTER, "
          "\\OBJECT(INSTANCE#N)\\COUNTER for the instance of that name numbered N (from 1 for "
          "the second), \\OBJECT(*)\\COUNTER for every instance, \\OBJECT\\COUNTER for an "
          "object without instances, with \\\\COMPUTER before it for another computer; each "
          "prints its path and value. Lines are tab-separated; on a terminal, columns are "
          "aligned under a header line.",
          std::string(LocaleOptionDetails) +
              "  --json       {\"object\", \"counters\", \"rows\": [{\"instance\", \"values\"}]}, "
              "or for paths [{\"path\", \"value\"}]\n",
          {"--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
