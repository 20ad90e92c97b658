// The directory under which the /proc provider finds every file it reads: "/" for this
// machine, or a tree laid out like it (a machine captured for a test). Every path the
// provider opens, lists or asks statvfs about is made here, and the root also answers
// what the provider learns other than from files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "perf/proc/MachineFacts.h"
#include "perf/proc/ProcFiles.h"

namespace gaugery {

class TProcRoot {
 public:
  // A trailing "/" of Directory is ignored, so "/" and "" both mean this machine.
  explicit TProcRoot(std::string_view Directory = "/", TMachineFacts Facts = {});

  // Absolute ("/proc/stat") under the root; empty when too long for a short text.
  TShortText Path(std::string_view Absolute) const;
  // "/proc/<pid>" and "/proc/<pid>/<name>" under the root.
  TShortText ProcessDirectory(std::uint32_t Pid) const;
  TShortText ProcessFile(std::uint32_t Pid, const char* Name) const;
  // Absolute under the root, of any length, into Path (its capacity is kept): a mount
  // point can be longer than a short text holds.
  void PathInto(std::string_view Absolute, std::string& Path) const;

  // The clocks of this moment, and statvfs of Path (a path under the root).
  TSampleClock ReadClock() const;
  int StatVfs(const char* Path, struct statvfs& Space) const;

 private:
  std::string Prefix_;  // the root without its trailing "/", empty for "/"
  TMachineFacts Facts_;
};

}  // namespace gaugery
