// The PhysicalDisk, LogicalDisk, Network Interface and Paging File objects against
// /proc/diskstats, /proc/self/mountinfo with statvfs, /proc/net/dev and /proc/swaps read
// in the same test; and the monitor's values for a disk read of a known size and for a
// known amount of traffic on a veth pair in a network namespace of the test's own.
// Tests that need what this machine does not offer (a disk, root for namespaces) skip.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netpacket/packet.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "LiveBlock.h"
#include "PerfMonitor.h"

namespace gaugery::test {
namespace {

constexpr DWORD PhysicalDisk = 234, LogicalDisk = 236, NetworkInterface = 510, PagingFile = 700;
constexpr DWORD Reads = 214, Writes = 216, ReadBytes = 220, WriteBytes = 222, DiskTime = 20012,
                FreeSpace = 20016, FreeSpaceBase = 20018, FreeMegabytes = 20020;
constexpr DWORD BytesReceived = 264, PacketsReceived = 266, BytesSent = 506, PacketsSent = 452,
                Bandwidth = 520, ReceiveErrors = 20022, SendErrors = 542;
constexpr DWORD Usage = 702, UsageBase = 20026, UsagePeak = 704;
constexpr std::uint64_t MiB = 1 << 20;

// ---------------------------------------------------------------------------------------
// The files as a test reads them

struct TDiskLine {
  unsigned Major = 0;
  unsigned Minor = 0;
  std::string Name;
  std::vector<std::uint64_t> Fields;  // from field 4, reads completed, on
};

std::vector<TDiskLine> DiskStats() {
  std::vector<TDiskLine> Lines;
  std::istringstream Text(ReadText("/proc/diskstats"));
  for (std::string Line; std::getline(Text, Line);) {
    std::istringstream Fields(Line);
    TDiskLine Disk;
    Fields >> Disk.Major >> Disk.Minor >> Disk.Name;
    for (std::uint64_t Value; Fields >> Value;) Disk.Fields.push_back(Value);
    Lines.push_back(Disk);
  }
  return Lines;
}

const TDiskLine* DiskLine(const std::vector<TDiskLine>& Lines, const std::string& Name) {
  for (const TDiskLine& Line : Lines) {
    if (Line.Name == Name) return &Line;
  }
  return nullptr;
}

bool IsHardwareDisk(const std::string& Name) {
  return std::filesystem::exists("/sys/block/" + Name + "/device");
}

std::vector<std::string> HardwareDisks() {
  std::vector<std::string> Names;
  for (const TDiskLine& Line : DiskStats()) {
    if (IsHardwareDisk(Line.Name)) Names.push_back(Line.Name);
  }
  return Names;
}

// Decodes the octal escapes ("\040") of mountinfo and swaps.
std::string Unescaped(const std::string& Text) {
  std::string Plain;
  for (std::size_t At = 0; At < Text.size(); ++At) {
    if (Text[At] == '\\' && At + 3 < Text.size() && std::isdigit(Text[At + 1])) {
      Plain += static_cast<char>(std::stoi(Text.substr(At + 1, 3), nullptr, 8));
      At += 3;
    } else {
      Plain += Text[At];
    }
  }
  return Plain;
}

std::set<std::string> MountPoints() {
  std::set<std::string> Points;
  std::istringstream Text(ReadText("/proc/self/mountinfo"));
  for (std::string Line; std::getline(Text, Line);) {
    std::istringstream Fields(Line);
    std::string Skip, Point;
    Fields >> Skip >> Skip >> Skip >> Skip >> Point;
    Points.insert(Unescaped(Point));
  }
  return Points;
}

// The lines of /proc/net/dev by interface: the received, then the sent numbers.
std::map<std::string, std::vector<std::uint64_t>> NetDev() {
  std::map<std::string, std::vector<std::uint64_t>> Interfaces;
  std::istringstream Text(ReadText("/proc/net/dev"));
  for (std::string Line; std::getline(Text, Line);) {
    std::size_t Colon = Line.find(':');
    if (Colon == std::string::npos) continue;
    std::istringstream Name(Line.substr(0, Colon)), Fields(Line.substr(Colon + 1));
    std::string Interface;
    Name >> Interface;
    for (std::uint64_t Value; Fields >> Value;) Interfaces[Interface].push_back(Value);
  }
  return Interfaces;
}

std::vector<std::string> InstanceNames(const TDecodedObject& Object) {
  std::vector<std::string> Names;
  for (const TDecodedInstance& Instance : Object.Instances) Names.push_back(Instance.Name);
  return Names;
}

// Expects Before <= Value <= After for a count that only grows.
void ExpectBetween(std::uint64_t Value, std::uint64_t Before, std::uint64_t After,
                   const std::string& What) {
  EXPECT_LE(Before, Value) << What;
  EXPECT_LE(Value, After) << What;
}

// ---------------------------------------------------------------------------------------
// Namespaces and the monitor

// A network or mount namespace of this process's own for the scope of the object (made
// by unshare, left by setns), so that the test's veth pair or tmpfs is seen by this
// process only. A new mount namespace is made private first, so that no mount leaks
// back to the machine.
class TOwnNamespace {
 public:
  explicit TOwnNamespace(int Type) : Type_(Type) {
    Original_ = open(Type == CLONE_NEWNET ? "/proc/self/ns/net" : "/proc/self/ns/mnt", O_RDONLY);
    if (Original_ < 0 || unshare(Type) != 0) return;
    Entered_ = true;
    if (Type == CLONE_NEWNS && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      Leave();
    }
  }
  ~TOwnNamespace() {
    Leave();
    if (Original_ >= 0) close(Original_);
  }
  bool Entered() const { return Entered_; }

