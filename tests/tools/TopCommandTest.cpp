// gaugery top on replayed samples: the plain lines it prints when its output is not a
// terminal, one table per refresh.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ProcessSamples.h"
#include "ProgramRun.h"

namespace {

using namespace gaugery;
using namespace gaugery::testing;

std::string SavedBlock(const test::TBlock& Block, const std::string& Tag) {
  const std::string File =
      ::testing::TempDir() + "gaugery-top-" + Tag + "-" + std::to_string(getpid()) + ".blk";
  std::ofstream(File, std::ios::binary)
      .write(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Size());
  return File;
}

const std::string Captions =
    "Task name\tID Process\tElapsed Time\tThread Count\tHandle Count\tPage File Bytes\t"
    "Page File Bytes Peak\tPool Nonpaged Bytes\tWorking Set\n";

// Runs the program under the C locale, whose separators are "," for thousands and ":"
// in times.
ProgramRun RunInCLocale(const std::string& Arguments) {
  const char* const Saved = std::getenv("LC_ALL");
  const std::string Restored = Saved != nullptr ? Saved : "";
  setenv("LC_ALL", "C", 1);
  ProgramRun Run = RunGaugery(Arguments);
  if (Saved != nullptr) {
    setenv("LC_ALL", Restored.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  return Run;
}

TEST(GaugeryTop, PrintsOneTablePerRefreshFollowingTheProcesses) {
  const TProcessSample Init{.Name = "init",
                            .Id = 1,
                            .RunningSeconds = 93784,
                            .Threads = 2,
                            .Handles = 7,
                            .PageFileBytes = 1 << 20,
                            .PageFileBytesPeak = 1 << 21,
                            .PoolNonpagedBytes = 4096,
                            .WorkingSet = 123456789};
  TProcessSample Later = Init;
  Later.RunningSeconds += 1;
  const std::string Three = SavedBlock(
      ProcessBlock({Init,
                    {.Name = "shell", .Id = 1234, .RunningSeconds = 59, .WorkingSet = 999},
                    {.Name = "shell", .Id = 1235, .RunningSeconds = 3600}}),
      "three");
  const std::string One = SavedBlock(ProcessBlock({Later}), "one");
  const ProgramRun Run = RunInCLocale("--replay " + Three + " --replay " + One + " top --count 2");
  std::remove(Three.c_str());
  std::remove(One.c_str());

  EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_EQ(Run.Out, Captions +
                         "init\t1\t02:03:04\t2\t7\t1,048,576\t2,097,152\t4,096\t123,456,789\n"
                         "shell\t1,234\t00:00:59\t1\t0\t0\t0\t0\t999\n"
                         "shell\t1,235\t01:00:00\t1\t0\t0\t0\t0\t0\n" +
                         Captions +
                         "init\t1\t02:03:05\t2\t7\t1,048,576\t2,097,152\t4,096\t123,456,789\n");
}

TEST(GaugeryTop, ReportsAFailingRefresh) {
  const std::string NoProcesses = SavedBlock(BlockWithoutProcesses(), "none");
  const ProgramRun Run = RunGaugery("--replay " + NoProcesses + " top --count 1");
  std::remove(NoProcesses.c_str());
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_EQ(Run.Out, "");
  EXPECT_EQ(Run.Err, "Invalid performance object name\n");
  EXPECT_EQ(RunGaugery("top --count 0").ExitCode, 2);
}

}  // namespace
