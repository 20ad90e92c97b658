// gaugery dump: one sample of the performance data block, as text or JSON.
#include <algorithm>
#include <charconv>
#include <iostream>
#include <nlohmann/json.hpp>

#include "BlockDump.h"
#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfData.h"
#include "PerfTitles.h"
#include "Replay.h"
#include "SampleCheck.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"

namespace gaugery::cli {

namespace {

// " \"Title\"", or nothing for an index without a title.
std::string Quoted(const std::string& Title) {
  return Title.empty() ? std::string() : " \"" + Title + "\"";
}

std::string ValueText(const RawValue& Value) {
  return Value ? std::to_string(*Value) : std::string("-");
}

nlohmann::json ValueJson(const RawValue& Value) {
  return Value ? nlohmann::json(*Value) : nlohmann::json(nullptr);
}

nlohmann::json ValuesJson(const ObjectDump& Object, const std::vector<RawValue>& Values) {
  nlohmann::json Json = nlohmann::json::object();
  for (std::size_t i = 0; i < Values.size(); ++i)
    Json[std::to_string(Object.Counters[i].Index)] = ValueJson(Values[i]);
  return Json;
}

nlohmann::json ObjectJson(const ObjectDump& Object) {
  nlohmann::json Json{{"index", Object.Index},
                      {"title", TitleJson<nlohmann::json>(Object.Title)},
                      {"helpIndex", Object.HelpIndex},
                      {"numInstances", Object.NumInstances},
                      {"perfTime", Object.PerfTime},
                      {"perfFreq", Object.PerfFreq},
                      {"counters", nlohmann::json::array()}};
  for (const CounterDump& C : Object.Counters) {
    Json["counters"].push_back({{"index", C.Index},
                                {"title", TitleJson<nlohmann::json>(C.Title)},
                                {"helpIndex", C.HelpIndex},
                                {"type", C.Type},
                                {"size", C.Size},
                                {"offset", C.Offset}});
  }
  if (Object.NumInstances == PERF_NO_INSTANCES) {
    Json["values"] = ValuesJson(Object, Object.Values);
    return Json;
  }
  Json["instances"] = nlohmann::json::array();
  for (const InstanceDump& I : Object.Instances) {
    Json["instances"].push_back(
        {{"name", I.Name}, {"uniqueId", I.UniqueId}, {"values", ValuesJson(Object, I.Values)}});
  }
  return Json;
}

void PrintJson(std::ostream& Out, const BlockDump& Block) {
  nlohmann::json Json{{"systemName", Block.SystemName},
                      {"systemTime", IsoTime(Block.SystemTime)},
                      {"perfTime", Block.PerfTime},
                      {"perfFreq", Block.PerfFreq},
                      {"perfTime100nSec", Block.PerfTime100nSec},
                      {"objects", nlohmann::json::array()}};
  for (const ObjectDump& Object : Block.Objects) Json["objects"].push_back(ObjectJson(Object));
  Out << JsonText(Json) << "\n";
}

void PrintValues(std::ostream& Out, const ObjectDump& Object, const std::vector<RawValue>& Values) {
  Out << "     ";
  for (std::size_t i = 0; i < Values.size(); ++i)
    Out << " " << Object.Counters[i].Index << "=" << ValueText(Values[i]);
  Out << "\n";
}

void PrintObject(std::ostream& Out, const ObjectDump& Object) {
  Out << "\nObject " << Object.Index << Quoted(Object.Title) << " (help " << Object.HelpIndex
      << "): " << Object.Counters.size() << " counters, ";
  if (Object.NumInstances == PERF_NO_INSTANCES)
    Out << "no instances";
  else
    Out << Object.NumInstances << " instances";
  Out << ", PerfTime " << Object.PerfTime << ", PerfFreq " << Object.PerfFreq << "\n";
  for (const CounterDump& C : Object.Counters) {
    Out << "  counter " << C.Index << Quoted(C.Title) << " (help " << C.HelpIndex << ") type "
        << "0x" << IntToHex(C.Type, 8) << " size " << C.Size << " offset " << C.Offset << "\n";
  }
  if (Object.NumInstances == PERF_NO_INSTANCES) {
    Out << "  values\n";
    PrintValues(Out, Object, Object.Values);
  }
  for (const InstanceDump& I : Object.Instances) {
    Out << "  instance \"" << I.Name << "\" (unique id " << I.UniqueId << ")\n";
    PrintValues(Out, Object, I.Values);
  }
}

void PrintText(std::ostream& Out, const BlockDump& Block) {
  Out << "System " << Block.SystemName << ", sampled " << IsoTime(Block.SystemTime) << "\n"
      << "PerfTime " << Block.PerfTime << ", PerfFreq " << Block.PerfFreq << ", PerfTime100nSec "
      << Block.PerfTime100nSec << "\n"
      << Block.Objects.size() << " objects\n";
  for (const ObjectDump& Object : Block.Objects) PrintObject(Out, Object);
}

// The title indexes of the --object options.
std::vector<DWORD> ObjectIndexes(const Arguments& Args) {
  std::vector<DWORD> Indexes;
  for (const std::string& Text : Args.Values("--object")) {
    DWORD Index = 0;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Index);
    if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size())
      throw UsageError("--object needs a title index, not \"" + Text + "\"");
    Indexes.push_back(Index);
  }
  return Indexes;
}

void ExpectObjects(const BlockDump& Block, const std::vector<DWORD>& Indexes) {
  for (const DWORD Index : Indexes) {
    const bool Found = std::any_of(Block.Objects.begin(), Block.Objects.end(),
                                   [&](const ObjectDump& Object) { return Object.Index == Index; });
    if (!Found)
      throw Exception("no object with title index " + std::to_string(Index) + " in the sample");
  }
}

int Run(const Arguments& Args) {
  ExpectNoOperands(Args);
  const std::vector<DWORD> Indexes = ObjectIndexes(Args);
  const std::string ValueName = IndexListValueName(Indexes);
  HoldOneSample(ValueName);
  const std::string Locale = ChosenLocale(Args);
  TPerfTitles Titles(nullptr);
  Titles.SetLocaleID(Locale);
  Titles.SetComputerName(ChosenComputer());
  TPerfData Data(ValueName, ChosenComputer());
  CheckLatestSample(Data);
  const BlockDump Block = DumpBlock(Data, Titles);
  ExpectObjects(Block, Indexes);
  if (Args.Has("--json"))
    PrintJson(std::cout, Block);
  else
    PrintText(std::cout, Block);
  return 0;
}

}  // namespace

Command DumpCommand() {
  return {"dump",
          "dump [--object INDEX]... [--locale ID] [--json]",
          "Prints one sample of the performance data block: header, objects and counter "
          "definitions with their titles, instances and raw values.",
          "  --object INDEX  only the object with this title index (repeatable)\n"
          "  --locale ID     titles of this installed locale (default: the first one)\n"
          "  --json          one JSON document instead of text\n",
          {"--json"},
          {"--object", "--locale"},
          Run};
}

}  // namespace gaugery::cli
