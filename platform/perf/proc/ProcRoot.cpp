#include "perf/proc/ProcRoot.h"

#include <utility>

namespace gaugery {

TProcRoot::TProcRoot(std::string_view Directory, TMachineFacts Facts) : Facts_(std::move(Facts)) {
  while (Directory.ends_with('/')) Directory.remove_suffix(1);
  Prefix_ = Directory;
}

TShortText TProcRoot::Path(std::string_view Absolute) const {
  TShortText Text;
  Text.Append(Prefix_).Append(Absolute);
  return Text;
}

TShortText TProcRoot::ProcessDirectory(std::uint32_t Pid) const {
  TShortText Text = Path("/proc/");
  Text.Append(Pid);
  return Text;
}

TShortText TProcRoot::ProcessFile(std::uint32_t Pid, const char* Name) const {
  TShortText Text = ProcessDirectory(Pid);
  Text.Append("/").Append(Name);
  return Text;
}

void TProcRoot::PathInto(std::string_view Absolute, std::string& Path) const {
  Path.assign(Prefix_);
  Path.append(Absolute);
}

TSampleClock TProcRoot::ReadClock() const {
  return Facts_.Clock ? Facts_.Clock() : TSampleClock::Read();
}

int TProcRoot::StatVfs(const char* Path, struct statvfs& Space) const {
  return Facts_.StatVfs ? Facts_.StatVfs(Path, Space) : statvfs(Path, &Space);
}

}  // namespace gaugery
