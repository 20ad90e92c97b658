// The block devices of /proc/diskstats: their transfer counts in the units of the
// PhysicalDisk and LogicalDisk counters, and which of them are physical disks.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"

namespace gaugery {

// The figures of a disk or of a file system: bytes, times in 100 ns. The space fields
// belong to file systems and stay 0 for disks.
struct TDiskSample {
  std::uint64_t Reads = 0;
  std::uint64_t ReadBytes = 0;
  std::uint64_t ReadTime = 0;
  std::uint64_t Writes = 0;
  std::uint64_t WriteBytes = 0;
  std::uint64_t WriteTime = 0;
  std::uint64_t QueueLength = 0;  // requests in progress at the moment
  std::uint64_t BusyTime = 0;     // time with at least one request in progress
  std::uint64_t FreeBytes = 0;    // available to programs
  std::uint64_t UsableBytes = 0;  // in use plus available
};

// Adds every field of Item into Total.
void AddToTotal(TDiskSample& Total, const TDiskSample& Item);

struct TBlockDevice {
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::string_view Name;  // points into the parsed text
  TDiskSample Counts;
};

// Parses /proc/diskstats into Devices (cleared first, capacity kept): sectors of 512
// bytes, milliseconds. A line without major, minor and name is left out; counts a
// short line lacks are 0.
void ParseDiskStats(std::string_view Text, std::vector<TBlockDevice>& Devices);

class TDiskReader {
 public:
  explicit TDiskReader(TProcRoot Root = TProcRoot()) : Root_(std::move(Root)) {}

  // Reads /proc/diskstats; an unreadable file gives no devices. The devices stay valid
  // until the next Read.
  void Read();
  std::span<const TBlockDevice> Devices() const { return Devices_; }
  // The whole disks backed by hardware, in the order of /proc/diskstats: the devices
  // with /sys/block/<name>/device. Partitions are not in /sys/block; loop, ram, zram,
  // device-mapper and md devices have no such link.
  std::span<const TBlockDevice> Disks() const { return Disks_; }

 private:
  TProcRoot Root_;
  TProcFileReader Files_;
  std::vector<TBlockDevice> Devices_;
  std::vector<TBlockDevice> Disks_;
};

}  // namespace gaugery
