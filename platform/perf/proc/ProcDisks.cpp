#include "perf/proc/ProcDisks.h"

#include <unistd.h>

#include <algorithm>

#include "perf/proc/ProcText.h"

namespace gaugery {

namespace {

constexpr std::uint64_t SectorBytes = 512;
constexpr std::uint64_t Per100nsOfMillisecond = 10'000;

// The numbers after the name, in the order the file writes them; newer kernels add
// discard and flush counts, which are not read.
enum DiskField {
  ReadsCompleted,
  ReadsMerged,
  SectorsRead,
  MillisecondsReading,
  WritesCompleted,
  WritesMerged,
  SectorsWritten,
  MillisecondsWriting,
  InProgress,
  MillisecondsDoingIo,
  DiskFieldCount
};

bool ParseDeviceNumber(std::string_view& Line, std::uint32_t& Number) {
  std::uint64_t Value;
  if (!ParseUnsigned(Line, Value) || Value > UINT32_MAX) return false;
  Number = static_cast<std::uint32_t>(Value);
  return true;
}

TDiskSample CountsOf(std::string_view Fields) {
  std::uint64_t Value[DiskFieldCount] = {};
  for (std::uint64_t& Field : Value) {
    if (!ParseUnsigned(Fields, Field)) break;
  }
  TDiskSample Counts;
  Counts.Reads = Value[ReadsCompleted];
  Counts.ReadBytes = Value[SectorsRead] * SectorBytes;
  Counts.ReadTime = Value[MillisecondsReading] * Per100nsOfMillisecond;
  Counts.Writes = Value[WritesCompleted];
  Counts.WriteBytes = Value[SectorsWritten] * SectorBytes;
  Counts.WriteTime = Value[MillisecondsWriting] * Per100nsOfMillisecond;
  Counts.QueueLength = Value[InProgress];
  Counts.BusyTime = Value[MillisecondsDoingIo] * Per100nsOfMillisecond;
  return Counts;
}

// sysfs writes a "/" of a device name ("cciss/c0d0") as "!".
bool IsPhysicalDisk(const TProcRoot& Root, std::string_view Name) {
  TShortText Path = Root.Path("/sys/block/");
  for (std::size_t Start = 0; Start <= Name.size();) {
    std::size_t Slash = std::min(Name.find('/', Start), Name.size());
    Path.Append(Name.substr(Start, Slash - Start));
    if (Slash < Name.size()) Path.Append("!");
    Start = Slash + 1;
  }
  Path.Append("/device");
  return !Name.empty() && access(Path.Text(), F_OK) == 0;
}

}  // namespace

void AddToTotal(TDiskSample& Total, const TDiskSample& Item) {
  Total.Reads += Item.Reads;
  Total.ReadBytes += Item.ReadBytes;
  Total.ReadTime += Item.ReadTime;
  Total.Writes += Item.Writes;
  Total.WriteBytes += Item.WriteBytes;
  Total.WriteTime += Item.WriteTime;
  Total.QueueLength += Item.QueueLength;
  Total.BusyTime += Item.BusyTime;
  Total.FreeBytes += Item.FreeBytes;
  Total.UsableBytes += Item.UsableBytes;
}

void ParseDiskStats(std::string_view Text, std::vector<TBlockDevice>& Devices) {
  Devices.clear();
  while (!Text.empty()) {
    std::string_view Line = NextLine(Text);
    TBlockDevice Device;
    if (!ParseDeviceNumber(Line, Device.Major) || !ParseDeviceNumber(Line, Device.Minor)) continue;
    Device.Name = NextField(Line);
    if (Device.Name.empty()) continue;
    Device.Counts = CountsOf(Line);
    Devices.push_back(Device);
  }
}

void TDiskReader::Read() {
  std::string_view Text;
  Files_.Read(Root_.Path("/proc/diskstats").Text(), &Text);
  ParseDiskStats(Text, Devices_);
  Disks_.clear();
  for (const TBlockDevice& Device : Devices_) {
    if (IsPhysicalDisk(Root_, Device.Name)) Disks_.push_back(Device);
  }
}

}  // namespace gaugery
