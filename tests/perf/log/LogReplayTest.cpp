// Counter logs served by the replay provider through the registry calls: sample after
// sample exactly as recorded, inside a window of times, with the log's own names.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "LogSamples.h"
#include "framework/Unicode.h"
#include "perf/ReplayProvider.h"
#include "perf/log/CounterLogWriter.h"
#include "registry/Registry.h"

namespace gaugery {
namespace {

constexpr std::int64_t kAlways = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

class LogReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TCounterLogWriter Writer(File_, test::LogMachine(), test::LogNames(1));
    for (int Number = 1; Number <= 30; ++Number) {
      const test::TBlock Block = test::LogSample(Number);
      Writer.WriteSample(Block.Bytes.data(), Block.Size());
      if (Number == 5) Writer.WriteGap(test::LogSampleTime(5) + 1, "refused");
    }
  }
  void TearDown() override {
    RestoreDefaultPerfProviders();
    std::remove(File_.c_str());
  }

  static std::vector<BYTE> Query(const std::string& ValueName, DWORD Size = 1 << 16) {
    std::vector<BYTE> Bytes(Size);
    const LONG Result = RegQueryValueExW(HKEY_PERFORMANCE_DATA, ToWide(ValueName).c_str(), nullptr,
                                         nullptr, Bytes.data(), &Size);
    Bytes.resize(Result == ERROR_SUCCESS ? Size : 0);
    return Bytes;
  }

  static std::string PerflibCounter(const std::string& Locale) {
    const std::string Key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib\\" + Locale;
    HKEY Handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToWide(Key).c_str(), 0, KEY_READ, &Handle) != 0)
      return "";
    std::vector<BYTE> Value(1 << 16);
    DWORD Size = static_cast<DWORD>(Value.size());
    RegQueryValueExW(Handle, ToWide("Counter").c_str(), nullptr, nullptr, Value.data(), &Size);
    RegCloseKey(Handle);
    std::string Text;
    for (DWORD At = 0; At + 1 < Size; At += 2)
      Text.push_back(Value[At] == 0 ? '|' : static_cast<char>(Value[At]));
    return Text;
  }

  const std::string File_ = ::testing::TempDir() + "gaugery-log-replay-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                            ".glog";
};

TEST_F(LogReplayTest, ServesEverySampleInTurnThenRepeatsTheLast) {
  EXPECT_TRUE(IsCounterLogFile(File_));
  SetPerfProviders({LogReplayProvider(File_, kAlways, kNever)});
  for (int Number = 1; Number <= 30; ++Number) {
    ASSERT_EQ(Query("Global"), test::LogSample(Number).Bytes) << "sample " << Number;
  }
  EXPECT_EQ(Query("Global"), test::LogSample(30).Bytes);
  RestartReplay();
  EXPECT_EQ(Query("Global"), test::LogSample(1).Bytes);
  EXPECT_TRUE(Query("Global", 100).empty()) << "too small";
  EXPECT_EQ(Query("Global"), test::LogSample(2).Bytes) << "a query short of space does not move on";
  EXPECT_TRUE(TakeReplayWarnings().empty());
}

TEST_F(LogReplayTest, ServesTheWindowOfTimesAskedFor) {
  SetPerfProviders({LogReplayProvider(File_, test::LogSampleTime(10), test::LogSampleTime(12))});
  EXPECT_EQ(Query("Global"), test::LogSample(10).Bytes);
  EXPECT_EQ(Query("Global"), test::LogSample(11).Bytes);
  EXPECT_EQ(Query("Global"), test::LogSample(12).Bytes);
  EXPECT_EQ(Query("Global"), test::LogSample(12).Bytes);
  RestartReplay();
  EXPECT_EQ(Query("Global"), test::LogSample(10).Bytes);
  EXPECT_EQ(testing::ErrorOf([&] { LogReplayProvider(File_, test::LogSampleTime(31), kNever); }),
            "No sample of \"" + File_ + "\" to replay in the times asked for");
}

TEST_F(LogReplayTest, TheRegistryNamesWhatTheLogNames) {
  SetPerfProviders({LogReplayProvider(File_, kAlways, kNever)});
  EXPECT_NE(PerflibCounter("007").find("|230|Vorgang|"), std::string::npos)
      << PerflibCounter("007");
  EXPECT_NE(PerflibCounter("009").find("|230|Process|"), std::string::npos);
}

TEST_F(LogReplayTest, ACaptureIsNotALogAndATornLogWarns) {
  const test::TBlock Block = test::LogSample(1);
  test::WriteFileBytes(File_ + ".blk", Block.Bytes);
  EXPECT_FALSE(IsCounterLogFile(File_ + ".blk"));
  std::remove((File_ + ".blk").c_str());

  std::vector<BYTE> Torn = test::FileBytes(File_);
  Torn.resize(Torn.size() - 200);
  test::WriteFileBytes(File_, Torn);
  SetPerfProviders({LogReplayProvider(File_, kAlways, kNever)});
  for (int Query = 0; Query < 40; ++Query) LogReplayTest::Query("Global");
  const std::vector<std::string> Warnings = TakeReplayWarnings();
  ASSERT_EQ(Warnings.size(), 1u);
  EXPECT_NE(Warnings[0].find("the log ends in a partial record after sample"), std::string::npos);

  // Read again from the start, the same torn end is not reported again.
  RestartReplay();
  for (int Query = 0; Query < 40; ++Query) LogReplayTest::Query("Global");
  EXPECT_TRUE(TakeReplayWarnings().empty());
}

