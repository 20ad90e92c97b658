// The watch command on replayed process samples one second apart: the first sample is a
// baseline, a value that rests on no sound pair of samples shows "-", and the machine
// forms (CSV, JSON) carry every digit and do not depend on the locale. On the live
// machine the processors' busy share is a percentage.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ProgramRun.h"

using nlohmann::json;

namespace {

using namespace gaugery;

std::vector<json> JsonLines(const std::string& Text) {
  std::vector<json> Lines;
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);) Lines.push_back(json::parse(Line));
  return Lines;
}

std::vector<std::vector<std::string>> TextRows(const std::string& Text) {
  std::vector<std::vector<std::string>> Rows;
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);) {
    std::vector<std::string> Cells;
    std::istringstream Row(Line);
    for (std::string Cell; std::getline(Row, Cell, '\t');) Cells.push_back(Cell);
    if (!Cells.empty()) Rows.push_back(Cells);
  }
  return Rows;
}

struct TProcess {
  std::string Name;
  std::int64_t Id;
  std::int64_t Time;  // processor time in 100 ns
};

// Process (230) with ID Process (784) and % Processor Time (6), sampled on 2024-05-15
// at 12:30:Second.
test::TBlock ProcessSample(int Second, const std::vector<TProcess>& Processes) {
  test::TObjectSpec Process{
      .NameIndex = 230,
      .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = 6, .Type = PERF_100NSEC_TIMER}},
      .HasInstances = true};
  for (const TProcess& P : Processes) Process.Instances.push_back({P.Name, {P.Id, P.Time}});
  return test::BuildBlock(
      {.Objects = {Process}, .SystemTime = {2024, 5, 3, 15, 12, 30, static_cast<WORD>(Second), 0}});
}

constexpr std::int64_t kSecond = 10000000;
const std::string CpuAndId = " Process \"% Processor Time\" \"ID Process\"";

TEST(WatchReplay, FirstSampleIsTheBaselineAndNewProcessesShowADash) {
  TCaptureFiles Files;
  // c is new in the second sample; "busy" exec'd "sleep" under the same id.
  const std::string Replay =
      Files.Replay(ProcessSample(0, {{"a", 1, 0}, {"b", 2, 0}, {"busy", 7, 3 * kSecond}})) +
      Files.Replay(ProcessSample(1, {{"a", 1, kSecond / 4},
                                     {"b", 2, kSecond / 2},
                                     {"c", 3, 9 * kSecond},
                                     {"sleep", 7, 3 * kSecond}})) +
      Files.Replay(ProcessSample(2, {{"a", 1, kSecond / 2}, {"c", 3, 9 * kSecond + kSecond / 10}}));
  const std::string Watch = Replay + "watch --count 2 --interval 0" + CpuAndId;
  const ProgramRun Run = RunGaugery(Watch);
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  // Raw counts need no earlier sample: the new processes show their ids.
  EXPECT_EQ(Run.Out,
            "a\t25.00%\t1\nb\t50.00%\t2\nc\t-\t3\nsleep\t-\t7\n\n"
            "a\t25.00%\t1\nc\t10.00%\t3\n");
  EXPECT_EQ(RunGaugery(Watch).Out, Run.Out) << "replayed samples are the same on every run";

  const ProgramRun One = RunGaugery(Replay + "watch --count 1 --interval 0" + CpuAndId);
  EXPECT_EQ(One.Out, "a\t25.00%\t1\nb\t50.00%\t2\nc\t-\t3\nsleep\t-\t7\n");
}

// Without a key, same-named processes share one record, recorded once per process in
// each sample: its "current value" is then the difference between two processes.
TEST(WatchReplay, SameNamedProcessesNeverShowAValueOutsideTheirRange) {
  std::vector<TProcess> Before;
  std::vector<TProcess> After;
  for (int I = 0; I < 40; ++I) {
    Before.push_back({"worker", 100 + I, I * 50 * kSecond});
    After.push_back({"worker", 100 + I, I * 50 * kSecond + I * kSecond / 40});
  }
  TCaptureFiles Files;
  const std::string Replay =
      Files.Replay(ProcessSample(0, Before)) + Files.Replay(ProcessSample(1, After));

  const ProgramRun Keyed = RunGaugery(Replay + "watch --count 1 --interval 0" + CpuAndId);
  ASSERT_EQ(Keyed.ExitCode, 0) << Keyed.Err;
  const auto Rows = TextRows(Keyed.Out);
  ASSERT_EQ(Rows.size(), 40u);
  for (const auto& Row : Rows) {
    const int I = std::stoi(Row[2]) - 100;
    const double Percent = std::stod(Row[1]);
    EXPECT_GE(Percent, 0.0) << Row[1];
    EXPECT_LE(Percent, 100.0) << Row[1];
    EXPECT_NEAR(Percent, I * 2.5, 0.005) << "process " << Row[2];
  }

  const ProgramRun Named =
      RunGaugery(Replay + "watch --key \"\" --count 1 --interval 0" + CpuAndId);
  ASSERT_EQ(Named.ExitCode, 0) << Named.Err;
  for (const auto& Row : TextRows(Named.Out)) EXPECT_EQ(Row[1], "-");
}

