// The mounted local file systems of /proc/self/mountinfo as the LogicalDisk object shows
// them: their free space from statvfs, their transfers from their device's line of
// /proc/diskstats.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "perf/proc/ProcDisks.h"
#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"
#include "perf/proc/ProcText.h"

namespace gaugery {

// The fields of one line of /proc/self/mountinfo that are used. The texts point into
// the line; the mount point is still escaped as the file writes it.
struct TMountEntry {
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::string_view MountPoint;
  std::string_view Type;
};

// False for a line without the fields up to the file-system type (after the "-" that
// ends the optional fields).
bool ParseMountInfoLine(std::string_view Line, TMountEntry& Entry);

// False for file systems whose space is no local disk space or whose size must not be
// asked: network file systems (a server that does not answer would hang the sample),
// FUSE ones except fuseblk (most reach the network), and autofs (asking would mount).
bool IsLocalFileSystemType(std::string_view Type);

struct TFileSystemSample {
  std::string_view MountPoint;  // decoded
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  TDiskSample Counts;
};

class TMountReader {
 public:
  explicit TMountReader(TProcRoot Root = TProcRoot()) : Root_(std::move(Root)) {}

  // Reads the mount table and, for every local file system with a size, its space and
  // the counts of the block device with its device number in Devices (zeros for a file
  // system without one, such as tmpfs). A mount point mounted over is read once, for
  // the file system on top.
  void Read(std::span<const TBlockDevice> Devices);
  // In the order of the mount table; valid until the next Read.
  std::span<const TFileSystemSample> FileSystems() const { return FileSystems_; }

 private:
  TProcRoot Root_;
  bool IsMountedOver(std::size_t Entry) const;

  TProcFileReader Files_;
  std::vector<TMountEntry> Mounts_;
  std::vector<TFileSystemSample> FileSystems_;
  TDecodedTexts MountPoints_;
  std::string SpacePath_;  // the mount point under the root, for statvfs
};

}  // namespace gaugery