 private:
  void Leave() {
    if (Entered_ && setns(Original_, Type_) != 0) ADD_FAILURE() << "cannot leave the namespace";
    Entered_ = false;
  }

  int Type_;
  int Original_ = -1;
  bool Entered_ = false;
};

TPerfMonitorItem* AddItem(TPerfMonitor& Monitor, const std::string& Object,
                          const std::string& Counter) {
  TPerfMonitorItem* Item = Monitor.Items()->Add();
  Item->SetObjectName(Object);
  Item->SetCounterName(Counter);
  return Item;
}

TPerfMonitorCounterValue* RecordOf(TPerfMonitorItem* Item, const std::string& Instance) {
  for (std::int32_t At = 0; At < Item->InstanceValueCount(); ++At) {
    if (Item->InstanceValues(At)->InstanceName() == Instance) return Item->InstanceValues(At);
  }
  ADD_FAILURE() << "no instance " << Instance;
  static TPerfMonitorCounterValue None;
  return &None;
}

// The amount a rate of the monitor's current sample stands for: rate times seconds.
double AmountOf(const TPerfMonitorCounterValue* Rate, const TPerfMonitor& Monitor) {
  return static_cast<double>(Rate->AsFloat()) * static_cast<double>(Monitor.DeltaSysTime()) /
         1e7;
}

// Waits long enough that the next sample has its own millisecond time stamp.
void LetTimePass() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

// ---------------------------------------------------------------------------------------
// PhysicalDisk

TEST(PhysicalDiskObjectLiveTest, InstancesAreTheHardwareDisksOfDiskstatsThenTotal) {
  std::vector<std::string> Disks = HardwareDisks();
  std::vector<TDiskLine> Before = DiskStats();
  const TDecodedObject Object = ObjectOf(QueryObjects(u"234"), PhysicalDisk);
  std::vector<TDiskLine> After = DiskStats();

  std::vector<std::string> Expected;
  for (std::size_t At = 0; At < Disks.size(); ++At) {
    Expected.push_back(std::to_string(At) + " " + Disks[At]);
  }
  Expected.push_back("_Total");
  ASSERT_EQ(InstanceNames(Object), Expected);
  if (Disks.empty()) GTEST_SKIP() << "no disk with a device link in /sys/block on this machine";

  std::uint64_t TotalReads = 0;
  for (std::size_t At = 0; At < Disks.size(); ++At) {
    const std::string& Name = Disks[At];
    EXPECT_FALSE(std::filesystem::exists("/sys/class/block/" + Name + "/partition")) << Name;
    for (const char* Virtual : {"loop", "ram", "zram", "dm-", "md"}) {
      EXPECT_NE(Name.rfind(Virtual, 0), 0u) << Name;
    }
    const TCounterValues& Values = Object.Instances[At].Values;
    const TDiskLine* Early = DiskLine(Before, Name);
    const TDiskLine* Late = DiskLine(After, Name);
    ASSERT_TRUE(Early && Late && Early->Fields.size() >= 10);
    ExpectBetween(Values.at(Reads), Early->Fields[0], Late->Fields[0], Name + " reads");
    ExpectBetween(Values.at(ReadBytes), Early->Fields[2] * 512, Late->Fields[2] * 512, Name);
    ExpectBetween(Values.at(Writes), Early->Fields[4], Late->Fields[4], Name + " writes");
    ExpectBetween(Values.at(WriteBytes), Early->Fields[6] * 512, Late->Fields[6] * 512, Name);
    ExpectBetween(Values.at(DiskTime), Early->Fields[9] * 10'000, Late->Fields[9] * 10'000, Name);
    TotalReads += Values.at(Reads);
  }
  EXPECT_EQ(Object.Instances.back().Values.at(Reads), TotalReads);
}

// The whole disk that holds the file system of Path ("sda" for a file on sda2), or empty.
std::string DiskHolding(const std::string& Path) {
  struct stat File {};
  if (stat(Path.c_str(), &File) != 0) return {};
  std::error_code Error;
  std::filesystem::path Device = std::filesystem::canonical(
      "/sys/dev/block/" + std::to_string(major(File.st_dev)) + ":" +
          std::to_string(minor(File.st_dev)),
      Error);
  if (Error) return {};
  if (std::filesystem::exists(Device / "partition")) Device = Device.parent_path();
  return Device.filename().string();
}

TEST(PhysicalDiskObjectLiveTest, MonitorShowsAReadOfKnownSizeWithinTheKernelsOwnCount) {
  std::vector<std::string> Disks = HardwareDisks();
  const std::string Path = (std::filesystem::current_path() / "gaugery-disk-read").string();
  constexpr std::size_t Chunk = MiB, Chunks = 16;
  {
    std::ofstream File(Path, std::ios::binary);
    std::vector<char> Data(Chunk * Chunks, 'x');
    File.write(Data.data(), static_cast<std::streamsize>(Data.size()));
  }
  const std::string Disk = DiskHolding(Path);
  auto Position = std::find(Disks.begin(), Disks.end(), Disk);
  int Fd = open(Path.c_str(), O_RDONLY | O_DIRECT);
  if (Position == Disks.end() || Fd < 0 || fsync(Fd) != 0) {
    if (Fd >= 0) close(Fd);
    std::filesystem::remove(Path);
    GTEST_SKIP() << "the working directory lies on no disk that can be read directly";
  }
  void* Buffer = std::aligned_alloc(4096, Chunk);

  TPerfMonitor Monitor(nullptr);
  TPerfMonitorItem* Bytes = AddItem(Monitor, "PhysicalDisk", "Disk Read Bytes/sec");
  TPerfMonitorItem* Count = AddItem(Monitor, "PhysicalDisk", "Disk Reads/sec");
  TPerfMonitorItem* Average = AddItem(Monitor, "PhysicalDisk", "Avg. Disk sec/Read");
  TPerfMonitorItem* Busy = AddItem(Monitor, "PhysicalDisk", "% Disk Time");
  TPerfMonitorItem* Idle = AddItem(Monitor, "PhysicalDisk", "% Idle Time");
  const TDiskLine Before = *DiskLine(DiskStats(), Disk);
  Monitor.Collect();
  std::size_t Read = 0;
  for (std::size_t At = 0; At < Chunks; ++At) {
    ssize_t Got = pread(Fd, Buffer, Chunk, static_cast<off_t>(At * Chunk));
    Read += Got > 0 ? static_cast<std::size_t>(Got) : 0;
  }
  LetTimePass();
  Monitor.Collect();
  const TDiskLine After = *DiskLine(DiskStats(), Disk);
  std::free(Buffer);
  close(Fd);
  std::filesystem::remove(Path);
  ASSERT_EQ(Read, Chunk * Chunks);

  // The tolerance is what others read from the disk meanwhile: the kernel's count over
  // a slightly longer interval bounds the monitor's from above, the known read from
  // below (half a byte for the floating-point round trip). Reading the file directly
  // passes by the page cache, so all of it comes from the disk.
  const std::string Instance = std::to_string(Position - Disks.begin()) + " " + Disk;
  const double KernelBytes = static_cast<double>((After.Fields[2] - Before.Fields[2]) * 512);
  const double KernelReads = static_cast<double>(After.Fields[0] - Before.Fields[0]);
  EXPECT_GE(AmountOf(RecordOf(Bytes, Instance), Monitor), static_cast<double>(Read) - 0.5);
  EXPECT_LE(AmountOf(RecordOf(Bytes, Instance), Monitor), KernelBytes + 0.5);
  EXPECT_GE(AmountOf(RecordOf(Count, Instance), Monitor), 0.5);
  EXPECT_LE(AmountOf(RecordOf(Count, Instance), Monitor), KernelReads + 0.5);
  const double Seconds = RecordOf(Average, Instance)->AsFloat();
  EXPECT_GT(Seconds, 0.0);
  EXPECT_LT(Seconds, 1.0) << "seconds per read, not 100 ns units";
  EXPECT_NEAR(RecordOf(Busy, Instance)->AsFloat() + RecordOf(Idle, Instance)->AsFloat(), 100.0,
              1e-6);
}

// ---------------------------------------------------------------------------------------
// LogicalDisk

TEST(LogicalDiskObjectLiveTest, MountPointsAreInstancesWithTheSpaceStatvfsReports) {
  TOwnNamespace Mounts(CLONE_NEWNS);
  if (!Mounts.Entered()) GTEST_SKIP() << "cannot make a mount namespace (needs root)";
  char Template[] = "/tmp/gaugery logical XXXXXX";
  ASSERT_NE(mkdtemp(Template), nullptr);
  const std::string Point = Template;
  if (mount("tmpfs", Template, "tmpfs", 0, "size=8m") != 0) {
    rmdir(Template);
    GTEST_SKIP() << "cannot mount a tmpfs";
  }
  std::vector<char> Data(3 * MiB, 'x');
  {
    std::ofstream File(Point + "/data", std::ios::binary);
    File.write(Data.data(), static_cast<std::streamsize>(Data.size()));
  }
  struct statvfs Space {};
  ASSERT_EQ(statvfs(Template, &Space), 0);

  TPerfMonitor Monitor(nullptr);
  TPerfMonitorItem* Percent = AddItem(Monitor, "LogicalDisk", "% Free Space");
  Monitor.Collect();
  const TDecodedObject Object = ObjectOf(QueryObjects(u"236"), LogicalDisk);
  const std::set<std::string> Points = MountPoints();
  umount(Template);
  rmdir(Template);

  const std::uint64_t Free = Space.f_bavail * Space.f_frsize;
  const std::uint64_t Usable = (Space.f_blocks - Space.f_bfree + Space.f_bavail) * Space.f_frsize;
  EXPECT_EQ(Usable - Free, 3 * MiB);
  const TDecodedInstance* Scratch = InstanceNamed(Object, Point);
  ASSERT_NE(Scratch, nullptr);
  EXPECT_EQ(Scratch->Values.at(FreeSpace), Free);
  EXPECT_EQ(Scratch->Values.at(FreeSpaceBase), Usable);
  EXPECT_EQ(Scratch->Values.at(FreeMegabytes), Free / MiB);
  EXPECT_EQ(Scratch->Values.at(Reads), 0u) << "a tmpfs lies on no device";
  EXPECT_NEAR(RecordOf(Percent, Point)->AsFloat(), 100.0 * Free / Usable, 1e-9);

  std::vector<std::string> Names = InstanceNames(Object);
  ASSERT_EQ(Names.back(), "_Total");
  Names.pop_back();
  EXPECT_EQ(std::set<std::string>(Names.begin(), Names.end()).size(), Names.size());
  for (const std::string& Name : Names) EXPECT_TRUE(Points.count(Name)) << Name;
  EXPECT_TRUE(InstanceNamed(Object, "/"));
  EXPECT_GE(Object.Instances.back().Values.at(FreeSpace), Free);
}

// On a file system with blocks reserved for root, the space free to programs
// (f_bavail) is less than the free blocks (f_bfree): the tmpfs above has none.
TEST(LogicalDiskObjectLiveTest, RootShowsTheSpaceFreeToPrograms) {
  struct statvfs Before {};
  ASSERT_EQ(statvfs("/", &Before), 0);
  const TDecodedObject Object = ObjectOf(QueryObjects(u"236"), LogicalDisk);
  struct statvfs After {};
  ASSERT_EQ(statvfs("/", &After), 0);
  if (Before.f_bfree == Before.f_bavail) GTEST_SKIP() << "/ reserves no blocks here";
  const TDecodedInstance* Root = InstanceNamed(Object, "/");
  ASSERT_NE(Root, nullptr);
  // Other programs write while the test reads: the space may move by a little, far
  // less than the reserved blocks.
  const auto Unit = static_cast<double>(Before.f_frsize);
  const double Reserved = static_cast<double>(Before.f_bfree - Before.f_bavail) * Unit;
  const double Free = static_cast<double>(Before.f_bavail + After.f_bavail) / 2 * Unit;
  const double Usable =
      static_cast<double>(Before.f_blocks - Before.f_bfree + Before.f_bavail) * Unit;
  EXPECT_NEAR(static_cast<double>(Root->Values.at(FreeSpace)), Free, Reserved / 4);
  EXPECT_NEAR(static_cast<double>(Root->Values.at(FreeSpaceBase)), Usable, Reserved / 4);
}

TEST(LogicalDiskObjectLiveTest, RootShowsTheTransfersOfItsDevice) {
  struct stat Root {};
  ASSERT_EQ(stat("/", &Root), 0);
  std::string Device;
  for (const TDiskLine& Line : DiskStats()) {
    if (Line.Major == major(Root.st_dev) && Line.Minor == minor(Root.st_dev)) Device = Line.Name;
  }
  if (Device.empty()) GTEST_SKIP() << "/ lies on no device of /proc/diskstats here";
  const TDiskLine Before = *DiskLine(DiskStats(), Device);
  const TDecodedObject Object = ObjectOf(QueryObjects(u"236"), LogicalDisk);
  const TDiskLine After = *DiskLine(DiskStats(), Device);
  const TDecodedInstance* Instance = InstanceNamed(Object, "/");
  ASSERT_NE(Instance, nullptr);
  ExpectBetween(Instance->Values.at(Reads), Before.Fields[0], After.Fields[0], "reads");
  ExpectBetween(Instance->Values.at(WriteBytes), Before.Fields[6] * 512, After.Fields[6] * 512,
                "written bytes");
}

// ---------------------------------------------------------------------------------------
// Network Interface

TEST(NetworkInterfaceObjectLiveTest, InstancesAreTheInterfacesOfProcNetDevButLoopback) {
  auto Before = NetDev();
  const TDecodedObject Object = ObjectOf(QueryObjects(u"510"), NetworkInterface);
  auto After = NetDev();

  std::set<std::string> Expected;
  for (const auto& [Name, Fields] : Before) {
    if (Name != "lo" && After.count(Name)) Expected.insert(Name);
  }
  std::vector<std::string> Names = InstanceNames(Object);
  EXPECT_EQ(std::set<std::string>(Names.begin(), Names.end()), Expected);
  for (const TDecodedInstance& Instance : Object.Instances) {
    const std::vector<std::uint64_t>& Early = Before[Instance.Name];
    const std::vector<std::uint64_t>& Late = After[Instance.Name];
    ASSERT_GE(Early.size(), 16u);
    const TCounterValues& Values = Instance.Values;
    ExpectBetween(Values.at(BytesReceived), Early[0], Late[0], Instance.Name);
    ExpectBetween(Values.at(PacketsReceived), Early[1], Late[1], Instance.Name);
    ExpectBetween(Values.at(ReceiveErrors), Early[2], Late[2], Instance.Name);
    ExpectBetween(Values.at(BytesSent), Early[8], Late[8], Instance.Name);
    ExpectBetween(Values.at(PacketsSent), Early[9], Late[9], Instance.Name);
    ExpectBetween(Values.at(SendErrors), Early[10], Late[10], Instance.Name);
    std::string Speed = ReadText("/sys/class/net/" + Instance.Name + "/speed");
    std::int64_t Megabits = Speed.empty() ? 0 : std::stoll(Speed);
    EXPECT_EQ(Values.at(Bandwidth), Megabits > 0 ? Megabits * 1'000'000 : 0) << Instance.Name;
  }
}

// Sends Count Ethernet frames of Length bytes (header included) out of an interface.
bool SendFrames(const char* Interface, int Count, std::size_t Length) {
  int Socket = socket(AF_PACKET, SOCK_RAW, 0);
  if (Socket < 0) return false;
  sockaddr_ll Address{};
  Address.sll_family = AF_PACKET;
  Address.sll_ifindex = static_cast<int>(if_nametoindex(Interface));
  Address.sll_halen = 6;
  std::memset(Address.sll_addr, 0xFF, 6);
  std::vector<unsigned char> Frame(Length, 0);
  std::memset(Frame.data(), 0xFF, 6);  // to everyone
  Frame[6] = 0x02;                     // from a locally administered address
  Frame[12] = 0x88;                    // the EtherType for local experiments
  Frame[13] = 0xB5;
  bool Sent = true;
  for (int At = 0; At < Count && Sent; ++At) {
    Sent = sendto(Socket, Frame.data(), Frame.size(), 0, reinterpret_cast<sockaddr*>(&Address),
                  sizeof Address) == static_cast<ssize_t>(Length);
  }
  close(Socket);
  return Sent;
}

TEST(NetworkInterfaceObjectLiveTest, MonitorShowsKnownTrafficOnAVethPair) {
  TOwnNamespace Network(CLONE_NEWNET);
  if (!Network.Entered()) GTEST_SKIP() << "cannot make a network namespace (needs root)";
  // Without IPv6 the new links send nothing of their own (no address autoconfiguration).
  std::ofstream("/proc/sys/net/ipv6/conf/default/disable_ipv6") << "1";
  if (std::system("ip link add gaugery0 type veth peer name gaugery1 >/dev/null 2>&1 && "
                  "ip link set gaugery0 up && ip link set gaugery1 up") != 0) {
    GTEST_SKIP() << "cannot make a veth pair (needs iproute2)";
  }
  TPerfMonitor Monitor(nullptr);
  TPerfMonitorItem* Sent = AddItem(Monitor, "Network Interface", "Bytes Sent/sec");
  TPerfMonitorItem* Frames = AddItem(Monitor, "Network Interface", "Packets Sent/sec");
  TPerfMonitorItem* Received = AddItem(Monitor, "Network Interface", "Bytes Received/sec");
  TPerfMonitorItem* Total = AddItem(Monitor, "Network Interface", "Bytes Total/sec");
  LetTimePass();
  Monitor.Collect();
  constexpr int Count = 40;
  constexpr std::size_t Length = 600;
  ASSERT_TRUE(SendFrames("gaugery0", Count, Length));
  LetTimePass();
  Monitor.Collect();

  // The namespace carries no other traffic: the amounts are exact but for the
  // floating-point round trip of rate and elapsed time.
  const double Bytes = Count * Length;
  EXPECT_NEAR(AmountOf(RecordOf(Sent, "gaugery0"), Monitor), Bytes, 1e-6 * Bytes);
  EXPECT_NEAR(AmountOf(RecordOf(Frames, "gaugery0"), Monitor), Count, 1e-6 * Count);
  EXPECT_NEAR(AmountOf(RecordOf(Received, "gaugery1"), Monitor), Bytes, 1e-6 * Bytes);
  EXPECT_NEAR(AmountOf(RecordOf(Total, "gaugery1"), Monitor), Bytes, 1e-6 * Bytes);
  EXPECT_NEAR(AmountOf(RecordOf(Received, "gaugery0"), Monitor), 0.0, 1e-9);
}

// ---------------------------------------------------------------------------------------
// Paging File

struct TSwapLine {
  std::string Name;
  std::uint64_t Size = 0;
  std::uint64_t Used = 0;
};

std::vector<TSwapLine> Swaps() {
  std::vector<TSwapLine> Lines;
  std::istringstream Text(ReadText("/proc/swaps"));
  std::string Line;
  std::getline(Text, Line);  // the header
  while (std::getline(Text, Line)) {
    std::istringstream Fields(Line);
    TSwapLine Swap;
    std::string Type;
    Fields >> Swap.Name >> Type >> Swap.Size >> Swap.Used;
    Swap.Name = Unescaped(Swap.Name);
    Lines.push_back(Swap);
  }
  return Lines;
}

TEST(PagingFileObjectLiveTest, InstancesAreTheSwapAreasThenTotal) {
  std::vector<TSwapLine> Before = Swaps();
  const TDecodedObject Object = ObjectOf(QueryObjects(u"700"), PagingFile);
  std::vector<TSwapLine> After = Swaps();
  ASSERT_EQ(Before.size(), After.size()) << "swap switched on or off meanwhile";

  ASSERT_EQ(Object.Instances.size(), Before.size() + 1);
  std::uint64_t Size = 0;
  for (std::size_t At = 0; At < Before.size(); ++At) {
    const TDecodedInstance& Instance = Object.Instances[At];
    EXPECT_EQ(Instance.Name, Before[At].Name);
    EXPECT_EQ(Instance.Values.at(UsageBase), Before[At].Size * 1024);
    ExpectBetween(Instance.Values.at(Usage), std::min(Before[At].Used, After[At].Used) * 1024,
                  std::max(Before[At].Used, After[At].Used) * 1024, Instance.Name);
    EXPECT_GE(Instance.Values.at(UsagePeak), Instance.Values.at(Usage));
    Size += Before[At].Size * 1024;
  }
  const TDecodedInstance& Total = Object.Instances.back();
  EXPECT_EQ(Total.Name, "_Total");
  EXPECT_EQ(Total.Values.at(UsageBase), Size);
}

}  // namespace
}  // namespace gaugery::test