TEST(WatchReplay, RecordSharedInASampleShowsValuesAgainAfterTwoSamplesAlone) {
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(ProcessSample(0, {{"a", 1, 0}, {"a", 2, 5 * kSecond}})) +
                             Files.Replay(ProcessSample(1, {{"a", 1, kSecond / 10}})) +
                             Files.Replay(ProcessSample(2, {{"a", 1, kSecond / 5}})) +
                             Files.Replay(ProcessSample(3, {{"a", 1, kSecond * 3 / 10}}));
  const std::string Watch =
      Replay + "watch --key \"\" --count 3 --interval 0 Process \"% Processor Time\"";
  const ProgramRun Current = RunGaugery(Watch);
  ASSERT_EQ(Current.ExitCode, 0) << Current.Err;
  EXPECT_EQ(Current.Out, "a\t-\n\na\t10.00%\n\na\t10.00%\n");
  // The first recording came from either process: no average rests on it.
  const ProgramRun Average = RunGaugery(Watch + " --avg");
  EXPECT_EQ(Average.Out, "a\t-\n\na\t-\n\na\t-\n");
}

// German separators: "," for decimals. Generated from the system's locale sources into
// the test's temporary directory; empty when that is not possible.
std::string GermanLocaleEnvironment() {
  const std::string Directory =
      ::testing::TempDir() + "gaugery-locales-" + std::to_string(getpid());
  const std::string Make = "mkdir -p " + Directory + " && localedef -i de_DE -f UTF-8 " +
                           Directory + "/de_DE.UTF-8 >/dev/null 2>&1";
  if (std::system(Make.c_str()) != 0) return "";
  return "LOCPATH=" + Directory + " LC_ALL=de_DE.UTF-8";
}

TEST(WatchReplay, JsonAndCsvHoldNumbersAndIsoTimesWhateverTheLocale) {
  TCaptureFiles Files;
  const std::string Replay =
      Files.Replay(ProcessSample(0, {{"a", 1, 0}, {"b", 2, 0}})) +
      Files.Replay(ProcessSample(1, {{"a", 1, kSecond / 4}, {"b", 2, kSecond * 3 / 4}}));
  const std::string Watch = Replay + "watch --count 1 --interval 0";
  const ProgramRun Json = RunGaugery(Watch + " --json" + CpuAndId);
  ASSERT_EQ(Json.ExitCode, 0) << Json.Err;
  EXPECT_EQ(JsonLines(Json.Out).at(0), json::parse(R"({"time": "2024-05-15T12:30:01.000Z",
      "object": "Process", "rows": [
        {"instance": "a", "key": "1", "values": [
          {"counter": "% Processor Time", "value": 25, "unit": "%"},
          {"counter": "ID Process", "value": 1, "unit": ""}]},
        {"instance": "b", "key": "2", "values": [
          {"counter": "% Processor Time", "value": 75, "unit": "%"},
          {"counter": "ID Process", "value": 2, "unit": ""}]}]})"));
  const ProgramRun Csv = RunGaugery(Watch + " --csv" + CpuAndId);
  EXPECT_EQ(Csv.Out,
            "time,instance,key,% Processor Time,ID Process\n"
            "2024-05-15T12:30:01.000Z,a,1,25,1\n"
            "2024-05-15T12:30:01.000Z,b,2,75,2\n");

  const std::string German = GermanLocaleEnvironment();
  if (German.empty()) GTEST_SKIP() << "no German locale can be made here";
  EXPECT_EQ(RunGaugery(Watch + " --json" + CpuAndId, German).Out, Json.Out);
  EXPECT_EQ(RunGaugery(Watch + " --csv" + CpuAndId, German).Out, Csv.Out);
  EXPECT_EQ(RunGaugery(Watch + CpuAndId, German).Out, "a\t25,00%\t1\nb\t75,00%\t2\n");
}

