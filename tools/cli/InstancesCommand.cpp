// gaugery instances: the instances of one performance object.
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfInstances.h"
#include "PerfObjects.h"
#include "Replay.h"
#include "SampleCheck.h"

namespace gaugery::cli {

namespace {

// Whether the object titled Object has instances (it may have none at the moment).
bool HasInstances(const std::string& Object, const std::string& Locale, const Arguments& Args) {
  TPerfObjects Objects(nullptr);
  Objects.SetLocaleID(Locale);
  std::int32_t Position = -1;
  WithNameHint(Args, "", [&] { Position = Objects.IndexOfObject(Object); });
  return Objects.ObjectData(Position)->NumInstances != PERF_NO_INSTANCES;
}

int Run(const Arguments& Args) {
  ExpectLocalComputer("instances");
  const std::string Object = ObjectOperand(Args);
  const std::string Locale = ChosenLocale(Args);
  HoldOneSample(ObjectsValueName({Object}, Locale));
  const TSharedSample Sample("");
  nlohmann::ordered_json Json = nlohmann::ordered_json::array();
  if (HasInstances(Object, Locale, Args)) {
    TPerfInstances Instances(nullptr);
    Instances.SetLocaleID(Locale);
    Instances.SetObjectName(Object);
    const std::int32_t Count = Instances.InstanceCount();
    for (std::int32_t Position = 0; Position < Count; ++Position) {
      const std::string Name = Instances.InstanceName(Position);
      const std::int32_t UniqueID = Instances.InstanceUniqueID(Position);
      if (Args.Has("--json")) {
        Json.push_back({{"position", Position}, {"name", Name}, {"uniqueId", UniqueID}});
      } else {
        std::cout << Position << "  " << UniqueID << "  " << Name << "\n";
      }
    }
  }
  if (Args.Has("--json")) PrintJson(Json);
  return 0;
}

}  // namespace

Command InstancesCommand() {
  return {"instances",
          "instances [--locale ID] [--json] OBJECT",
          "Lists the instances of the object titled OBJECT in block order: position, unique "
          "identifier (-1: none) and name. An object without instances lists none.",
          std::string(LocaleOptionDetails) + "  --json       one JSON array instead of text\n",
          {"--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
