// The counter list: the counter definitions of one performance object, with their
// titles and help texts.
#pragma once

#include <cstdint>
#include <string>

#include "PerfData.h"
#include "PerfObjectBrowser.h"
#include "PerfTitles.h"
#include "WinPerf.h"
#include "framework/LibraryExport.h"
#include "framework/TStringList.h"

namespace gaugery {

// Lists the counter definitions of the object named ObjectName in the local
// computer's shared snapshot. A counter's position is its place among the object's
// definitions, base counters included. Every operation that needs the object raises
// the unknown object error when it is absent from the current sample or ObjectName
// is empty.
class GAUGERY_RUNTIME_API TPerfCounters : public TPerfObjectBrowser {
 public:
  explicit TPerfCounters(TComponent* AOwner);
  ~TPerfCounters() override;

  // Position of the first definition whose title equals ACounterTitle (letter case
  // ignored), or -1.
  std::int32_t IndexOfTitle(const std::string& ACounterTitle);
  // Replaces the lines of ATitles with one title per definition (empty for an index
  // without title); an unknown object raises before ATitles is touched.
  void GetCounterTitles(TStringList* ATitles);
  // Replaces the lines of AHelps with one help text per definition.
  void GetCounterHelps(TStringList* AHelps);

  std::string GetCounterTitle(std::int32_t Index);
  // The missing help error is raised before the object and the position are checked.
  std::string GetCounterHelp(std::int32_t Index);
  // "Index out of bounds" outside 0 to CounterCount - 1.
  PPERF_COUNTER_DEFINITION GetCounterData(std::int32_t Index);
  std::int32_t GetCounterCount();
  // The block of the component's own snapshot of ComputerName; only this property
  // reads it, the counters always come from the local computer.
  PPERF_DATA_BLOCK GetPerfData();

  // Read when PerfData first acquires its snapshot.
  const std::string& ComputerName() const { return ComputerName_; }
  void SetComputerName(const std::string& Value) { ComputerName_ = Value; }

  // Not owned; forgotten when the table is destroyed. Its locale is its own.
  TPerfHelps* Helps() const { return Helps_; }
  void SetHelps(TPerfHelps* Value) { LinkComponent(*this, Helps_, Value); }

  std::string CounterTitle(std::int32_t Index) { return GetCounterTitle(Index); }
  std::string CounterHelp(std::int32_t Index) { return GetCounterHelp(Index); }
  PPERF_COUNTER_DEFINITION CounterData(std::int32_t Index) { return GetCounterData(Index); }
  std::int32_t CounterCount() { return GetCounterCount(); }
  PPERF_DATA_BLOCK PerfData() { return GetPerfData(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::string TitleOf(PPERF_COUNTER_DEFINITION Counter);
  std::string HelpOf(PPERF_COUNTER_DEFINITION Counter) const;

  TPerfHelps* Helps_ = nullptr;
  TPerfData* PerfData_ = nullptr;
  std::string ComputerName_;
};

}  // namespace gaugery

// The unit's registration routine for the designer.
namespace gaugery::PerfCountersUnit {

// Puts TPerfCounters on the palette page "Gaugery".
GAUGERY_RUNTIME_API void DoRegister();

}  // namespace gaugery::PerfCountersUnit
