// Logs in several volumes: a reader given FILE reads FILE, FILE.1, ... in turn, whichever
// of the oldest were removed, and a damaged volume is skipped with a warning.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "LogSamples.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/CounterLogWriter.h"

namespace gaugery {
namespace {

class CounterLogVolumesTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(Folder_); }
  void TearDown() override { std::filesystem::remove_all(Folder_); }

  void Record(int First, int Last, TLogWriterOptions Options) {
    TCounterLogWriter Writer(File_, test::LogMachine(), test::LogNames(), Options);
    for (int Number = First; Number <= Last; ++Number) {
      if (Number == 90) Writer.WriteNames(test::LogNames(1));
      const test::TBlock Block = test::LogSample(Number);
      Writer.WriteSample(Block.Bytes.data(), Block.Size());
    }
  }

  bool Exists(const std::string& Suffix) const { return std::filesystem::exists(File_ + Suffix); }

  // The numbers read from File_, each block checked against the one recorded.
  std::vector<int> ReadNumbers(TCounterLogReader& Reader) {
    std::vector<int> Numbers;
    for (TLogEntry Entry; Reader.Next(Entry);) {
      EXPECT_EQ(Entry.Block, test::LogSample(static_cast<int>(Entry.Number)).Bytes);
      Numbers.push_back(static_cast<int>(Entry.Number));
    }
    return Numbers;
  }

  static std::vector<int> Range(int First, int Last) {
    std::vector<int> Numbers;
    for (int Number = First; Number <= Last; ++Number) Numbers.push_back(Number);
    return Numbers;
  }

  const std::string Folder_ = ::testing::TempDir() + "gaugery-volumes-" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string File_ = Folder_ + "/day.glog";
};

TEST_F(CounterLogVolumesTest, AReaderReadsEveryVolumeInTurn) {
  Record(1, 200, {.FullEvery = 20, .MaxVolumeBytes = 6000});
  ASSERT_TRUE(Exists(".3"));
  TCounterLogReader Reader(File_);
  EXPECT_EQ(ReadNumbers(Reader), Range(1, 200));
  EXPECT_EQ(Reader.Names(), test::LogNames(1));
  EXPECT_TRUE(Reader.TakeWarnings().empty());
  EXPECT_EQ(Reader.Extent().Samples, 200u);
  EXPECT_EQ(Reader.Extent().FirstTime, test::LogSampleTime(1));

  Reader.Seek(test::LogSampleTime(170));
  TLogEntry Entry;
  ASSERT_TRUE(Reader.Next(Entry));
  EXPECT_EQ(Entry.Number, 170u);
  Reader.Seek(test::LogSampleTime(5));
  ASSERT_TRUE(Reader.Next(Entry));
  EXPECT_EQ(Entry.Number, 5u);
  EXPECT_EQ(Reader.Names(), test::LogNames()) << "the first volume's names";
}

// Numbers go on from volume to volume: seeking one finds it in its volume, whichever
// of the oldest volumes were removed.
TEST_F(CounterLogVolumesTest, SeeksANumberInTheVolumeThatHoldsIt) {
  for (unsigned Keep : {0u, 2u}) {
    SCOPED_TRACE("keeping " + std::to_string(Keep));
    Record(1, 200, {.FullEvery = 20, .MaxVolumeBytes = 6000, .KeepVolumes = Keep});
    TCounterLogReader Reader(File_);
    const std::vector<int> Walked = ReadNumbers(Reader);
    ASSERT_GT(Walked.size(), 20u);
    EXPECT_EQ(Reader.Extent().FirstNumber, static_cast<std::uint64_t>(Walked.front()));
    EXPECT_EQ(Reader.Extent().LastNumber, 200u);
    TLogEntry Entry;
    for (std::size_t At : {Walked.size() - 1, Walked.size() / 2, std::size_t{0}, std::size_t{7}}) {
      Reader.SeekNumber(static_cast<std::uint64_t>(Walked[At]));
      ASSERT_TRUE(Reader.Next(Entry));
      EXPECT_EQ(Entry.Number, static_cast<std::uint64_t>(Walked[At]));
      EXPECT_EQ(Entry.Block, test::LogSample(Walked[At]).Bytes);
      EXPECT_EQ(Reader.Names(), test::LogNames(Walked[At] >= 90 ? 1 : 0));
    }
    Reader.SeekNumber(1);
    ASSERT_TRUE(Reader.Next(Entry));
    EXPECT_EQ(Entry.Number, static_cast<std::uint64_t>(Walked.front())) << "before the first";
    Reader.SeekNumber(static_cast<std::uint64_t>(Walked[3]));
    EXPECT_EQ(ReadNumbers(Reader), Range(Walked[3], 200)) << "reading on into the later volumes";
  }
}

TEST_F(CounterLogVolumesTest, KeepsTheNewestVolumesOnly) {
  Record(1, 200, {.FullEvery = 20, .MaxVolumeBytes = 6000, .KeepVolumes = 2});
  EXPECT_FALSE(Exists(""));
  EXPECT_FALSE(Exists(".1"));
  TCounterLogReader Reader(File_);
  const std::vector<int> Numbers = ReadNumbers(Reader);
  ASSERT_FALSE(Numbers.empty());
  EXPECT_GT(Numbers.front(), 1);
  EXPECT_EQ(Numbers, Range(Numbers.front(), 200));
}

TEST_F(CounterLogVolumesTest, ANewLogReplacesTheVolumesOfAnOldOne) {
  Record(1, 200, {.MaxVolumeBytes = 6000});
  Record(1, 10, {});
  EXPECT_FALSE(Exists(".1"));
  TCounterLogReader Reader(File_);
  EXPECT_EQ(ReadNumbers(Reader), Range(1, 10));
}

TEST_F(CounterLogVolumesTest, ADamagedVolumeIsSkippedWithAWarning) {
  {
    TCounterLogWriter Writer(File_, test::LogMachine(), test::LogNames());
    for (int Number = 1; Number <= 30; ++Number) {
      if (Number % 10 == 1 && Number > 1) Writer.StartVolume();
      const test::TBlock Block = test::LogSample(Number);
      Writer.WriteSample(Block.Bytes.data(), Block.Size());
    }
  }
  test::WriteFileBytes(File_ + ".1", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'o', 'g'});
  TCounterLogReader Reader(File_);
  std::vector<int> Expected = Range(1, 10);
  for (int Number : Range(21, 30)) Expected.push_back(Number);
  EXPECT_EQ(ReadNumbers(Reader), Expected);
  EXPECT_EQ(
      Reader.TakeWarnings(),
      std::vector<std::string>{"\"" + File_ + ".1\" is not a counter log; the volume is skipped"});
}

}  // namespace
}  // namespace gaugery
