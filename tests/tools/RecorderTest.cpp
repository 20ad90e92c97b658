// The recording loop in this process, on a served machine whose name tables a test can
// change: the line of figures it prints at its interval, and a change of the tables
// recorded while it runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "FakeHttpServer.h"
#include "ProcessSamples.h"
#include "Recorder.h"
#include "perf/log/CounterLogReader.h"

namespace {

using namespace gaugery;
using namespace gaugery::testing;

constexpr long long RecordedSamples = 20;

// A machine served over HTTP whose Process object is called NewProcessTitle once it
// has answered SamplesBeforeRename samples.
class TRenamingMachine {
 public:
  static constexpr int SamplesBeforeRename = 8;
  static constexpr char NewProcessTitle[] = "Prozess";

  TRenamingMachine() : Server_([this](const std::string& Target) { return Reply(Target); }) {}

  std::string ComputerName() const { return Server_.ComputerName(); }

 private:
  std::string Reply(const std::string& Target) {
    if (Target == "/perflib/") return test::GaugeryReply("009\n");
    if (Target == "/perflib/009/Help") return test::GaugeryReply(test::MultiStringBytes({}));
    if (Target == "/perflib/009/Counter") {
      std::vector<TPerfNameEntry> Names = ProcessCounterNames();
      if (Samples_ >= SamplesBeforeRename) {
        for (TPerfNameEntry& Entry : Names)
          if (Entry.Text == "Process") Entry.Text = NewProcessTitle;
      }
      return test::GaugeryReply(test::MultiStringBytes(Names));
    }
    ++Samples_;
    const test::TBlock Block = ProcessBlock(NumberedProcesses(3));
    return test::GaugeryReply(std::string(Block.Bytes.begin(), Block.Bytes.end()));
  }

  std::atomic<int> Samples_{0};
  test::TFakeHttpServer Server_;
};

struct TFigures {
  unsigned long long Samples = 0;
  unsigned long long Bytes = 0;
  unsigned long long BytesPerSample = 0;
};

std::vector<TFigures> FigureLines(const std::string& Text) {
  static const std::regex Line(
      R"(gaugery record: (\d+) samples, (\d+) bytes, (\d+) bytes per sample)");
  std::vector<TFigures> Lines;
  std::istringstream In(Text);
  for (std::string Got; std::getline(In, Got);) {
    std::smatch Match;
    EXPECT_TRUE(std::regex_match(Got, Match, Line)) << Got;
    if (!Match.empty())
      Lines.push_back({std::stoull(Match[1]), std::stoull(Match[2]), std::stoull(Match[3])});
  }
  return Lines;
}

bool NamesHold(const TLogNames& Names, const std::string& Title) {
  const WideString Wide(Title.begin(), Title.end());
  return !Names.empty() && Names[0].Counter.find(Wide) != WideString::npos;
}

class Recorder : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(Path.c_str()); }

  // Records the machine every 20 ms, with figures every 100 ms.
  std::string RecordMachine(const TRenamingMachine& Machine) {
    cli::TRecordPlan Plan;
    Plan.File = Path;
    Plan.Interval = std::chrono::milliseconds(20);
    Plan.Count = RecordedSamples;
    Plan.ReportEvery = std::chrono::milliseconds(100);
    std::ostringstream Figures;
    cli::Record(Plan, Machine.ComputerName(), Figures);
    return Figures.str();
  }

  const std::string Path =
      ::testing::TempDir() + "gaugery-recorder-" + std::to_string(getpid()) + ".glog";
};

// Lines at the interval while recording, each with the figures of the log so far, and a
// last one at the end for the whole log.
TEST_F(Recorder, PrintsItsFiguresAtItsIntervalAndAtTheEnd) {
  const TRenamingMachine Machine;
  const std::vector<TFigures> Lines = FigureLines(RecordMachine(Machine));
  ASSERT_GE(Lines.size(), 3u) << "no line came before the end";
  for (std::size_t Line = 0; Line < Lines.size(); ++Line) {
    const TFigures& Got = Lines[Line];
    ASSERT_GT(Got.Samples, 0u) << Line;
    EXPECT_EQ(Got.BytesPerSample, Got.Bytes / Got.Samples) << Line;
    if (Line + 1 < Lines.size()) {
      EXPECT_LT(Got.Samples, static_cast<unsigned long long>(RecordedSamples)) << Line;
      EXPECT_LE(Got.Samples, Lines[Line + 1].Samples) << Line;
      EXPECT_LT(Got.Bytes, Lines[Line + 1].Bytes) << Line;
    }
  }
  EXPECT_EQ(Lines.back().Samples, static_cast<unsigned long long>(RecordedSamples));
  EXPECT_EQ(Lines.back().Bytes, std::filesystem::file_size(Path));
}

// Tables that change while recording are recorded again: a reader has the first ones up
// to the change and the new ones after it, for every sample after it.
TEST_F(Recorder, RecordsTheNameTablesAgainWhenTheyChange) {
  const TRenamingMachine Machine;
  RecordMachine(Machine);
  TCounterLogReader Reader(Path);
  const std::uint64_t FirstVersion = Reader.NamesVersion();
  std::vector<bool> Renamed;
  for (TLogEntry Entry; Reader.Next(Entry);) {
    ASSERT_EQ(Entry.Kind, TLogEntry::TKind::Sample);
    Renamed.push_back(Reader.NamesVersion() != FirstVersion);
    EXPECT_EQ(NamesHold(Reader.Names(), TRenamingMachine::NewProcessTitle), Renamed.back())
        << "sample " << Entry.Number;
  }
  ASSERT_EQ(Renamed.size(), static_cast<std::size_t>(RecordedSamples));
  EXPECT_FALSE(Renamed.front());
  EXPECT_TRUE(Renamed.back());
  // Once renamed, every later sample has the new tables.
  EXPECT_TRUE(std::is_sorted(Renamed.begin(), Renamed.end()));
  EXPECT_TRUE(Reader.TakeWarnings().empty());

  // Seeking past the change finds the new tables without reading the samples before.
  TCounterLogReader Seeking(Path);
  Seeking.SeekNumber(RecordedSamples);
  TLogEntry Last;
  ASSERT_TRUE(Seeking.Next(Last));
  EXPECT_TRUE(NamesHold(Seeking.Names(), TRenamingMachine::NewProcessTitle));
}

}  // namespace
