// The parsers of the disk, mount, network, swap and thread files on the odd texts the
// kernel (or a damaged file) can produce.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "perf/proc/ProcDisks.h"
#include "perf/proc/ProcMounts.h"
#include "perf/proc/ProcNetwork.h"
#include "perf/proc/ProcSwaps.h"
#include "perf/proc/ProcText.h"
#include "perf/proc/ProcThreads.h"

namespace gaugery {
namespace {

TEST(ParseDiskStats, ConvertsSectorsAndMillisecondsAndToleratesShortLines) {
  std::vector<TBlockDevice> Devices;
  ParseDiskStats(
      "   8       0 sda 100 5 2048 30 40 2 800 12 3 25 60 0 0 0 0 7 9\n"
      "   8       1 sda1 10 0 16 1\n"
      "   x       2 bad 1 2 3\n"
      " 259       0\n"
      "\n"
      "   7       0 loop0",
      Devices);
  ASSERT_EQ(Devices.size(), 3u);
  const TDiskSample& Sda = Devices[0].Counts;
  EXPECT_EQ(Devices[0].Major, 8u);
  EXPECT_EQ(Devices[0].Name, "sda");
  EXPECT_EQ(Sda.Reads, 100u);
  EXPECT_EQ(Sda.ReadBytes, 2048u * 512);
  EXPECT_EQ(Sda.ReadTime, 30u * 10'000);
  EXPECT_EQ(Sda.Writes, 40u);
  EXPECT_EQ(Sda.WriteBytes, 800u * 512);
  EXPECT_EQ(Sda.WriteTime, 12u * 10'000);
  EXPECT_EQ(Sda.QueueLength, 3u);
  EXPECT_EQ(Sda.BusyTime, 25u * 10'000);

  EXPECT_EQ(Devices[1].Name, "sda1");
  EXPECT_EQ(Devices[1].Minor, 1u);
  EXPECT_EQ(Devices[1].Counts.ReadTime, 10'000u);
  EXPECT_EQ(Devices[1].Counts.Writes, 0u);
  EXPECT_EQ(Devices[2].Name, "loop0");
  EXPECT_EQ(Devices[2].Counts.Reads, 0u);

  ParseDiskStats("", Devices);
  EXPECT_TRUE(Devices.empty());
}

TEST(ParseMountInfoLine, TakesDeviceMountPointAndTypeAfterTheOptionalFields) {
  TMountEntry Entry;
  ASSERT_TRUE(ParseMountInfoLine(
      "36 35 98:0 /mnt1 /mnt/with\\040blank rw,noatime master:1 shared:7 - ext3 /dev/root rw",
      Entry));
  EXPECT_EQ(Entry.Major, 98u);
  EXPECT_EQ(Entry.Minor, 0u);
  EXPECT_EQ(Entry.MountPoint, "/mnt/with\\040blank");
  EXPECT_EQ(Entry.Type, "ext3");

  ASSERT_TRUE(ParseMountInfoLine("25 24 0:23 / /dev/shm rw,relatime - tmpfs tmpfs rw", Entry));
  EXPECT_EQ(Entry.Major, 0u);
  EXPECT_EQ(Entry.Minor, 23u);

  for (const char* Broken : {"", "36 35 98:0 /mnt1 /mnt rw master:1 ext3 /dev/root rw",
                             "36 35 98:0 /mnt1 /mnt rw -", "36 35 98-0 / /mnt rw - ext4 /dev/a rw",
                             "36 35 98: / /mnt rw - ext4 /dev/a rw",
                             "36 35 99999999999:1 / /mnt rw - ext4 /dev/a rw"}) {
    EXPECT_FALSE(ParseMountInfoLine(Broken, Entry)) << Broken;
  }
}

TEST(IsLocalFileSystemType, LeavesOutNetworkFuseAndAutomountFileSystems) {
  for (const char* Local : {"ext4", "xfs", "btrfs", "tmpfs", "vfat", "fuseblk", "overlay"}) {
    EXPECT_TRUE(IsLocalFileSystemType(Local)) << Local;
  }
  for (const char* Remote : {"nfs", "nfs4", "cifs", "fuse", "fuse.sshfs", "autofs", "9p"}) {
    EXPECT_FALSE(IsLocalFileSystemType(Remote)) << Remote;
  }
}

TEST(DecodeOctalEscapes, DecodesThreeOctalDigitsAndKeepsOtherBackslashes) {
  std::string Decoded = "left over";
  DecodeOctalEscapes("/a\\040b\\011c\\012d\\134e", Decoded);
  EXPECT_EQ(Decoded, "/a b\tc\nd\\e");
  DecodeOctalEscapes("\\04 \\9999 end\\", Decoded);
  EXPECT_EQ(Decoded, "\\04 \\9999 end\\");

  // A slot stays where it is while later ones are added.
  TDecodedTexts Texts;
  std::string_view First = Texts.Decode(0, "/dev");
  for (std::size_t Slot = 1; Slot < 100; ++Slot) Texts.Decode(Slot, "/mnt/x");
  EXPECT_EQ(First, "/dev");
}

TEST(ParseNetDev, SkipsHeadersAndLoopbackAndReadsJoinedFirstNumbers) {
  std::vector<TInterfaceSample> Interfaces;
  ParseNetDev(
      "Inter-|   Receive                                                |  Transmit\n"
      " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs "
      "drop fifo colls carrier compressed\n"
      "    lo:    3267      29    0    0    0     0          0         0     3267      29    0 "
      "   0    0     0       0          0\n"
      "  eth0:5698318 10173 2 3 0 0 0 0 396453 5391 4 5 0 0 0 0\n"
      " wlan0: 77 1\n"
      "   : 1 2 3\n",
      Interfaces);
  ASSERT_EQ(Interfaces.size(), 2u);
  const TInterfaceSample& Eth = Interfaces[0];
  EXPECT_EQ(Eth.Name, "eth0");
  EXPECT_EQ(Eth.BytesReceived, 5698318u);
  EXPECT_EQ(Eth.PacketsReceived, 10173u);
  EXPECT_EQ(Eth.ReceiveErrors, 2u);
  EXPECT_EQ(Eth.ReceiveDrops, 3u);
  EXPECT_EQ(Eth.BytesSent, 396453u);
  EXPECT_EQ(Eth.PacketsSent, 5391u);
  EXPECT_EQ(Eth.SendErrors, 4u);
  EXPECT_EQ(Eth.SendDrops, 5u);
  EXPECT_EQ(Interfaces[1].Name, "wlan0");
  EXPECT_EQ(Interfaces[1].PacketsReceived, 1u);
  EXPECT_EQ(Interfaces[1].BytesSent, 0u);
}

TEST(ParseLinkSpeed, TurnsMegabitsIntoBitsAndUnknownIntoZero) {
  EXPECT_EQ(ParseLinkSpeed("10000\n"), 10'000'000'000u);
  EXPECT_EQ(ParseLinkSpeed("-1\n"), 0u);
  EXPECT_EQ(ParseLinkSpeed(""), 0u);
  EXPECT_EQ(ParseLinkSpeed("99999999999999999999"), UINT64_MAX);
}

TEST(ParseSwaps, SkipsTheHeaderAndLinesWithoutSizes) {
  std::vector<TSwapArea> Areas;
  ParseSwaps(
      "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
      "/dev/sda2                               partition\t8388604\t\t1024\t\t-2\n"
      "/swap\\040file                          file\t\t1000\t\t0\t\t-3\n"
      "/broken file\n",
      Areas);
  ASSERT_EQ(Areas.size(), 2u);
  EXPECT_EQ(Areas[0].Name, "/dev/sda2");
  EXPECT_EQ(Areas[0].SizeBytes, 8388604ull * 1024);
  EXPECT_EQ(Areas[0].UsedBytes, 1024u * 1024);
  EXPECT_EQ(Areas[1].Name, "/swap\\040file");
}

TEST(SwapReader, KeepsEachAreasPeakUntilTheAreaIsGone) {
  const std::string Header = "Filename Type Size Used Priority\n";
  TSwapReader Swaps;
  Swaps.Update(Header + "/dev/a partition 100 60 -2\n/b\\040c file 50 10 -3\n");
  Swaps.Update(Header + "/dev/a partition 100 20 -2\n/b\\040c file 50 30 -3\n");
  ASSERT_EQ(Swaps.Areas().size(), 2u);
  EXPECT_EQ(Swaps.Areas()[0].PeakBytes, 60u * 1024);
  EXPECT_EQ(Swaps.Areas()[1].Name, "/b c");
  EXPECT_EQ(Swaps.Areas()[1].PeakBytes, 30u * 1024);
  EXPECT_EQ(Swaps.Total().SizeBytes, 150u * 1024);
  EXPECT_EQ(Swaps.Total().UsedBytes, 50u * 1024);
  EXPECT_EQ(Swaps.Total().PeakBytes, 70u * 1024);

  Swaps.Update(Header + "/b\\040c file 50 5 -3\n");
  Swaps.Update(Header + "/b\\040c file 50 5 -3\n/dev/a partition 100 1 -2\n");
  ASSERT_EQ(Swaps.Areas().size(), 2u);
  EXPECT_EQ(Swaps.Areas()[0].PeakBytes, 30u * 1024);
  EXPECT_EQ(Swaps.Areas()[1].PeakBytes, 1u * 1024) << "switched off and on again";

  Swaps.Update("");
  EXPECT_TRUE(Swaps.Areas().empty());
  EXPECT_EQ(Swaps.Total().UsedBytes, 0u);
}

TEST(ThreadState, MapsLinuxLettersOntoWindowsNumbers) {
  EXPECT_EQ(ThreadStateOfLetter('R'), TThreadState::Running);
  for (char Waiting : {'S', 'D', 'I', 'T', 't', 'P', 'K', 'W'}) {
    EXPECT_EQ(ThreadStateOfLetter(Waiting), TThreadState::Wait) << Waiting;
  }
  for (char Ended : {'Z', 'X', 'x'}) {
    EXPECT_EQ(ThreadStateOfLetter(Ended), TThreadState::Terminated) << Ended;
  }
  EXPECT_EQ(ThreadStateOfLetter('?'), TThreadState::Unknown);
  EXPECT_EQ(static_cast<int>(TThreadState::Wait), 5);
}

TEST(ParseContextSwitches, AddsVoluntaryAndInvoluntarySwitches) {
  EXPECT_EQ(ParseContextSwitches("Name:\tx\nvoluntary_ctxt_switches:\t150\n"
                                 "nonvoluntary_ctxt_switches:\t7\n"),
            157u);
  EXPECT_EQ(ParseContextSwitches("nonvoluntary_ctxt_switches:\t7\n"), 7u);
  EXPECT_EQ(ParseContextSwitches("voluntary_ctxt_switches:"), 0u);
}

}  // namespace
}  // namespace gaugery