TEST_F(LogReplayTest, DamageInTheMiddleIsReportedOnceHoweverOftenItIsRead) {
  std::vector<BYTE> Damaged = test::FileBytes(File_);
  for (std::size_t At = Damaged.size() / 2; At < Damaged.size() / 2 + 16; ++At) Damaged[At] ^= 0xff;
  test::WriteFileBytes(File_, Damaged);
  SetPerfProviders({LogReplayProvider(File_, kAlways, kNever)});
  for (int Query = 0; Query < 40; ++Query) LogReplayTest::Query("Global");
  const std::vector<std::string> Warnings = TakeReplayWarnings();
  ASSERT_FALSE(Warnings.empty());
  for (int Pass = 0; Pass < 2; ++Pass) {
    RestartReplay();
    for (int Query = 0; Query < 40; ++Query) LogReplayTest::Query("Global");
    EXPECT_EQ(TakeReplayWarnings(), std::vector<std::string>{}) << "read again from its start";
  }
}

TEST_F(LogReplayTest, SkippingPassesOverSamplesAndTheEndShows) {
  SetPerfProviders({LogReplayProvider(File_, kAlways, kNever)});
  EXPECT_EQ(Query("Global"), test::LogSample(1).Bytes);
  SkipReplayedSamples(2);
  EXPECT_EQ(Query("Global"), test::LogSample(4).Bytes);
  // The gap after sample 5 is passed over, not counted.
  SkipReplayedSamples(1);
  EXPECT_EQ(Query("Global"), test::LogSample(6).Bytes);
  SkipReplayedSamples(1000000);
  EXPECT_TRUE(ReplayedLogEnded());
  EXPECT_EQ(Query("Global"), test::LogSample(30).Bytes);
  RestartReplay();
  EXPECT_FALSE(ReplayedLogEnded());
  SkipReplayedSamples(29);
  EXPECT_FALSE(ReplayedLogEnded()) << "sample 30 is yet to be served";
  EXPECT_EQ(Query("Global"), test::LogSample(30).Bytes);
  EXPECT_TRUE(ReplayedLogEnded());
}

// Counted by numbers, the samples of the window; the window's first is served next.
TEST_F(LogReplayTest, CountsTheSamplesOfTheWindow) {
  SetPerfProviders({LogReplayProvider(File_, kAlways, kNever)});
  Query("Global");
  EXPECT_EQ(ReplayedSampleCount(), 30u);
  EXPECT_EQ(Query("Global"), test::LogSample(1).Bytes);
  SetPerfProviders({LogReplayProvider(File_, test::LogSampleTime(4), test::LogSampleTime(12) + 1)});
  EXPECT_EQ(ReplayedSampleCount(), 9u);
  SkipReplayedSamples(8);
  EXPECT_EQ(Query("Global"), test::LogSample(12).Bytes);
  EXPECT_TRUE(ReplayedLogEnded());
}

// Samples handed over one by one: each served until the next, with the log's names; a
// block without a sound header is refused and the one served stays.
TEST_F(LogReplayTest, ServesTheSamplesItIsHandedWithTheNamesGiven) {
  SetPerfProviders({LogSampleProvider(test::LogSample(3).Bytes, test::LogNames(1))});
  EXPECT_EQ(Query("Global"), test::LogSample(3).Bytes);
  EXPECT_EQ(Query("Global"), test::LogSample(3).Bytes);
  EXPECT_NE(PerflibCounter("007").find("|230|Vorgang|"), std::string::npos);
  ServeReplayBlock(test::LogSample(4).Bytes);
  EXPECT_EQ(Query("Global"), test::LogSample(4).Bytes);
  std::vector<BYTE> Cut = test::LogSample(5).Bytes;
  Cut.resize(Cut.size() / 2);
  EXPECT_NE(testing::ErrorOf([&] { ServeReplayBlock(Cut); }), "");
  EXPECT_EQ(Query("Global"), test::LogSample(4).Bytes);
}

// Positions and times within the window, found through the index; the window's first
// sample is served after each.
TEST_F(LogReplayTest, FindsTheWindowsExtentAndTheSampleAtATime) {
  SetPerfProviders({LogReplayProvider(File_, test::LogSampleTime(4), test::LogSampleTime(12))});
  const TReplayedWindow Window = ReplayedLogWindow();
  EXPECT_EQ(Window.Samples, 9u);
  EXPECT_EQ(Window.FirstTime, test::LogSampleTime(4));
  EXPECT_EQ(Window.LastTime, test::LogSampleTime(12));
  EXPECT_EQ(Query("Global"), test::LogSample(4).Bytes);
  EXPECT_EQ(ReplayedSampleAt(kAlways), 1u);
  EXPECT_EQ(ReplayedSampleAt(test::LogSampleTime(4)), 1u);
  EXPECT_EQ(ReplayedSampleAt(test::LogSampleTime(7)), 4u);
  // Between two samples, and past the gap after sample 5: the next one.
  EXPECT_EQ(ReplayedSampleAt(test::LogSampleTime(7) + 1), 5u);
  EXPECT_EQ(ReplayedSampleAt(test::LogSampleTime(5) + 2), 3u);
  EXPECT_EQ(ReplayedSampleAt(test::LogSampleTime(20)), 9u) << "past the window: its last";
  EXPECT_EQ(ReplayedSampleAt(kNever), 9u);
  EXPECT_EQ(Query("Global"), test::LogSample(4).Bytes);
}

TEST_F(LogReplayTest, BlocksHaveNoWindowOrPositions) {
  SetPerfProviders({ReplayProvider({test::LogSample(1).Bytes})});
  EXPECT_EQ(ReplayedLogWindow().Samples, 0u);
  EXPECT_EQ(ReplayedSampleAt(0), 0u);
}

}  // namespace
}  // namespace gaugery
