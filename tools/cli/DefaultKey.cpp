#include "DefaultKey.h"

#include "PerfFilter.h"
#include "PerfMonitor.h"
#include "PerfTitles.h"

namespace gaugery::cli {

namespace {

// Title indexes of the Process object and of its counter that tells processes apart.
constexpr std::int32_t ProcessObject = 230;
constexpr char IdProcessCounter[] = "784";

}  // namespace

std::string DefaultObjectKey(TPerfMonitorItem& Item) {
  if (!Item.HasInstances()) return "";
  TPerfCounterItem& Counter = *Item.Counter();
  if (Counter.GetObjectIDX() != ProcessObject) return "";
  return Counter.Titles()->TitleByIdx(IdProcessCounter);
}

}  // namespace gaugery::cli
