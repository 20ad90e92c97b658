// A recorder killed with SIGKILL at random moments: after each kill every sample up to
// the last complete one reads, equal to what was recorded.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "LogSamples.h"
#include "framework/Exceptions.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/CounterLogWriter.h"

namespace gaugery {
namespace {

[[noreturn]] void RecordUntilKilled(const std::string& File) {
  TCounterLogWriter Writer(File, test::LogMachine(), test::LogNames(),
                           {.FullEvery = 20, .IndexEvery = 2});
  for (int Number = 1; Number < 100000; ++Number) {
    const test::TBlock Block = test::LogSample(Number);
    Writer.WriteSample(Block.Bytes.data(), Block.Size());
    if (Number % 7 == 0) Writer.WriteGap(test::LogSampleTime(Number), "refused");
    usleep(100);
  }
  _exit(0);
}

TEST(CounterLogKill, EveryCompleteSampleSurvivesAKill) {
  const std::string File = ::testing::TempDir() + "gaugery-killed.glog";
  std::mt19937 Random(50);
  std::uint64_t Read = 0;
  for (int Round = 0; Round < 50; ++Round) {
    const pid_t Child = fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) RecordUntilKilled(File);
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + Random() % 40000));
    kill(Child, SIGKILL);
    int Status = 0;
    waitpid(Child, &Status, 0);
    ASSERT_TRUE(WIFSIGNALED(Status));

    try {
      TCounterLogReader Reader(File);
      std::uint64_t Last = 0;
      for (TLogEntry Entry; Reader.Next(Entry);) {
        if (Entry.Kind == TLogEntry::TKind::Gap) continue;
        ASSERT_EQ(Entry.Number, Last + 1) << "round " << Round;
        ASSERT_EQ(Entry.Block, test::LogSample(static_cast<int>(Entry.Number)).Bytes);
        Last = Entry.Number;
      }
      EXPECT_LE(Reader.TakeWarnings().size(), 1u) << "a torn tail at most";
      EXPECT_EQ(Reader.Extent().Samples, Last) << "the rebuilt index counts what reads";
      Read += Last;
    } catch (const Exception& Error) {
      // Killed before its names were written: the only message allowed.
      EXPECT_NE(std::string(Error.Message()).find("truncated"), std::string::npos)
          << Error.Message();
    }
  }
  EXPECT_GT(Read, 500u) << "the recorders wrote before they were killed";
  std::remove(File.c_str());
}

}  // namespace
}  // namespace gaugery