// Scripts get every digit the monitor computed, never an exponent; the text keeps its
// two decimals. Same-named processes are told apart by the key column.
TEST(WatchReplay, JsonAndCsvCarryFullPrecisionInPlainDecimals) {
  TCaptureFiles Files;
  const std::string Replay =
      Files.Replay(ProcessSample(0, {{"w", 9000000, 0}, {"w", 9000001, 0}})) +
      Files.Replay(ProcessSample(1, {{"w", 9000000, 1}, {"w", 9000001, kSecond / 3}}));
  const std::string Watch = Replay + "watch --count 1 --interval 0";
  const ProgramRun Csv = RunGaugery(Watch + " --csv" + CpuAndId);
  ASSERT_EQ(Csv.ExitCode, 0) << Csv.Err;
  EXPECT_EQ(Csv.Out,
            "time,instance,key,% Processor Time,ID Process\n"
            "2024-05-15T12:30:01.000Z,w,9000000,0.000009999999999999999,9000000\n"
            "2024-05-15T12:30:01.000Z,w,9000001,33.33333,9000001\n");
  const ProgramRun Json = RunGaugery(Watch + " --json" + CpuAndId);
  EXPECT_NE(Json.Out.find("\"value\":0.000009999999999999999,"), std::string::npos) << Json.Out;
  EXPECT_NE(Json.Out.find("\"value\":9000000,"), std::string::npos) << Json.Out;
  EXPECT_EQ(JsonLines(Json.Out).at(0)["rows"][1]["values"][0]["value"], 33.33333);
  EXPECT_EQ(RunGaugery(Watch + CpuAndId).Out, "w\t0.00%\t9000000\nw\t33.33%\t9000001\n");
}

// The same sample read twice (a server that had no newer one, a replay of one file)
// has no time between its two readings: rates over it are not shown, raw counts are.
TEST(WatchReplay, SamplesOfTheSameTimeGiveNoRate) {
  TCaptureFiles Files;
  const std::string Once = Files.Replay(ProcessSample(0, {{"a", 1, 0}}));
  const ProgramRun Repeated = RunGaugery(Once + "watch --count 2 --interval 0" + CpuAndId);
  ASSERT_EQ(Repeated.ExitCode, 0) << Repeated.Err;
  EXPECT_EQ(Repeated.Out, "a\t-\t1\n\na\t-\t1\n");
  const ProgramRun Average =
      RunGaugery(Once + "watch --avg --count 1 --interval 0 --json" + CpuAndId);
  EXPECT_EQ(JsonLines(Average.Out).at(0)["rows"][0]["values"][0]["value"], nullptr);

  const std::string Twice = Once + Files.Replay(ProcessSample(0, {{"a", 1, kSecond}})) +
                            Files.Replay(ProcessSample(1, {{"a", 1, kSecond * 3 / 2}}));
  const ProgramRun Run = RunGaugery(Twice + "watch --count 2 --interval 0" + CpuAndId);
  EXPECT_EQ(Run.Out, "a\t-\t1\n\na\t50.00%\t1\n");
}

// A path naming one instance fails while that instance is not in a sample, as read
// does; with "*" instances come and go.
TEST(WatchReplay, PathOfAnAbsentInstanceFails) {
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(ProcessSample(0, {{"a", 1, 0}, {"b", 2, 0}})) +
                             Files.Replay(ProcessSample(1, {{"a", 1, 0}, {"b", 2, 0}})) +
                             Files.Replay(ProcessSample(2, {{"a", 1, 0}}));
  const ProgramRun Never =
      RunGaugery(Replay + "watch --count 1 --interval 0 '\\Process(c)\\ID Process'");
  EXPECT_EQ(Never.ExitCode, 1);
  EXPECT_EQ(Never.Out, "");
  EXPECT_EQ(Never.Err, "gaugery: no instance c of Process in the sample\n");

  const ProgramRun Ended =
      RunGaugery(Replay + "watch --count 2 --interval 0 '\\Process(b)\\ID Process'");
  EXPECT_EQ(Ended.ExitCode, 1);
  EXPECT_EQ(Ended.Out, "\\Process(b)\\ID Process\t2\n");
  EXPECT_EQ(Ended.Err, "gaugery: no instance b of Process in the sample\n");

  const ProgramRun All =
      RunGaugery(Replay + "watch --count 2 --interval 0 '\\Process(*)\\ID Process'");
  EXPECT_EQ(All.ExitCode, 0) << All.Err;
  EXPECT_EQ(All.Out,
            "\\Process(a)\\ID Process\t1\n\\Process(b)\\ID Process\t2\n\n"
            "\\Process(a)\\ID Process\t1\n");
}

TEST(WatchReplay, TerminalGetsAHeaderAndAlignedColumnsPerSample) {
  TCaptureFiles Files;
  const std::string Replay =
      Files.Replay(ProcessSample(0, {{"a", 1, 0}, {"bash", 1234, 0}})) +
      Files.Replay(ProcessSample(1, {{"a", 1, kSecond / 4}, {"bash", 1234, kSecond}}));
  const ProgramRun Run = RunGaugeryOnTerminal(Replay + "watch --count 1 --interval 0" + CpuAndId);
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_EQ(Run.Out,
            "instance  % Processor Time  ID Process\r\n"
            "a                   25.00%           1\r\n"
            "bash               100.00%        1234\r\n");
}

