// The PhysicalDisk and LogicalDisk objects written from given samples: instance names
// and what their totals add up.
#include "perf/proc/DeviceObjects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LiveBlock.h"

namespace gaugery::test {
namespace {

constexpr DWORD Reads = 214, ReadBytes = 220, DiskTime = 20012, QueueLength = 20010,
                FreeSpace = 20016, FreeSpaceBase = 20018, FreeMegabytes = 20020;
constexpr std::uint64_t MiB = 1 << 20;

// Writes one object with Write into a buffer of its own and decodes it.
template <typename TWrite>
TDecodedObject Written(TWrite&& Write) {
  std::vector<BYTE> Buffer(64 * 1024);
  TPerfBlockWriter Writer(Buffer.data(), static_cast<DWORD>(Buffer.size()));
  Write(Writer);
  EXPECT_FALSE(Writer.Overflowed());
  EXPECT_EQ(Writer.ObjectCount(), 1u);
  return DecodeObject(Buffer.data());
}

std::vector<std::string> NamesOf(const TDecodedObject& Object) {
  std::vector<std::string> Names;
  for (const TDecodedInstance& Instance : Object.Instances) Names.push_back(Instance.Name);
  return Names;
}

TDiskSample Disk(std::uint64_t ReadCount, std::uint64_t Busy) {
  TDiskSample Sample;
  Sample.Reads = ReadCount;
  Sample.ReadBytes = ReadCount * 4096;
  Sample.QueueLength = 1;
  Sample.BusyTime = Busy;
  return Sample;
}

TEST(PhysicalDiskObject, NumbersTheDisksAndAveragesTheirBusyTimeInTheTotal) {
  const std::vector<TBlockDevice> Disks{{8, 0, "sda", Disk(10, 300)}, {259, 0, "nvme0n1", Disk(5, 100)}};
  TDecodedObject Object = Written([&](TPerfBlockWriter& Writer) {
    WritePhysicalDiskObject(Writer, Disks, TSampleClock{});
  });
  EXPECT_EQ(Object.Index, 234u);
  EXPECT_EQ(NamesOf(Object), (std::vector<std::string>{"0 sda", "1 nvme0n1", "_Total"}));
  const TCounterValues& Total = Object.Instances.back().Values;
  EXPECT_EQ(Total.at(Reads), 15u);
  EXPECT_EQ(Total.at(ReadBytes), 15u * 4096);
  EXPECT_EQ(Total.at(QueueLength), 2u);
  EXPECT_EQ(Total.at(DiskTime), 200u);

  TDecodedObject Empty = Written([](TPerfBlockWriter& Writer) {
    WritePhysicalDiskObject(Writer, {}, TSampleClock{});
  });
  EXPECT_EQ(NamesOf(Empty), (std::vector<std::string>{"_Total"}));
  EXPECT_EQ(Empty.Instances.back().Values.at(DiskTime), 0u);
}

TEST(LogicalDiskObject, CountsAFileSystemMountedTwiceOnceInTheTotal) {
  TFileSystemSample Root{"/", 8, 1, Disk(10, 400)};
  Root.Counts.FreeBytes = 30 * MiB;
  Root.Counts.UsableBytes = 100 * MiB;
  TFileSystemSample Bound = Root;
  Bound.MountPoint = "/srv/bound";
  TFileSystemSample Scratch{"/tmp/with blank", 0, 40, {}};
  Scratch.Counts.FreeBytes = 2 * MiB;
  Scratch.Counts.UsableBytes = 4 * MiB;
  const std::vector<TFileSystemSample> FileSystems{Root, Bound, Scratch};
  TDecodedObject Object = Written([&](TPerfBlockWriter& Writer) {
    WriteLogicalDiskObject(Writer, FileSystems, TSampleClock{});
  });
  EXPECT_EQ(Object.Index, 236u);
  EXPECT_EQ(NamesOf(Object),
            (std::vector<std::string>{"/", "/srv/bound", "/tmp/with blank", "_Total"}));
  EXPECT_EQ(Object.Instances[1].Values, Object.Instances[0].Values);
  const TCounterValues& Total = Object.Instances.back().Values;
  EXPECT_EQ(Total.at(FreeSpace), 32 * MiB);
  EXPECT_EQ(Total.at(FreeSpaceBase), 104 * MiB);
  EXPECT_EQ(Total.at(FreeMegabytes), 32u);
  EXPECT_EQ(Total.at(Reads), 10u);
  EXPECT_EQ(Total.at(DiskTime), 200u) << "the average over the two file systems";
}

}  // namespace
}  // namespace gaugery::test
