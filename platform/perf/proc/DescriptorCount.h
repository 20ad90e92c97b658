// The number of descriptors a process has open. Since Linux 6.2 a stat() of
// /proc/<pid>/fd gives it as the directory's size: one system call, no directory read.
// Older kernels give 0 there, and a tree laid out like /proc for a test gives sizes of
// its own, so whether sizes count is decided once, on this process's own descriptors:
// /proc/self/fd must have entries and its size must be their number. Where it is not,
// the directory is listed.
#pragma once

#include <sys/stat.h>

#include <cstdint>

#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"

namespace gaugery {

// Whether the size of Root's /proc/self/fd is the number of descriptors this process has
// open: only a kernel's /proc that gives the count says so.
bool SizeCountsDescriptors(const TProcRoot& Root, TDirectoryReader& Directories);

class TDescriptorCounter {
 public:
  // The user this process runs as is taken here, once.
  explicit TDescriptorCounter(bool BySize);

  // The descriptors of a process by its descriptor directory, Name ("fd", "<pid>/fd")
  // in the directory open as Directory, listed with Directories where sizes do not
  // count; 0 when they cannot be counted (a vanished process, one whose descriptors
  // this one may not list).
  std::uint64_t Count(int Directory, const char* Name, TDirectoryReader& Directories) const;

 private:
  bool MayList(const struct stat& Descriptors) const;

  const bool BySize_;
  const uid_t User_;
};

}  // namespace gaugery
