#include "perf/proc/ProcRoot.h"

namespace gaugery {

TProcRoot::TProcRoot(std::string_view Directory) {
  while (Directory.ends_with('/')) Directory.remove_suffix(1);
  Prefix_ = Directory;
}

TShortText TProcRoot::Path(std::string_view Absolute) const {
  TShortText Text;
  Text.Append(Prefix_).Append(Absolute);
  return Text;
}

TShortText TProcRoot::ProcessFile(std::uint32_t Pid, const char* Name) const {
  TShortText Text = Path("/proc/");
  Text.Append(Pid).Append("/").Append(Name);
  return Text;
}

TShortText TProcRoot::ThreadFile(std::uint32_t Pid, std::uint32_t Tid, const char* Name) const {
  TShortText Text = Path("/proc/");
  Text.Append(Pid).Append("/task/").Append(Tid).Append("/").Append(Name);
  return Text;
}

void TProcRoot::PathInto(std::string_view Absolute, std::string& Path) const {
  Path.assign(Prefix_);
  Path.append(Absolute);
}

}  // namespace gaugery
