// Logs that a crash cut short or that were damaged afterwards: every sample that can be
// trusted still reads, equal to what was recorded, with one warning per damage.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "LogSamples.h"
#include "framework/Exceptions.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/CounterLogWriter.h"

namespace gaugery {
namespace {

using test::LogSample;

constexpr int kSamples = 130;

// A log of kSamples samples (full every 20) in memory, and the offset of every record
// after each sample, found by writing the log sample by sample.
class DamagedLogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Of this process alone: the suite's tests may run in processes of their own at once.
    const std::string File = ::testing::TempDir() + "gaugery-damaged-" +
                             std::to_string(std::random_device()()) + ".glog";
    {
      TCounterLogWriter Writer(File, test::LogMachine(), test::LogNames(), {.FullEvery = 20});
      SampleEnds_.push_back(Writer.BytesWritten());
      for (int Number = 1; Number <= kSamples; ++Number) {
        const test::TBlock Block = LogSample(Number);
        Writer.WriteSample(Block.Bytes.data(), Block.Size());
        SampleEnds_.push_back(Writer.BytesWritten());
      }
    }
    Log_ = test::FileBytes(File);
    std::remove(File.c_str());
  }

  // Reads Bytes whole: the numbers of the samples read (each checked against what was
  // recorded), and the warnings.
  static std::vector<int> Read(std::vector<BYTE> Bytes, std::vector<std::string>& Warnings) {
    TCounterLogReader Reader(std::move(Bytes), "log");
    std::vector<int> Numbers;
    for (TLogEntry Entry; Reader.Next(Entry);) {
      EXPECT_EQ(Entry.Block, LogSample(static_cast<int>(Entry.Number)).Bytes);
      Numbers.push_back(static_cast<int>(Entry.Number));
    }
    Warnings = Reader.TakeWarnings();
    return Numbers;
  }

  static std::vector<int> Range(int First, int Last) {
    std::vector<int> Numbers;
    for (int Number = First; Number <= Last; ++Number) Numbers.push_back(Number);
    return Numbers;
  }

  static inline std::vector<BYTE> Log_;
  static inline std::vector<std::uint64_t> SampleEnds_;
};

TEST_F(DamagedLogTest, ATornTailIsReportedOnceAndTheSamplesBeforeItRead) {
  for (int Whole : {0, 1, 59, 60, 129}) {
    const std::uint64_t Begin = SampleEnds_[Whole];
    const std::uint64_t End = SampleEnds_[Whole + 1];
    for (std::uint64_t Cut : {Begin + 1, Begin + 11, Begin + 12, (Begin + End) / 2, End - 1}) {
      std::vector<std::string> Warnings;
      const std::vector<int> Numbers = Read({Log_.begin(), Log_.begin() + Cut}, Warnings);
      EXPECT_EQ(Numbers, Range(1, Whole)) << "cut at " << Cut;
      ASSERT_EQ(Warnings.size(), 1u);
      EXPECT_EQ(Warnings[0],
                "\"log\": the log ends in a partial record after sample " + std::to_string(Whole));
    }
  }
}

TEST_F(DamagedLogTest, ATailOfZerosIsATornTail) {
  std::vector<BYTE> Bytes(Log_.begin(), Log_.begin() + SampleEnds_[50]);
  Bytes.resize(Bytes.size() + 100000, 0);
  std::vector<std::string> Warnings;
  EXPECT_EQ(Read(Bytes, Warnings), Range(1, 50));
  EXPECT_EQ(Warnings.size(), 1u);
}

// A flipped byte in sample 45: the samples stored against it (up to the next full one,
// 61) are lost, the others read, and one warning says where.
TEST_F(DamagedLogTest, AFlippedByteCostsTheSamplesUpToTheNextFullOne) {
  const std::uint64_t Begin = SampleEnds_[44];
  const std::uint64_t End = SampleEnds_[45];
  for (std::uint64_t At : {Begin, Begin + 5, Begin + 9, Begin + 30, End - 6, End - 1}) {
    std::vector<BYTE> Bytes = Log_;
    Bytes[At] ^= 0x10;
    std::vector<std::string> Warnings;
    std::vector<int> Expected = Range(1, 44);
    for (int Number : Range(61, kSamples)) Expected.push_back(Number);
    EXPECT_EQ(Read(Bytes, Warnings), Expected) << "byte " << At;
    ASSERT_EQ(Warnings.size(), 1u) << "byte " << At;
    EXPECT_NE(Warnings[0].find("reading resumes at the next full sample"), std::string::npos);
  }
}

TEST_F(DamagedLogTest, RandomDamageNeverYieldsAWrongSample) {
  std::mt19937 Random(23);
  for (int Round = 0; Round < 300; ++Round) {
    std::vector<BYTE> Bytes = Log_;
    const int Flips = 1 + Round % 5;
    for (int Flip = 0; Flip < Flips; ++Flip) {
      std::uniform_int_distribution<std::size_t> Where(0, Bytes.size() - 1);
      Bytes[Where(Random)] ^= static_cast<BYTE>(1 + Random() % 255);
    }
    try {
      TCounterLogReader Reader(Bytes, "log");
      Reader.Seek(test::LogSampleTime(1 + Round % kSamples));
      for (TLogEntry Entry; Reader.Next(Entry);) {
        if (Entry.Kind == TLogEntry::TKind::Sample) {
          ASSERT_EQ(Entry.Block, LogSample(static_cast<int>(Entry.Number)).Bytes)
              << "round " << Round;
        }
      }
    } catch (const Exception&) {
      // Damage in the header or names: refused with a message.
    }
  }
}

}  // namespace
}  // namespace gaugery
