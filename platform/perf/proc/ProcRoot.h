// The directory under which the /proc provider finds every file it reads: "/" for this
// machine, or a tree laid out like it (a machine captured for a test). Every path the
// provider opens, lists or asks statvfs about is made here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "perf/proc/ProcFiles.h"

namespace gaugery {

class TProcRoot {
 public:
  // A trailing "/" of Directory is ignored, so "/" and "" both mean this machine.
  explicit TProcRoot(std::string_view Directory = "/");

  // Absolute ("/proc/stat") under the root; empty when too long for a short text.
  TShortText Path(std::string_view Absolute) const;
  // "/proc/<pid>/<name>" and "/proc/<pid>/task/<tid>/<name>" under the root.
  TShortText ProcessFile(std::uint32_t Pid, const char* Name) const;
  TShortText ThreadFile(std::uint32_t Pid, std::uint32_t Tid, const char* Name) const;
  // Absolute under the root, of any length, into Path (its capacity is kept): a mount
  // point can be longer than a short text holds.
  void PathInto(std::string_view Absolute, std::string& Path) const;

 private:
  std::string Prefix_;  // the root without its trailing "/", empty for "/"
};

}  // namespace gaugery
