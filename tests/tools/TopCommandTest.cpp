// gaugery top on replayed samples: the plain lines it prints when its output is not a
// terminal, one table per refresh.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ProgramRun.h"

namespace {

using namespace gaugery;
using namespace gaugery::test;

constexpr std::int64_t Now = 133'600'000'000'000'000;
constexpr std::int64_t Freq = 10'000'000;

struct Process {
  std::string Name;
  std::int64_t Id;
  std::int64_t RunningSeconds;
  std::int64_t WorkingSet;
};

// Only the counters of the table, in the order of the live provider's title indexes.
TBlock ProcessBlock(const std::vector<Process>& Processes) {
  TObjectSpec Object{.NameIndex = 230,
                     .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                  {.NameIndex = 684, .Type = PERF_ELAPSED_TIME, .Size = 8},
                                  {.NameIndex = 680, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                  {.NameIndex = 952, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                  {.NameIndex = 184},
                                  {.NameIndex = 182},
                                  {.NameIndex = 58, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                  {.NameIndex = 180}},
                     .HasInstances = true,
                     .PerfTime = Now,
                     .PerfFreq = Freq};
  for (const Process& P : Processes) {
    Object.Instances.push_back({.Name = P.Name,
                                .Values = {P.Id, Now - P.RunningSeconds * Freq, 2, 7, 1 << 20,
                                           1 << 21, 4096, P.WorkingSet}});
  }
  return BuildBlock({.Objects = {Object}});
}

std::string SavedBlock(const TBlock& Block, const std::string& Tag) {
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
  const std::string Three = SavedBlock(
      ProcessBlock(
          {{"init", 1, 93784, 123456789}, {"shell", 1234, 59, 999}, {"shell", 1235, 3600, 0}}),
      "three");
  const std::string One = SavedBlock(ProcessBlock({{"init", 1, 93785, 123456789}}), "one");
  // The snapshot takes a sample of its own when it is created, before the first refresh.
  const ProgramRun Run = RunInCLocale("--replay " + Three + " --replay " + Three + " --replay " +
                                      One + " top --count 2");
  std::remove(Three.c_str());
  std::remove(One.c_str());

  EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_EQ(Run.Out, Captions +
                         "init\t1\t02:03:04\t2\t7\t1,048,576\t2,097,152\t4,096\t123,456,789\n"
                         "shell\t1,234\t00:00:59\t2\t7\t1,048,576\t2,097,152\t4,096\t999\n"
                         "shell\t1,235\t01:00:00\t2\t7\t1,048,576\t2,097,152\t4,096\t0\n" +
                         Captions +
                         "init\t1\t02:03:05\t2\t7\t1,048,576\t2,097,152\t4,096\t123,456,789\n");
}

TEST(GaugeryTop, ReportsAFailingRefresh) {
  const std::string NoProcesses = SavedBlock(
      BuildBlock({.Objects = {{.NameIndex = 4, .Counters = {{.NameIndex = 24}}}}}), "none");
  const ProgramRun Run = RunGaugery("--replay " + NoProcesses + " top --count 1");
  std::remove(NoProcesses.c_str());
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_EQ(Run.Out, "");
  EXPECT_EQ(Run.Err, "Invalid performance object name\n");
  EXPECT_EQ(RunGaugery("top --count 0").ExitCode, 2);
}

}  // namespace
