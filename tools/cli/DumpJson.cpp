#include "DumpJson.h"

#include <nlohmann/json.hpp>

#include "Browsing.h"

namespace gaugery::cli {

namespace {

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

}  // namespace

std::string DumpJsonText(const BlockDump& Block) {
  nlohmann::json Json{{"systemName", Block.SystemName},
                      {"systemTime", IsoTime(Block.SystemTime)},
                      {"perfTime", Block.PerfTime},
                      {"perfFreq", Block.PerfFreq},
                      {"perfTime100nSec", Block.PerfTime100nSec},
                      {"objects", nlohmann::json::array()}};
  for (const ObjectDump& Object : Block.Objects) Json["objects"].push_back(ObjectJson(Object));
  return JsonText(Json);
}

}  // namespace gaugery::cli
