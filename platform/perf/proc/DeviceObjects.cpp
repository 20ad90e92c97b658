#include "perf/proc/DeviceObjects.h"

#include "perf/TitleIndexes.h"
#include "perf/proc/CounterTable.h"

namespace gaugery {

namespace {

// The monitor divides the difference of an average timer by the difference of its base
// and applies no time base. The base therefore counts operations times the frequency of
// the times (100 ns), so that the quotient is seconds per operation.
constexpr DWORD DeltaAverageTimer =
    PERF_SIZE_LARGE | PERF_AVERAGE_TIMER | PERF_DELTA_COUNTER | PERF_DELTA_BASE;
constexpr DWORD DeltaAverageBase = PERF_SIZE_LARGE | PERF_AVERAGE_BASE;

std::uint64_t InTimeUnits(std::uint64_t Operations) {
  return Operations * static_cast<std::uint64_t>(FileTimeFrequency);
}

// The sample each counter of a table takes its value from.
using DiskSample = const TDiskSample&;
constexpr auto TransferCounters = std::to_array<TCounterSource<TDiskSample>>({
    {DiskReadsIndex, PERF_COUNTER_BULK_COUNT, [](DiskSample S) { return S.Reads; }},
    {DiskWritesIndex, PERF_COUNTER_BULK_COUNT, [](DiskSample S) { return S.Writes; }},
    {DiskTransfersIndex, PERF_COUNTER_BULK_COUNT, [](DiskSample S) { return S.Reads + S.Writes; }},
    {DiskReadBytesIndex, PERF_COUNTER_BULK_COUNT, [](DiskSample S) { return S.ReadBytes; }},
    {DiskWriteBytesIndex, PERF_COUNTER_BULK_COUNT, [](DiskSample S) { return S.WriteBytes; }},
    {DiskBytesIndex, PERF_COUNTER_BULK_COUNT,
     [](DiskSample S) { return S.ReadBytes + S.WriteBytes; }},
    {AvgDiskSecPerReadIndex, DeltaAverageTimer, [](DiskSample S) { return S.ReadTime; }},
    {AvgDiskSecPerReadBaseIndex, DeltaAverageBase,
     [](DiskSample S) { return InTimeUnits(S.Reads); }},
    {AvgDiskSecPerWriteIndex, DeltaAverageTimer, [](DiskSample S) { return S.WriteTime; }},
    {AvgDiskSecPerWriteBaseIndex, DeltaAverageBase,
     [](DiskSample S) { return InTimeUnits(S.Writes); }},
    {CurrentDiskQueueLengthIndex, PERF_COUNTER_RAWCOUNT,
     [](DiskSample S) { return S.QueueLength; }},
    {DiskTimeIndex, PERF_100NSEC_TIMER, [](DiskSample S) { return S.BusyTime; }},
    {IdleTimeIndex, PERF_100NSEC_TIMER_INV, [](DiskSample S) { return S.BusyTime; }},
});

constexpr auto SpaceCounters = std::to_array<TCounterSource<TDiskSample>>({
    {FreeSpaceIndex, PERF_LARGE_RAW_FRACTION, [](DiskSample S) { return S.FreeBytes; }},
    {FreeSpaceBaseIndex, PERF_LARGE_RAW_BASE, [](DiskSample S) { return S.UsableBytes; }},
    {FreeMegabytesIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](DiskSample S) { return S.FreeBytes >> 20; }},
});

constexpr TCounterTable PhysicalDiskTable(TransferCounters);
constexpr TCounterTable LogicalDiskTable(Joined(SpaceCounters, TransferCounters));

using InterfaceSample = const TInterfaceSample&;
constexpr TCounterTable NetworkInterfaceTable(std::to_array<TCounterSource<TInterfaceSample>>({
    {BytesTotalIndex, PERF_COUNTER_BULK_COUNT,
     [](InterfaceSample S) { return S.BytesReceived + S.BytesSent; }},
    {PacketsIndex, PERF_COUNTER_BULK_COUNT,
     [](InterfaceSample S) { return S.PacketsReceived + S.PacketsSent; }},
    {PacketsReceivedIndex, PERF_COUNTER_BULK_COUNT,
     [](InterfaceSample S) { return S.PacketsReceived; }},
    {PacketsSentIndex, PERF_COUNTER_BULK_COUNT, [](InterfaceSample S) { return S.PacketsSent; }},
    {CurrentBandwidthIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](InterfaceSample S) { return S.Bandwidth; }},
    {BytesReceivedIndex, PERF_COUNTER_BULK_COUNT,
     [](InterfaceSample S) { return S.BytesReceived; }},
    {PacketsReceivedDiscardedIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](InterfaceSample S) { return S.ReceiveDrops; }},
    {PacketsReceivedErrorsIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](InterfaceSample S) { return S.ReceiveErrors; }},
    {BytesSentIndex, PERF_COUNTER_BULK_COUNT, [](InterfaceSample S) { return S.BytesSent; }},
    {PacketsOutboundDiscardedIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](InterfaceSample S) { return S.SendDrops; }},
    {PacketsOutboundErrorsIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](InterfaceSample S) { return S.SendErrors; }},
}));

