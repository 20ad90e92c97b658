#include "perf/proc/DescriptorCount.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gaugery {

bool SizeCountsDescriptors(const TProcRoot& Root, TDirectoryReader& Directories) {
  const TShortText Own = Root.Path("/proc/self/fd");
  struct stat Status;
  if (stat(Own.Text(), &Status) != 0) return false;
  // The listing holds one more descriptor open than the stat() saw: the directory's own.
  const long Entries = Directories.Count(Own.Text());
  return Entries > 1 && Status.st_size == Entries - 1;
}

TDescriptorCounter::TDescriptorCounter(bool BySize) : BySize_(BySize), User_(geteuid()) {}

// The size is given whatever the caller's rights, but a listing only to the owner of
// the process (or root): the size is taken only where the listing would succeed, so
// that every count is the one a listing gives.
bool TDescriptorCounter::MayList(const struct stat& Descriptors) const {
  return User_ == 0 || Descriptors.st_uid == User_;
}

std::uint64_t TDescriptorCounter::Count(int Directory, const char* Name,
                                        TDirectoryReader& Directories) const {
  struct stat Status;
  if (BySize_ && fstatat(Directory, Name, &Status, 0) == 0 && MayList(Status)) {
    return Status.st_size < 0 ? 0 : static_cast<std::uint64_t>(Status.st_size);
  }
  const long Listed = Directories.CountAt(Directory, Name);
  return Listed < 0 ? 0 : static_cast<std::uint64_t>(Listed);
}

}  // namespace gaugery
