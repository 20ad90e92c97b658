// Counting a process's descriptors by the size of its fd directory where the kernel
// gives it, by listing the directory where it does not; and the per-process files
// opened relative to /proc, in this machine's /proc and in a tree laid out like it.
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "perf/proc/DescriptorCount.h"
#include "perf/proc/ProcProcesses.h"
#include "perf/proc/ProcThreads.h"

namespace gaugery {
namespace {

// Linux 6.2 and later give the number of descriptors as the size of /proc/<pid>/fd.
bool KernelGivesDescriptorCount() {
  utsname Name;
  int Major = 0, Minor = 0;
  if (uname(&Name) != 0 || std::sscanf(Name.release, "%d.%d", &Major, &Minor) != 2) return false;
  return Major > 6 || (Major == 6 && Minor >= 2);
}

// Entries of /proc/self/fd as another reader lists them (its own descriptor among them).
std::uint64_t ListedDescriptors() {
  std::uint64_t Entries = 0;
  for ([[maybe_unused]] const auto& Entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++Entries;
  return Entries;
}

// Pipes held open for the length of a test.
class TOpenPipes {
 public:
  explicit TOpenPipes(int Count) {
    for (int I = 0; I < Count; ++I) {
      int Ends[2];
      if (pipe(Ends) == 0) Fds_.insert(Fds_.end(), {Ends[0], Ends[1]});
    }
  }
  ~TOpenPipes() {
    for (int Fd : Fds_) close(Fd);
  }
  std::size_t Descriptors() const { return Fds_.size(); }

 private:
  std::vector<int> Fds_;
};

std::uint64_t OwnHandles(TProcessSampler& Sampler) {
  Sampler.ListProcesses();
  TProcessSample Sample;
  EXPECT_TRUE(Sampler.Read(static_cast<std::uint32_t>(getpid()), TSampleClock::Read(), Sample));
  Sampler.Commit();
  return Sample.Handles;
}

TEST(DescriptorCountLiveTest, ThisKernelsSizesCountWhereItGivesThem) {
  TDirectoryReader Directories;
  EXPECT_EQ(SizeCountsDescriptors(TProcRoot(), Directories), KernelGivesDescriptorCount());
}

// Both ways count the same descriptors of another process; of this one, the size sees
// the /proc directory held open for the sample, as the listing of the fd directory by
// path did its own.
TEST(DescriptorCountLiveTest, SizeAndListingAgreeAndFollowOpenDescriptors) {
  if (!KernelGivesDescriptorCount()) GTEST_SKIP() << "the kernel gives no descriptor count";
  TDirectoryReader Directories;
  const TDescriptorCounter BySize(true), ByListing(false);
  const TDirectoryHandle Init(TProcRoot().ProcessDirectory(1).Text());
  if (ByListing.Count(Init.Fd(), "fd", Directories) > 0) {
    EXPECT_EQ(BySize.Count(Init.Fd(), "fd", Directories),
              ByListing.Count(Init.Fd(), "fd", Directories));
  }

  TProcessSampler Sampler;
  const std::uint64_t Before = OwnHandles(Sampler);
  EXPECT_EQ(Before, ListedDescriptors());
  const TOpenPipes Pipes(7);
  EXPECT_EQ(OwnHandles(Sampler), Before + Pipes.Descriptors());
}

TEST(DescriptorCountLiveTest, AVanishedProcessHasNone) {
  TDirectoryReader Directories;
  const TDirectoryHandle Gone(TProcRoot().Path("/proc/no-such-process").Text());
  EXPECT_LT(Gone.Fd(), 0);
  EXPECT_EQ(TDescriptorCounter(true).Count(Gone.Fd(), "fd", Directories), 0u);
  EXPECT_EQ(TDescriptorCounter(false).Count(Gone.Fd(), "fd", Directories), 0u);
}

// A tree with one process (pid 42, two threads) and, where a test writes it, a
// /proc/self/fd.
class DescriptorCountTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One tree per test process: ctest runs the tests of this fixture side by side.
    Root_ = std::filesystem::path(::testing::TempDir()) /
            ("gaugery-descriptor-tree-" + std::to_string(getpid()));
    std::filesystem::remove_all(Root_);
    Write("proc/42/stat", "42 (fake) S 1 42 42 0 -1 0 100 0 2 0 5 3 0 0 20 0 2 0 1000 0 0\n");
    Write("proc/42/status", "Name:\tfake\nVmSize:\t2048 kB\nVmRSS:\t1024 kB\n");
    Write("proc/42/io", "rchar: 4096\nwchar: 512\nsyscr: 7\nsyscw: 3\n");
    for (const char* Fd : {"0", "1", "2", "5"}) Write(std::string("proc/42/fd/") + Fd, "");
    Write("proc/42/task/42/stat",
          "42 (fake) S 1 42 42 0 -1 0 100 0 2 0 5 3 0 0 20 0 2 0 1000 0 0\n");
    Write("proc/42/task/42/status",
          "voluntary_ctxt_switches:\t10\nnonvoluntary_ctxt_switches:\t5\n");
    Write("proc/42/task/43/stat",
          "43 (worker) R 1 42 42 0 -1 0 0 0 0 0 1 1 0 0 20 0 2 0 1001 0 0\n");
    Write("proc/42/task/43/status",
          "voluntary_ctxt_switches:\t1\nnonvoluntary_ctxt_switches:\t2\n");
  }
  void TearDown() override { std::filesystem::remove_all(Root_); }

