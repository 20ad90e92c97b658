// The /proc provider under a root directory: paths are made under it, and a tree laid
// out like /proc is served as the machine it describes, with nothing read from this one.
#include "perf/proc/ProcRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "LiveBlock.h"
#include "perf/TitleIndexes.h"
#include "perf/proc/ProcProvider.h"
#include "registry/Registry.h"

namespace gaugery {
namespace {

using test::InstanceNamed;
using test::ObjectOf;
using test::QueryObjects;

TEST(ProcRoot, PutsEveryPathUnderTheRoot) {
  for (const char* MachineRoot : {"/", ""}) {
    const TProcRoot Root(MachineRoot);
    EXPECT_EQ(Root.Path("/proc/stat").View(), "/proc/stat");
    EXPECT_EQ(Root.ProcessFile(12, "io").View(), "/proc/12/io");
  }
  const TProcRoot Root("/captured/machine//");
  EXPECT_EQ(Root.Path("/proc/stat").View(), "/captured/machine/proc/stat");
  EXPECT_EQ(Root.ProcessFile(12, "stat").View(), "/captured/machine/proc/12/stat");
  EXPECT_EQ(Root.ThreadFile(12, 13, "status").View(), "/captured/machine/proc/12/task/13/status");
  std::string SpacePath;
  Root.PathInto("/mnt/data", SpacePath);
  EXPECT_EQ(SpacePath, "/captured/machine/mnt/data");
}

TEST(ProcRoot, APathTooLongForAShortTextIsEmptyButAMountPointIsWhole) {
  const TProcRoot Root("/" + std::string(300, 'r'));
  EXPECT_EQ(Root.Path("/proc/stat").View(), "");
  std::string SpacePath;
  const std::string MountPoint = "/" + std::string(400, 'm');
  Root.PathInto(MountPoint, SpacePath);
  EXPECT_EQ(SpacePath.size(), 301u + MountPoint.size());
}

// A tree with only /proc/stat and /proc/meminfo, removed after the test together with
// the provider that reads it.
class ProcRootTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Root_ = std::filesystem::path(::testing::TempDir()) / "gaugery-proc-root";
    std::filesystem::remove_all(Root_);
    std::filesystem::create_directories(Root_ / "proc");
    Write("proc/stat",
          "cpu  300 0 150 3000 30 15 15 0 0 0\n"
          "cpu0 100 0 50 1000 10 5 5 0 0 0\n"
          "cpu1 100 0 50 1000 10 5 5 0 0 0\n"
          "cpu2 100 0 50 1000 10 5 5 0 0 0\n"
          "intr 4242 0\n"
          "ctxt 777\n"
          "btime 1700000000\n"
          "procs_running 2\n");
    Write("proc/meminfo",
          "MemTotal: 8192 kB\nMemAvailable: 4096 kB\nCommitLimit: 2048 kB\n"
          "Committed_AS: 1024 kB\n");
    SetPerfProviders({ProcProvider(Root_.string())});
  }

  void TearDown() override {
    RestoreDefaultPerfProviders();
    std::filesystem::remove_all(Root_);
  }

  void Write(const char* Relative, const std::string& Text) const {
    std::ofstream(Root_ / Relative) << Text;
  }

 private:
  std::filesystem::path Root_;
};

TEST_F(ProcRootTreeTest, ServesTheProcessorsAndMemoryOfTheTree) {
  const auto Objects = QueryObjects(u"Global");
  const test::TDecodedObject& Processor = ObjectOf(Objects, ProcessorObjectIndex);
  ASSERT_EQ(Processor.Instances.size(), 4u);
  EXPECT_EQ(Processor.Instances[2].Name, "2");
  EXPECT_EQ(Processor.Instances[3].Name, "_Total");
  EXPECT_EQ(Processor.Instances[0].Values.at(UserTimeIndex), 100u * 100'000);
  EXPECT_EQ(Processor.Instances[3].Values.at(InterruptsIndex), 4242u);

  const test::TDecodedObject& Memory = ObjectOf(Objects, MemoryObjectIndex);
  EXPECT_EQ(Memory.Values.at(AvailableBytesIndex), 4096u * 1024);
  EXPECT_EQ(Memory.Values.at(CommitLimitIndex), 2048u * 1024);
  EXPECT_EQ(Memory.Values.at(CommittedBytesIndex), 1024u * 1024);

  const test::TDecodedObject& System = ObjectOf(Objects, SystemObjectIndex);
  EXPECT_EQ(System.Values.at(ContextSwitchesIndex), 777u);
  EXPECT_EQ(System.Values.at(ProcessorQueueLengthIndex), 2u);
}

// The tree has no process directories, disks, mounts, interfaces or swap areas: each
// of those objects holds its total alone (Network Interface has none), so none of them
// was read from this machine.
TEST_F(ProcRootTreeTest, ReadsNothingOutsideTheTree) {
  const auto Objects = QueryObjects(u"Global");
  EXPECT_TRUE(ObjectOf(Objects, NetworkInterfaceObjectIndex).Instances.empty());
  for (DWORD Index : {ProcessObjectIndex, PhysicalDiskObjectIndex, LogicalDiskObjectIndex,
                      PagingFileObjectIndex}) {
    SCOPED_TRACE(Index);
    const test::TDecodedObject& Object = ObjectOf(Objects, Index);
    ASSERT_EQ(Object.Instances.size(), 1u);
    EXPECT_NE(InstanceNamed(Object, "_Total"), nullptr);
  }
  EXPECT_EQ(ObjectOf(Objects, SystemObjectIndex).Values.at(ProcessesIndex), 0u);
}

}  // namespace
}  // namespace gaugery