TEST(WatchReplay, PathsSelectInstancesByNameAndNumber) {
  TCaptureFiles Files;
  const std::string Replay =
      Files.Replay(ProcessSample(0, {{"a", 1, 0}, {"b", 2, 0}, {"A", 3, 0}})) +
      Files.Replay(ProcessSample(1, {{"a", 1, kSecond / 10}, {"b", 2, 0}, {"A", 3, kSecond / 5}}));
  const ProgramRun Text = RunGaugery(
      Replay +
      "watch --count 1 --interval 0 '\\Process(a#1)\\% Processor Time' '\\process(*)\\id process'");
  ASSERT_EQ(Text.ExitCode, 0) << Text.Err;
  // Names are numbered ignoring case.
  EXPECT_EQ(Text.Out,
            "\\Process(a#1)\\% Processor Time\t20.00%\n"
            "\\process(a)\\id process\t1\n"
            "\\process(b)\\id process\t2\n"
            "\\process(A#1)\\id process\t3\n");

  const ProgramRun Json =
      RunGaugery(Replay + "watch --count 1 --interval 0 --json '\\Process(b)\\% Processor Time'");
  EXPECT_EQ(JsonLines(Json.Out).at(0), json::parse(R"({"time": "2024-05-15T12:30:01.000Z",
      "values": [{"path": "\\Process(b)\\% Processor Time", "value": 0, "unit": "%"}]})"));
}

TEST(WatchReplay, BlockCutShortIsReportedOnce) {
  test::TBlock WithMemory = test::BuildBlock(
      {.Objects = {{.NameIndex = 230,
                    .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                 {.NameIndex = 6, .Type = PERF_100NSEC_TIMER}},
                    .HasInstances = true,
                    .Instances = {{"a", {1, kSecond / 2}}}},
                   {.NameIndex = 4, .Counters = {{.NameIndex = 24}}, .Values = {1}}},
       .SystemTime = {2024, 5, 3, 15, 12, 30, 1, 0}});
  WithMemory.Counter(1, 0).CounterSize = 400;
  TCaptureFiles Files;
  const ProgramRun Run =
      RunGaugery(Files.Replay(ProcessSample(0, {{"a", 1, 0}})) + Files.Replay(WithMemory) +
                 "watch --count 3 --interval 0" + CpuAndId);
  EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
  // The replay serves its last block again: no time passes between the last samples.
  EXPECT_EQ(Run.Out, "a\t50.00%\t1\n\na\t-\t1\n\na\t-\t1\n");
  EXPECT_EQ(Run.Err,
            "gaugery: warning: the performance data block was cut to 1 of its 2 objects: "
            "object 2 of 2 (at byte " +
                std::to_string(WithMemory.Objects[1].Offset) +
                "): a counter value lies past its counter block\n");
}

TEST(Watch, RefusesWrongUsage) {
  EXPECT_EQ(RunGaugery("watch Process").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch --csv --json Process \"ID Process\"").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch --interval soon Process \"ID Process\"").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch --count 0 Process \"ID Process\"").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch '\\Process(a)\\ID Process' Process").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch '\\Process(a\\ID Process'").ExitCode, 2);
  const ProgramRun Unknown = RunGaugery("watch --count 1 Process Nonsense");
  EXPECT_EQ(Unknown.ExitCode, 1);
  EXPECT_EQ(Unknown.Err,
            "gaugery: Invalid performance counter name : Nonsense; run \"gaugery counters "
            "Process\" to list the counters of Process\n");
}

TEST(Watch, ProcessorTimeOfAllProcessorsIsAPercentage) {
  const ProgramRun Run =
      RunGaugery("watch --count 2 --interval 1 --json Processor \"% Processor Time\"");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  const std::vector<json> Samples = JsonLines(Run.Out);
  ASSERT_EQ(Samples.size(), 2u);
  // /proc counts idle time in clock ticks (10 ms): over one second the idle share can be
  // off by a tick against the sample times.
  constexpr double Tick = 1.0;
  for (const json& Sample : Samples) {
    const json& Total = Sample["rows"].back();
    ASSERT_EQ(Total["instance"], "_Total");
    const json& Value = Total["values"][0];
    ASSERT_EQ(Value["unit"], "%");
    const double Busy = Value["value"];
    EXPECT_GE(Busy, 0.0 - Tick);
    EXPECT_LE(Busy, 100.0 + Tick);
  }
}

}  // namespace