  void Write(const std::string& Relative, const std::string& Text) const {
    std::filesystem::create_directories((Root_ / Relative).parent_path());
    std::ofstream(Root_ / Relative) << Text;
  }
  TProcRoot Root() const { return TProcRoot(Root_.string()); }

 private:
  std::filesystem::path Root_;
};

// The tree's directory sizes are its file system's, not descriptor counts: with
// entries or without, it is listed.
TEST_F(DescriptorCountTreeTest, ATreeThatIsNotTheKernelsIsListed) {
  TDirectoryReader Directories;
  EXPECT_FALSE(SizeCountsDescriptors(Root(), Directories));
  for (const char* Fd : {"0", "1", "2"}) Write(std::string("proc/self/fd/") + Fd, "");
  EXPECT_FALSE(SizeCountsDescriptors(Root(), Directories));

  TProcessSampler Sampler(Root());
  Sampler.ListProcesses();
  TProcessSample Sample;
  ASSERT_TRUE(Sampler.Read(42, TSampleClock::Read(), Sample));
  EXPECT_EQ(Sample.Handles, 4u);
}

TEST_F(DescriptorCountTreeTest, EveryFileOfAProcessIsReadInItsDirectory) {
  TProcessSampler Sampler(Root());
  Sampler.ListProcesses();
  ASSERT_EQ(Sampler.Pids().size(), 1u);
  TProcessSample Sample;
  ASSERT_TRUE(Sampler.Read(42, TSampleClock::Read(), Sample));
  EXPECT_EQ(Sample.Name, "fake");
  EXPECT_EQ(Sample.PageFaults, 102u);
  EXPECT_EQ(Sample.VirtualBytes, 2048u * 1024);
  EXPECT_EQ(Sample.WorkingSet, 1024u * 1024);
  EXPECT_EQ(Sample.ReadBytes, 4096u);
  EXPECT_EQ(Sample.WriteOperations, 3u);
  EXPECT_FALSE(Sampler.Read(43, TSampleClock::Read(), Sample));
}

// The task directory is listed once and each thread's files are opened in it; a
// process without one lists no threads and reads none.
TEST_F(DescriptorCountTreeTest, EveryFileOfAThreadIsReadInItsTaskDirectory) {
  TThreadSampler Sampler(Root());
  ASSERT_TRUE(Sampler.ListThreads(42));
  ASSERT_EQ(Sampler.Tids().size(), 2u);
  TThreadSample Sample;
  ASSERT_TRUE(Sampler.Read(42, 42, TSampleClock::Read(), Sample));
  EXPECT_EQ(Sample.ContextSwitches, 15u);
  ASSERT_TRUE(Sampler.Read(42, 43, TSampleClock::Read(), Sample));
  EXPECT_EQ(Sample.Tid, 43u);
  EXPECT_EQ(Sample.ContextSwitches, 3u);
  EXPECT_EQ(Sampler.InstanceName(43), "fake/43");
  EXPECT_FALSE(Sampler.ListThreads(7));
  EXPECT_FALSE(Sampler.Read(7, 43, TSampleClock::Read(), Sample));
}

}  // namespace
}  // namespace gaugery
