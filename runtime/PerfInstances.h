// The instance list: the instances of one performance object that has instances.
#pragma once

#include <cstdint>
#include <string>

#include "PerfObjectBrowser.h"
#include "WinPerf.h"
#include "framework/LibraryExport.h"
#include "framework/TStringList.h"

namespace gaugery {

// Lists the instances of the object named ObjectName in the local computer's shared
// snapshot, in block order. Every operation that needs the object raises the unknown
// object error when it is absent from the current sample or ObjectName is empty.
class GAUGERY_RUNTIME_API TPerfInstances : public TPerfObjectBrowser {
 public:
  using TPerfObjectBrowser::TPerfObjectBrowser;

  // Outside loading, an object without instances is refused with Exception
  // "Object "<title>" has no instances" and ObjectName is left empty; an object that
  // has none at the moment is accepted.
  void SetObjectName(const std::string& Value) override;

  // Replaces the lines of ATitles with one name per instance, duplicates kept; an
  // unknown object raises before ATitles is touched.
  void GetInstanceNames(TStringList* ATitles);

  std::string GetInstanceName(std::int32_t Index);
  // "Index out of bounds" outside 0 to InstanceCount - 1.
  PPERF_INSTANCE_DEFINITION GetInstanceData(std::int32_t Index);
  std::int32_t GetInstanceUniqueID(std::int32_t Index);
  // NumInstances as stored: -1 for an object without instances that a stored form
  // selected unchecked.
  std::int32_t GetInstanceCount();

  std::string InstanceName(std::int32_t Index) { return GetInstanceName(Index); }
  PPERF_INSTANCE_DEFINITION InstanceData(std::int32_t Index) { return GetInstanceData(Index); }
  std::int32_t InstanceUniqueID(std::int32_t Index) { return GetInstanceUniqueID(Index); }
  std::int32_t InstanceCount() { return GetInstanceCount(); }
};

}  // namespace gaugery

// The unit's registration routine for the designer.
namespace gaugery::PerfInstancesUnit {

// Puts TPerfInstances on the palette page "Gaugery".
GAUGERY_RUNTIME_API void DoRegister();

}  // namespace gaugery::PerfInstancesUnit
