// gaugery record, run as its user runs it: samples recorded from replayed captures (or a
// served machine) read back with --replay and the log reader, the signals that close the
// log or start a volume, volumes by size, gaps where no sample came, the window of
// --begin and --end, and option values refused.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BlockBuilder.h"
#include "ProgramRun.h"
#include "ServeProcess.h"
#include "perf/log/CounterLogReader.h"

namespace {

using namespace gaugery;

// A log file of this process's own, removed with its volumes at the end of the test.
class TLogFile {
 public:
  TLogFile()
      : Path_("/tmp/gaugery-record-" + std::to_string(getpid()) + "-" + std::to_string(Made_++) +
              ".glog") {}
  ~TLogFile() {
    for (int Volume = 0; Volume < 64; ++Volume)
      std::remove(Volume == 0 ? Path_.c_str() : VolumePath(Volume).c_str());
  }
  TLogFile(const TLogFile&) = delete;
  TLogFile& operator=(const TLogFile&) = delete;

  const std::string& Path() const { return Path_; }
  std::string VolumePath(int Number) const { return Path_ + "." + std::to_string(Number); }

 private:
  static inline int Made_ = 0;
  std::string Path_;
};

test::TBlock ProcessBlock(WORD Second, int Work) {
  test::TObjectSpec Processes{.NameIndex = 230,
                              .Counters = {{.NameIndex = 6, .Type = PERF_100NSEC_TIMER, .Size = 8},
                                           {.NameIndex = 784, .Size = 4}},
                              .HasInstances = true};
  for (int Instance = 0; Instance < 3; ++Instance) {
    Processes.Instances.push_back({.Name = "proc" + std::to_string(Instance),
                                   .Values = {Work * (Instance + 1), 100 + Instance},
                                   .UniqueID = Instance + 1});
  }
  return test::BuildBlock(
      {.Objects = {Processes}, .SystemTime = {2024, 5, 0, 5, 12, 0, Second, 0}});
}

struct TReadBack {
  std::vector<TLogEntry> Entries;
  std::vector<std::string> Warnings;
};

TReadBack ReadLog(const std::string& File) {
  TCounterLogReader Reader(File);
  TReadBack Read;
  for (TLogEntry Entry; Reader.Next(Entry);) Read.Entries.push_back(Entry);
  Read.Warnings = Reader.TakeWarnings();
  return Read;
}

std::size_t SampleCount(const TReadBack& Read) {
  std::size_t Samples = 0;
  for (const TLogEntry& Entry : Read.Entries) Samples += Entry.Kind == TLogEntry::TKind::Sample;
  return Samples;
}

// Waits up to ten seconds for the log being recorded to hold Samples samples.
bool WaitForSamples(const std::string& File, std::size_t Samples) {
  for (int Try = 0; Try < 200; ++Try) {
    if (std::filesystem::exists(File)) {
      try {
        if (SampleCount(ReadLog(File)) >= Samples) return true;
      } catch (const std::exception&) {
        // The header is not written yet.
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST(RecordCommand, RecordedSamplesReplayAsTheBlocksTheyWere) {
  TCaptureFiles Captures;
  const test::TBlock First = ProcessBlock(0, 10);
  const test::TBlock Second = ProcessBlock(1, 25);
  const std::string Replays = Captures.Replay(First) + Captures.Replay(Second);
  TLogFile Log;
  const ProgramRun Record = RunGaugery(Replays + "record --count 3 --interval 0.01 " + Log.Path());
  ASSERT_EQ(Record.ExitCode, 0) << Record.Err;
  EXPECT_NE(Record.Err.find("gaugery record: 3 samples, "), std::string::npos) << Record.Err;
  EXPECT_NE(Record.Err.find(" bytes per sample\n"), std::string::npos) << Record.Err;

  const TReadBack Read = ReadLog(Log.Path());
  EXPECT_TRUE(Read.Warnings.empty());
  ASSERT_EQ(SampleCount(Read), 3U);
  EXPECT_EQ(Read.Entries[0].Block, First.Bytes);
  EXPECT_EQ(Read.Entries[2].Block, Second.Bytes);

  // What a command shows of the log is what it shows of the blocks recorded, names
  // included: the log carries the tables the machine held.
  for (const std::string Command : {"dump", "read Process \"% Processor Time\" \"ID Process\""}) {
    const ProgramRun FromCapture = RunGaugery(Captures.Replay(First) + Command);
    const ProgramRun FromLog = RunGaugery("--replay " + Log.Path() + " " + Command);
    ASSERT_EQ(FromLog.ExitCode, 0) << FromLog.Err;
    EXPECT_EQ(FromLog.Out, FromCapture.Out) << Command;
  }
}

TEST(RecordCommand, BeginAndEndChooseTheSamplesOfAWindow) {
  TCaptureFiles Captures;
  const test::TBlock First = ProcessBlock(0, 10);
  const test::TBlock Second = ProcessBlock(5, 25);
  TLogFile Log;
  // A machine two hours ahead of UTC: times without a zone are its local times.
  const ProgramRun Record = RunGaugery(Captures.Replay(First) + Captures.Replay(Second) +
                                           "record --count 2 --interval 0.01 " + Log.Path(),
                                       "TZ=XYZ-2");
  ASSERT_EQ(Record.ExitCode, 0) << Record.Err;
  const std::string Expected = RunGaugery(Captures.Replay(Second) + "dump").Out;
  for (const std::string Begin : {"2024-05-05T12:00:03Z", "2024-05-05T14:00:03",
                                  "2024-05-05 13:00:03+01:00", "14:00:05", "14:00:04.999"}) {
    const ProgramRun Dump =
        RunGaugery("--replay " + Log.Path() + " --begin \"" + Begin + "\" dump");
    ASSERT_EQ(Dump.ExitCode, 0) << Begin << ": " << Dump.Err;
    EXPECT_EQ(Dump.Out, Expected) << Begin;
  }
  const ProgramRun BeforeSecond =
      RunGaugery("--replay " + Log.Path() + " --begin 14:00:01 --end 14:00:04 dump");
  EXPECT_EQ(BeforeSecond.ExitCode, 1);
  EXPECT_NE(BeforeSecond.Err.find("No sample"), std::string::npos) << BeforeSecond.Err;
  const ProgramRun Reversed =
      RunGaugery("--replay " + Log.Path() + " --begin 14:00:05 --end 14:00:00 dump");
  EXPECT_EQ(Reversed.ExitCode, 1);
  EXPECT_NE(Reversed.Err.find("--begin is later than --end"), std::string::npos);
  const ProgramRun OnCaptures = RunGaugery(Captures.Replay(First) + "--begin 12:00 dump");
  EXPECT_EQ(OnCaptures.ExitCode, 1);
  EXPECT_NE(OnCaptures.Err.find("not of capture files"), std::string::npos) << OnCaptures.Err;
}

TEST(RecordCommand, TimeOptionsOfAnotherFormAreUsageErrors) {
  TCaptureFiles Captures;
  const std::string Replay = Captures.Replay(ProcessBlock(0, 1));
  for (const std::string Time : {"24:00", "12", "12:5", "2024-13-01T00:00", "2024-02-30",
                                 "12:00:00.", "12:00+1", "2024-05-05T12:00:00Zjunk", "yesterday"}) {
    const ProgramRun Run = RunGaugery(Replay + "--begin \"" + Time + "\" dump");
    EXPECT_EQ(Run.ExitCode, 2) << Time;
    EXPECT_NE(Run.Err.find("option --begin needs a time"), std::string::npos) << Time << Run.Err;
  }
  const ProgramRun Live = RunGaugery("--end 12:00 dump");
  EXPECT_EQ(Live.ExitCode, 2);
  EXPECT_NE(Live.Err.find("--begin and --end need --replay LOG"), std::string::npos);
}

TEST(RecordCommand, OptionValuesOutOfRangeAreUsageErrors) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"--count 0 x.glog", "option --count needs a whole number of at least 1"},
      {"--count 2 --duration 5 x.glog", "--count and --duration exclude each other"},
      {"--duration 5x x.glog", "option --duration needs a duration"},
      {"--duration 0 x.glog", "option --duration needs a duration"},
      {"--interval 0 x.glog", "option --interval needs more than 0 seconds"},
      {"--interval -1 x.glog", "option --interval needs a number of seconds"},
      {"--max-size 10Q x.glog", "option --max-size needs a size in bytes"},
      {"--max-size 99999999999G x.glog", "option --max-size needs a size in bytes"},
      {"--keep 0 x.glog", "option --keep needs a whole number of at least 1"},
      {"--objects 230,,232 x.glog", "option --objects needs title indexes"},
      {"--objects Process x.glog", "option --objects needs title indexes"},
      {"--sync x x.glog", "option --sync needs a number of seconds"},
      {"", "record needs one file name"},
      {"a.glog b.glog", "record needs one file name"}};
  for (const auto& [Arguments, Message] : Cases) {
    const ProgramRun Run = RunGaugery("record " + Arguments);
    EXPECT_EQ(Run.ExitCode, 2) << Arguments;
    EXPECT_NE(Run.Err.find(Message), std::string::npos) << Arguments << ": " << Run.Err;
  }
  EXPECT_FALSE(std::filesystem::exists("x.glog"));
}

TEST(RecordCommand, TermClosesTheLogWholeAndHupStartsAVolume) {
  TCaptureFiles Captures;
  TLogFile Log;
  TChildProcess Recorder(GAUGERY_EXE, {"--replay", Captures.Save(ProcessBlock(0, 10)), "record",
                                       "--interval", "0.05", Log.Path()});
  ASSERT_TRUE(WaitForSamples(Log.Path(), 3));
  ASSERT_EQ(kill(Recorder.Pid(), SIGHUP), 0);
  ASSERT_TRUE(WaitForSamples(Log.VolumePath(1), 2));
  EXPECT_EQ(Recorder.Stop(), 0) << Recorder.Errors();
  EXPECT_NE(Recorder.Errors().find(" bytes per sample\n"), std::string::npos);

  // A reader given the log reads both volumes in order, without a torn record.
  const TReadBack Read = ReadLog(Log.Path());
  EXPECT_TRUE(Read.Warnings.empty()) << Read.Warnings.front();
  ASSERT_GE(SampleCount(Read), 5U);
  for (std::size_t At = 0; At < Read.Entries.size(); ++At)
    EXPECT_EQ(Read.Entries[At].Number, At + 1);
  EXPECT_FALSE(std::filesystem::exists(Log.VolumePath(2)));
}

TEST(RecordCommand, MaxSizeStartsVolumesAndKeepRemovesTheOldest) {
  TCaptureFiles Captures;
  const std::string Replays =
      Captures.Replay(ProcessBlock(0, 10)) + Captures.Replay(ProcessBlock(1, 20));
  TLogFile Log;
  // Every sample overflows a volume of one byte.
  const ProgramRun Record =
      RunGaugery(Replays + "record --count 6 --interval 0.01 --max-size 1 --keep 2 " + Log.Path());
  ASSERT_EQ(Record.ExitCode, 0) << Record.Err;
  EXPECT_FALSE(std::filesystem::exists(Log.Path()));
  EXPECT_FALSE(std::filesystem::exists(Log.VolumePath(3)));
  EXPECT_TRUE(std::filesystem::exists(Log.VolumePath(4)));
  EXPECT_TRUE(std::filesystem::exists(Log.VolumePath(5)));
  const TReadBack Read = ReadLog(Log.Path());
  ASSERT_EQ(SampleCount(Read), 2U);
  EXPECT_EQ(Read.Entries.back().Number, 6U);
}

TEST(RecordCommand, SamplesThatFailAreRecordedAsGapsWithTheirReason) {
  TLogFile Log;
  TServeProcess Server;
  TChildProcess Recorder(GAUGERY_EXE, {"--computer", Server.ComputerName(), "record", "--interval",
                                       "0.1", "--objects", "238", Log.Path()});
  ASSERT_TRUE(WaitForSamples(Log.Path(), 2));
  Server.Stop();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(Recorder.Stop(), 0) << Recorder.Errors();

  const TReadBack Read = ReadLog(Log.Path());
  ASSERT_FALSE(Read.Entries.empty());
  const TLogEntry& Last = Read.Entries.back();
  EXPECT_EQ(Last.Kind, TLogEntry::TKind::Gap);
  EXPECT_FALSE(Last.Reason.empty());
  EXPECT_GT(Last.Time, Read.Entries.front().Time);
}

}  // namespace
