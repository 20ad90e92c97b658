#include "PerfInstances.h"

#include "WinGaugery.h"
#include "framework/Format.h"
#include "framework/TypeInfo.h"

namespace gaugery {

void TPerfInstances::SetObjectName(const std::string& Value) {
  TPerfObjectBrowser::SetObjectName(Value);
  if (IsLoading() || Value.empty()) return;
  if (ObjectData()->NumInstances < 0) {
    TPerfObjectBrowser::SetObjectName("");
    throw Exception(Format("Object \"%s\" has no instances", {Value}));
  }
}

std::int32_t TPerfInstances::GetInstanceCount() { return ObjectData()->NumInstances; }

PPERF_INSTANCE_DEFINITION TPerfInstances::GetInstanceData(std::int32_t Index) {
  PPERF_OBJECT_TYPE Object = ObjectData();
  CheckPosition(Index, Object->NumInstances);
  PPERF_INSTANCE_DEFINITION Instance = FirstInstance(Object);
  for (std::int32_t Step = 0; Step < Index; ++Step) Instance = NextInstance(Instance);
  return Instance;
}

std::string TPerfInstances::GetInstanceName(std::int32_t Index) {
  return PerfInstName(GetInstanceData(Index));
}

std::int32_t TPerfInstances::GetInstanceUniqueID(std::int32_t Index) {
  return GetInstanceData(Index)->UniqueID;
}

void TPerfInstances::GetInstanceNames(TStringList* ATitles) {
  PPERF_OBJECT_TYPE Object = ObjectData();
  ATitles->Clear();
  PPERF_INSTANCE_DEFINITION Instance = FirstInstance(Object);
  for (LONG Index = 0; Index < Object->NumInstances; ++Index, Instance = NextInstance(Instance)) {
    ATitles->Add(PerfInstName(Instance));
  }
}

namespace {

// Describes the published properties when the unit is loaded, so that stored forms can
// hold instance lists.
[[maybe_unused]] const bool InstancesRegistered = [] {
  RegisterComponentClass<TPerfInstances>(
      "TPerfInstances", {StringProperty<TPerfInstances>("ObjectName", &TPerfInstances::ObjectName,
                                                        &TPerfInstances::SetObjectName),
                         StringProperty<TPerfInstances>("LocaleID", &TPerfInstances::GetLocaleID,
                                                        &TPerfInstances::SetLocaleID)});
  return true;
}();

}  // namespace

}  // namespace gaugery

namespace gaugery::PerfInstancesUnit {

void DoRegister() { RegisterComponents("Gaugery", {"TPerfInstances"}); }

}  // namespace gaugery::PerfInstancesUnit