using SwapSample = const TSwapArea&;
constexpr TCounterTable PagingFileTable(std::to_array<TCounterSource<TSwapArea>>({
    {UsageIndex, PERF_LARGE_RAW_FRACTION, [](SwapSample S) { return S.UsedBytes; }},
    {UsageBaseIndex, PERF_LARGE_RAW_BASE, [](SwapSample S) { return S.SizeBytes; }},
    {UsagePeakIndex, PERF_LARGE_RAW_FRACTION, [](SwapSample S) { return S.PeakBytes; }},
    {UsagePeakBaseIndex, PERF_LARGE_RAW_BASE, [](SwapSample S) { return S.SizeBytes; }},
}));

// A total whose busy time is the average of the items', so that its % Disk Time stays
// between 0 and 100 like theirs.
void AverageBusyTime(TDiskSample& Total, std::size_t Items) {
  if (Items != 0) Total.BusyTime /= Items;
}

bool SameFileSystem(const TFileSystemSample& First, const TFileSystemSample& Second) {
  return First.Major == Second.Major && First.Minor == Second.Minor;
}

bool CountedBefore(std::span<const TFileSystemSample> FileSystems, std::size_t At) {
  for (std::size_t Earlier = 0; Earlier < At; ++Earlier) {
    if (SameFileSystem(FileSystems[Earlier], FileSystems[At])) return true;
  }
  return false;
}

}  // namespace

void WritePhysicalDiskObject(TPerfBlockWriter& Writer, std::span<const TBlockDevice> Disks,
                             const TSampleClock& Clock) {
  Writer.BeginObject(PhysicalDiskObjectIndex, PhysicalDiskTable.Layout, true, Clock.Now);
  TDiskSample Total;
  for (std::uint32_t Number = 0; Number < Disks.size(); ++Number) {
    const TBlockDevice& Disk = Disks[Number];
    TShortText Name;
    Name.Append(Number).Append(" ").Append(Disk.Name);
    PhysicalDiskTable.Write(Writer.AddInstance(Name.View()), Disk.Counts);
    AddToTotal(Total, Disk.Counts);
  }
  AverageBusyTime(Total, Disks.size());
  PhysicalDiskTable.Write(Writer.AddInstance(TotalInstance), Total);
  Writer.EndObject();
}

void WriteLogicalDiskObject(TPerfBlockWriter& Writer,
                            std::span<const TFileSystemSample> FileSystems,
                            const TSampleClock& Clock) {
  Writer.BeginObject(LogicalDiskObjectIndex, LogicalDiskTable.Layout, true, Clock.Now);
  TDiskSample Total;
  std::size_t Distinct = 0;
  for (std::size_t At = 0; At < FileSystems.size(); ++At) {
    const TFileSystemSample& FileSystem = FileSystems[At];
    LogicalDiskTable.Write(Writer.AddInstance(FileSystem.MountPoint), FileSystem.Counts);
    if (CountedBefore(FileSystems, At)) continue;
    AddToTotal(Total, FileSystem.Counts);
    ++Distinct;
  }
  AverageBusyTime(Total, Distinct);
  LogicalDiskTable.Write(Writer.AddInstance(TotalInstance), Total);
  Writer.EndObject();
}

void WriteNetworkInterfaceObject(TPerfBlockWriter& Writer,
                                 std::span<const TInterfaceSample> Interfaces,
                                 const TSampleClock& Clock) {
  Writer.BeginObject(NetworkInterfaceObjectIndex, NetworkInterfaceTable.Layout, true, Clock.Now);
  for (const TInterfaceSample& Interface : Interfaces) {
    NetworkInterfaceTable.Write(Writer.AddInstance(Interface.Name), Interface);
  }
  Writer.EndObject();
}

void WritePagingFileObject(TPerfBlockWriter& Writer, std::span<const TSwapArea> Areas,
                           const TSwapArea& Total, const TSampleClock& Clock) {
  Writer.BeginObject(PagingFileObjectIndex, PagingFileTable.Layout, true, Clock.Now);
  for (const TSwapArea& Area : Areas) PagingFileTable.Write(Writer.AddInstance(Area.Name), Area);
  PagingFileTable.Write(Writer.AddInstance(TotalInstance), Total);
  Writer.EndObject();
}

}  // namespace gaugery
