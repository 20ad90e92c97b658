// gaugery read: raw values of counters of one object, one row per instance.
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfFilter.h"
#include "PrintableText.h"

namespace gaugery::cli {

namespace {

// One row of output: the instance (none for an object without instances) and one
// raw value per counter.
struct Row {
  std::optional<std::string> Instance;
  std::vector<std::int64_t> Values;
};

std::vector<TPerfCounterItem*> AddItems(TPerfFilter& Filter, const Arguments& Args) {
  const std::vector<std::string>& Operands = Args.Operands();
  if (Operands.size() < 2) throw UsageError("an object and at least one counter are needed");
  std::vector<TPerfCounterItem*> Items;
  for (std::size_t Counter = 1; Counter < Operands.size(); ++Counter) {
    TPerfCounterItem* Item = Filter.Items()->Add();
    Item->SetObjectName(Operands[0]);
    Item->SetCounterName(Operands[Counter]);
    Items.push_back(Item);
  }
  return Items;
}

// All rows are read before any is printed: a failing read prints nothing but its error.
std::vector<Row> ReadRows(const std::vector<TPerfCounterItem*>& Items) {
  TPerfCounterItem& First = *Items.front();
  std::vector<Row> Rows;
  if (!First.HasInstances()) {
    Row Values;
    for (TPerfCounterItem* Item : Items) Values.Values.push_back(Item->CtrAsInteger());
    Rows.push_back(std::move(Values));
    return Rows;
  }
  const std::int32_t Count = First.InstanceCount();
  for (std::int32_t Index = 0; Index < Count; ++Index) {
    Row Instance{First.GetInstanceNames(Index), {}};
    for (TPerfCounterItem* Item : Items) Instance.Values.push_back(Item->InsCtrAsInteger(Index));
    Rows.push_back(std::move(Instance));
  }
  return Rows;
}

void PrintText(const std::vector<Row>& Rows) {
  for (const Row& Values : Rows) {
    std::string Line = PrintableText(Values.Instance.value_or(""));
    for (std::size_t Column = 0; Column < Values.Values.size(); ++Column) {
      if (Values.Instance || Column > 0) Line += '\t';
      Line += std::to_string(Values.Values[Column]);
    }
    std::cout << Line << "\n";
  }
}

void PrintRowsJson(const std::vector<TPerfCounterItem*>& Items, const std::vector<Row>& Rows) {
  nlohmann::ordered_json Counters = nlohmann::ordered_json::array();
  for (TPerfCounterItem* Item : Items) Counters.push_back(Item->CounterName());
  nlohmann::ordered_json Lines = nlohmann::ordered_json::array();
  for (const Row& Values : Rows) {
    nlohmann::ordered_json Instance = nullptr;
    if (Values.Instance) Instance = *Values.Instance;
    Lines.push_back({{"instance", Instance}, {"values", Values.Values}});
  }
  PrintJson({{"object", Items.front()->ObjectName()}, {"counters", Counters}, {"rows", Lines}});
}

int Run(const Arguments& Args) {
  TPerfFilter Filter(nullptr);
  Filter.SetComputerName(ChosenComputer());
  Filter.SetLocaleID(ChosenLocale(Args));
  const std::vector<TPerfCounterItem*> Items = AddItems(Filter, Args);
  Filter.Collect();
  const std::vector<Row> Rows = ReadRows(Items);
  if (Args.Has("--json")) {
    PrintRowsJson(Items, Rows);
  } else {
    PrintText(Rows);
  }
  return 0;
}

}  // namespace

Command ReadCommand() {
  return {"read",
          "read [--locale ID] [--json] OBJECT COUNTER [COUNTER...]",
          "Collects one sample and prints the raw value of each COUNTER of the object titled "
          "OBJECT: one tab-separated row per instance, the instance name first, or one row of "
          "values for an object without instances.",
          std::string(LocaleOptionDetails) +
              "  --json       {\"object\", \"counters\", \"rows\": [{\"instance\", \"values\"}]}\n",
          {"--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
