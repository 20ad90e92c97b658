#include "perf/proc/ProcMounts.h"

#include <sys/statvfs.h>

#include <algorithm>

namespace gaugery {

namespace {

// "8:1", the device number of the mounted file system.
bool ParseDeviceNumbers(std::string_view Field, std::uint32_t& Major, std::uint32_t& Minor) {
  std::uint64_t First, Second;
  if (!ParseUnsigned(Field, First) || !Field.starts_with(':')) return false;
  Field.remove_prefix(1);
  if (!ParseUnsigned(Field, Second) || !Field.empty()) return false;
  if (First > UINT32_MAX || Second > UINT32_MAX) return false;
  Major = static_cast<std::uint32_t>(First);
  Minor = static_cast<std::uint32_t>(Second);
  return true;
}

// Space of the file system mounted at Path; false when it cannot be asked or has no
// blocks (proc, sysfs, cgroup and the like).
bool ReadSpace(const char* Path, TDiskSample& Counts) {
  struct statvfs Space {};
  if (statvfs(Path, &Space) != 0 || Space.f_blocks == 0) return false;
  const std::uint64_t Unit = Space.f_frsize != 0 ? Space.f_frsize : Space.f_bsize;
  const std::uint64_t Used = Space.f_blocks - std::min(Space.f_bfree, Space.f_blocks);
  Counts.FreeBytes = Space.f_bavail * Unit;
  Counts.UsableBytes = (Used + Space.f_bavail) * Unit;
  return true;
}

const TBlockDevice* DeviceOf(std::span<const TBlockDevice> Devices, std::uint32_t Major,
                             std::uint32_t Minor) {
  for (const TBlockDevice& Device : Devices) {
    if (Device.Major == Major && Device.Minor == Minor) return &Device;
  }
  return nullptr;
}

}  // namespace

bool ParseMountInfoLine(std::string_view Line, TMountEntry& Entry) {
  // mount id, parent id, major:minor, root, mount point, options, optional fields...,
  // "-", type, source, super options
  NextField(Line);
  NextField(Line);
  std::string_view Device = NextField(Line);
  NextField(Line);
  std::string_view MountPoint = NextField(Line);
  std::string_view Field = NextField(Line);  // the mount options
  while (!Field.empty() && Field != "-") Field = NextField(Line);
  std::string_view Type = NextField(Line);
  if (Field != "-" || Type.empty() || MountPoint.empty()) return false;
  if (!ParseDeviceNumbers(Device, Entry.Major, Entry.Minor)) return false;
  Entry.MountPoint = MountPoint;
  Entry.Type = Type;
  return true;
}

bool IsLocalFileSystemType(std::string_view Type) {
  constexpr std::string_view NotLocal[] = {
      "nfs",  "nfs4",    "cifs",      "smb3",   "smbfs", "ncpfs", "afs",   "ceph",
      "9p",   "lustre",  "glusterfs", "gfs2",   "ocfs2", "davfs", "fuse",  "autofs",
      "sshfs"};
  if (Type.starts_with("fuse.")) return false;
  return std::find(std::begin(NotLocal), std::end(NotLocal), Type) == std::end(NotLocal);
}

bool TMountReader::IsMountedOver(std::size_t Entry) const {
  for (std::size_t Later = Entry + 1; Later < Mounts_.size(); ++Later) {
    if (Mounts_[Later].MountPoint == Mounts_[Entry].MountPoint) return true;
  }
  return false;
}

void TMountReader::Read(std::span<const TBlockDevice> Devices) {
  Mounts_.clear();
  FileSystems_.clear();
  std::string_view Text;
  Files_.Read(Root_.Path("/proc/self/mountinfo").Text(), &Text);
  while (!Text.empty()) {
    TMountEntry Entry;
    if (ParseMountInfoLine(NextLine(Text), Entry)) Mounts_.push_back(Entry);
  }
  for (std::size_t At = 0; At < Mounts_.size(); ++At) {
    const TMountEntry& Mount = Mounts_[At];
    if (!IsLocalFileSystemType(Mount.Type) || IsMountedOver(At)) continue;
    TFileSystemSample FileSystem;
    FileSystem.MountPoint = MountPoints_.Decode(FileSystems_.size(), Mount.MountPoint);
    FileSystem.Major = Mount.Major;
    FileSystem.Minor = Mount.Minor;
    if (const TBlockDevice* Device = DeviceOf(Devices, Mount.Major, Mount.Minor)) {
      FileSystem.Counts = Device->Counts;
    }
    Root_.PathInto(FileSystem.MountPoint, SpacePath_);
    if (!ReadSpace(SpacePath_.c_str(), FileSystem.Counts)) continue;
    FileSystems_.push_back(FileSystem);
  }
}

}  // namespace gaugery
