// gaugery instances: the instances of one performance object.
#include <iostream>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LocaleOption.h"
#include "PerfInstances.h"

namespace gaugery::cli {

namespace {

int Run(const Arguments& Args) {
  ExpectLocalComputer("instances");
  const std::string Object = ObjectOperand(Args);
  TPerfInstances Instances(nullptr);
  Instances.SetLocaleID(ChosenLocale(Args));
  Instances.SetObjectName(Object);
  nlohmann::ordered_json Json = nlohmann::ordered_json::array();
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
  if (Args.Has("--json")) PrintJson(Json);
  return 0;
}

}  // namespace

Command InstancesCommand() {
  return {"instances",
          "instances [--locale ID] [--json] OBJECT",
          "Lists the instances of the object titled OBJECT in block order: position, unique "
          "identifier (-1: none) and name.",
          std::string(LocaleOptionDetails) + "  --json       one JSON array instead of text\n",
          {"--json"},
          {"--locale"},
          Run};
}

}  // namespace gaugery::cli
