// What the /proc provider learns other than from files: the clocks of a sample and the
// space of a mounted file system. A tree captured from another machine fixes them, so
// that its block is the same at every read.
#pragma once

#include <sys/statvfs.h>

#include <functional>

#include "perf/proc/SampleClock.h"

namespace gaugery {

// Each one left empty is this machine's.
struct TMachineFacts {
  std::function<TSampleClock()> Clock;
  // As statvfs(2): 0 with Space filled, or -1.
  std::function<int(const char* Path, struct statvfs& Space)> StatVfs;

  bool AnyFixed() const { return Clock || StatVfs; }
};

}  // namespace gaugery
