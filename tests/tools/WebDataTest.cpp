// The data of the web view: the value history against `gaugery watch --json` on the same
// replayed samples, its limits and its refusals, the queries of /api/values, the names
// and process table it answers, and the embedded page.
#include <gtest/gtest.h>

#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "CommandLine.h"
#include "IntervalThread.h"
#include "LogSamples.h"
#include "LogView.h"
#include "ProcessSamples.h"
#include "ProgramRun.h"
#include "Replay.h"
#include "ValueHistory.h"
#include "WebAssets.h"
#include "WebData.h"
#include "framework/Exceptions.h"
#include "perf/log/CounterLogWriter.h"

using nlohmann::json;

namespace {

using namespace gaugery;
using namespace gaugery::cli;
using gaugery::testing::ProcessBlock;
using gaugery::testing::TProcessSample;

constexpr std::int64_t Second = 10000000;
const std::string CpuPath = "\\Process(*)\\% Processor Time";
const std::string MemoryPath = "\\Memory\\Available Bytes";

// Four samples a second apart: "b" ends after the second, "c" starts in the third, and
// two processes named "twin" tell apart by their ids.
std::vector<test::TBlock> ChangingProcesses() {
  auto Process = [](std::string Name, std::int64_t Id, std::int64_t Time) {
    TProcessSample Sample{.Name = std::move(Name), .Id = Id, .WorkingSet = Id * 4096};
    Sample.ProcessorTime = Time;
    return Sample;
  };
  return {ProcessBlock({Process("a", 1, 0), Process("b", 2, 0), Process("twin", 5, 0),
                        Process("twin", 6, 0)},
                       0),
          ProcessBlock({Process("a", 1, Second / 4), Process("b", 2, Second / 2),
                        Process("twin", 5, Second / 10), Process("twin", 6, Second / 5)},
                       1),
          ProcessBlock({Process("a", 1, Second / 2), Process("c", 3, 0),
                        Process("twin", 5, Second / 5), Process("twin", 6, Second / 2)},
                       2),
          ProcessBlock({Process("a", 1, Second), Process("c", 3, Second / 10),
                        Process("twin", 5, Second / 5), Process("twin", 6, Second)},
                       3)};
}

// Replays Blocks in this process from the start, as --replay does for the program.
class TInProcessReplay {
 public:
  explicit TInProcessReplay(const std::vector<test::TBlock>& Blocks) {
    for (const test::TBlock& Block : Blocks) Files_.push_back(Captures_.Save(Block));
    UseReplay(Files_);
  }
  // "--replay FILE ..." of the same blocks, for the program.
  std::string Options() const {
    std::string Text;
    for (const std::string& File : Files_) Text += "--replay " + File + " ";
    return Text;
  }

 private:
  TCaptureFiles Captures_;
  std::vector<std::string> Files_;
};

// Value path -> the values of watch's JSON lines, in sample order (null as NaN).
std::map<std::string, std::vector<double>> WatchedValues(const std::string& Output) {
  std::map<std::string, std::vector<double>> Values;
  std::istringstream In(Output);
  for (std::string Line; std::getline(In, Line);) {
    const json Sample = json::parse(Line);
    for (const json& Value : Sample["values"]) {
      Values[Value["path"].get<std::string>()].push_back(
          Value["value"].is_null() ? NAN : Value["value"].get<double>());
    }
  }
  return Values;
}

std::map<std::string, std::vector<double>> HistoryValues(const TPathValues& Values) {
  std::map<std::string, std::vector<double>> Result;
  for (const auto& [Path, Points] : Values.Series)
    for (const TValuePoint& Point : Points) Result[Path].push_back(Point.Value.value_or(NAN));
  return Result;
}

void ExpectSameValues(const std::map<std::string, std::vector<double>>& Expected,
                      const std::map<std::string, std::vector<double>>& Actual) {
  ASSERT_EQ(Expected.size(), Actual.size());
  for (const auto& [Path, Values] : Expected) {
    ASSERT_TRUE(Actual.contains(Path)) << Path;
    const std::vector<double>& Got = Actual.at(Path);
    // A series starts where its instance first shows: watch's lines before are absent.
    ASSERT_EQ(Values.size(), Got.size()) << Path;
    for (std::size_t I = 0; I < Values.size(); ++I) {
      if (std::isnan(Values[I])) {
        EXPECT_TRUE(std::isnan(Got[I])) << Path << " sample " << I;
      } else {
        EXPECT_EQ(Values[I], Got[I]) << Path << " sample " << I;
      }
    }
  }
}

TEST(ValueHistory, ComputesTheValuesWatchPrintsForTheSamePaths) {
  const TInProcessReplay Replay(ChangingProcesses());
  for (const std::string& Path : {CpuPath, std::string("\\Process(twin#1)\\% Processor Time"),
                                  std::string("\\Process(a)\\Working Set")}) {
    const ProgramRun Run =
        RunGaugery(Replay.Options() + "watch --json --count 3 --interval 0 \"" + Path + "\"");
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    TValueHistory History(std::chrono::minutes(10), 600);
    History.Watch(Path);
    RestartReplayedSamples();
    for (int Sample = 0; Sample < 4; ++Sample) History.Collect();
    const std::optional<TPathValues> Values = History.ValuesOf(TValueHistory::WatchedText(Path), 0);
    ASSERT_TRUE(Values);
    EXPECT_EQ(Values->Error, "");
    std::map<std::string, std::vector<double>> Expected = WatchedValues(Run.Out);
    // Watch prints a line per sample only for the instances present; a series of an
    // instance that ended keeps its points, which watch printed while it lived.
    ExpectSameValues(Expected, HistoryValues(*Values));
  }
}

TEST(ValueHistory, StampsPointsWithTheSampleTimesAfterTheBaseline) {
  const TInProcessReplay Replay(ChangingProcesses());
  TValueHistory History(std::chrono::minutes(10), 600);
  History.Watch("\\Process(a)\\% Processor Time");
  RestartReplayedSamples();
  History.Collect();
  const std::string Path = TValueHistory::WatchedText("\\Process(a)\\% Processor Time");
  EXPECT_TRUE(History.ValuesOf(Path, 0)->Series.empty()) << "the baseline gives no point";
  History.Collect();
  History.Collect();
  const std::vector<TValuePoint> Points = History.ValuesOf(Path, 0)->Series.at(0).second;
  ASSERT_EQ(Points.size(), 2u);
  EXPECT_EQ(Points[1].Time - Points[0].Time, 1000);
  EXPECT_EQ(Points[1].Time, History.LatestTime());
  EXPECT_EQ(History.ValuesOf(Path, 0)->Unit, "%");
  // Since is exclusive: a page that holds the newest point gets nothing again.
  EXPECT_TRUE(History.ValuesOf(Path, Points[1].Time)->Series.at(0).second.empty());
  EXPECT_EQ(History.ValuesOf(Path, Points[0].Time)->Series.at(0).second.size(), 1u);
}

// A replay serves its last block again and again: one sample, one point.
TEST(ValueHistory, GivesNoPointForASampleOfTheSameTimeAgain) {
  const std::vector<test::TBlock> Blocks = ChangingProcesses();
  const TInProcessReplay Replay({Blocks[0], Blocks[1]});
  TValueHistory History(std::chrono::minutes(10), 600);
  History.Watch(MemoryPath);
  RestartReplayedSamples();
  for (int Sample = 0; Sample < 5; ++Sample) History.Collect();
  const TPathValues Values = *History.ValuesOf(MemoryPath, 0);
  ASSERT_EQ(Values.Series.size(), 1u);
  EXPECT_EQ(Values.Series[0].second.size(), 1u);
}

TEST(ValueHistory, DropsTheSeriesOfAnInstanceGoneForLongerThanTheHistory) {
  const TInProcessReplay Replay(ChangingProcesses());
  TValueHistory History(std::chrono::milliseconds(1000), 600);
  History.Watch(CpuPath);
  RestartReplayedSamples();
  std::set<std::string> Shown;
  for (int Sample = 0; Sample < 4; ++Sample) History.Collect();
  const TPathValues Values = *History.ValuesOf(TValueHistory::WatchedText(CpuPath), 0);
  for (const auto& [Path, Points] : Values.Series) Shown.insert(Path);
  // b's last point is two seconds old; the twins stay apart by their occurrence.
  EXPECT_EQ(Shown,
            (std::set<std::string>{
                "\\Process(a)\\% Processor Time", "\\Process(c)\\% Processor Time",
                "\\Process(twin)\\% Processor Time", "\\Process(twin#1)\\% Processor Time"}));
}

TEST(ValueHistory, RefusesPathsItCannotWatchAndStaysUsable) {
  const TInProcessReplay Replay(ChangingProcesses());
  TValueHistory History(std::chrono::minutes(10), 600);
  EXPECT_THROW(History.Watch("Process"), UsageError);
  EXPECT_THROW(History.Watch("\\Process"), UsageError);
  EXPECT_THROW(History.Watch("\\\\elsewhere\\Memory\\Available Bytes"), Exception);
  EXPECT_THROW(History.Watch("\\No Such Object\\Counter"), Exception);
  EXPECT_THROW(History.Watch("\\Process(*)\\No Such Counter"), Exception);
  EXPECT_TRUE(History.WatchedPaths().empty());
  History.Watch(MemoryPath);
  History.Watch(MemoryPath);
  EXPECT_EQ(History.WatchedPaths(), std::vector<std::string>{MemoryPath});
  EXPECT_NO_THROW(History.Collect());
  History.Forget(MemoryPath);
  EXPECT_FALSE(History.ValuesOf(MemoryPath, 0));
}

TEST(ValueHistory, WatchesAtMostItsLimitOfPaths) {
  const TInProcessReplay Replay(ChangingProcesses());
  TValueHistory History(std::chrono::minutes(10), 600);
  for (std::size_t Index = 0; Index < MaxWatchedPaths; ++Index)
    History.Watch("\\Process(p" + std::to_string(Index) + ")\\Working Set");
  EXPECT_THROW(History.Watch(MemoryPath), Exception);
  EXPECT_EQ(History.WatchedPaths().size(), MaxWatchedPaths);
}

TEST(ValueSeries, KeepsItsNewestPointsInOrder) {
  TValueSeries Series(3);
  EXPECT_EQ(Series.LatestTime(), 0);
  for (std::int64_t Time = 1; Time <= 5; ++Time) Series.Add({Time * 10, static_cast<double>(Time)});
  const std::vector<TValuePoint> Points = Series.Since(0);
  ASSERT_EQ(Points.size(), 3u);
  EXPECT_EQ(Points[0].Time, 30);
  EXPECT_EQ(Points[2].Time, 50);
  EXPECT_EQ(Series.LatestTime(), 50);
  EXPECT_EQ(Series.Since(40).size(), 1u);
}

TEST(WebData, SamplesNoFasterThanTheHistoryFitsItsSeries) {
  using std::chrono::milliseconds;
  EXPECT_EQ(WebSamplePeriod(milliseconds(1000), std::chrono::minutes(10)), milliseconds(1000));
  EXPECT_EQ(WebSamplePeriod(milliseconds(0), std::chrono::seconds(10)), MinimumWebPeriod);
  // Ten minutes at 0.1 s would need 6,000 points: 3,599 intervals of 167 ms cover them.
  const milliseconds Period = WebSamplePeriod(milliseconds(100), std::chrono::minutes(10));
  EXPECT_EQ(Period, milliseconds(167));
  EXPECT_LE(SeriesCapacity(std::chrono::minutes(10), Period), MaxSeriesCapacity);
  EXPECT_LE(SeriesCapacity(std::chrono::hours(24),
                           WebSamplePeriod(milliseconds(0), std::chrono::hours(24))),
            MaxSeriesCapacity);
}

TEST(WebData, SeriesCapacityCoversTheHistoryAtThePeriod) {
  EXPECT_EQ(SeriesCapacity(std::chrono::minutes(10), std::chrono::seconds(1)), 601u);
  EXPECT_EQ(SeriesCapacity(std::chrono::seconds(10), std::chrono::milliseconds(250)), 41u);
  EXPECT_EQ(SeriesCapacity(std::chrono::seconds(10), std::chrono::milliseconds(0)), 10001u);
}

// A web data whose own thread never samples in the time of a test.
TWebOptions QuietOptions() { return {std::chrono::hours(1), std::chrono::minutes(10)}; }

TEST(WebData, RefusesQueriesOfValuesItDoesNotKnow) {
  const TInProcessReplay Replay(ChangingProcesses());
  TWebData Data(QuietOptions());
  EXPECT_EQ(Data.Values({}).Status, 400);
  EXPECT_EQ(Data.Values({{"since", "5"}}).Status, 400);
  EXPECT_EQ(Data.Values({{"counter", MemoryPath}, {"since", "-1"}}).Status, 400);
  EXPECT_EQ(Data.Values({{"counter", MemoryPath}, {"since", "1x"}}).Status, 400);
  EXPECT_EQ(Data.Values({{"counter", MemoryPath}, {"other", "1"}}).Status, 400);
  TQueryParameters TooMany(MaxPathsPerRequest + 1, {"counter", MemoryPath});
  const TWebAnswer Refused = Data.Values(TooMany);
  EXPECT_EQ(Refused.Status, 400);
  EXPECT_TRUE(json::parse(Refused.Body)["error"].is_string());
}

TEST(WebData, AnswersEachPathWithItsPointsOrItsError) {
  const TInProcessReplay Replay(ChangingProcesses());
  TWebData Data(QuietOptions());
  const TQueryParameters Query = {{"counter", "\\Process(a)\\% Processor Time"},
                                  {"counter", "\\Nothing\\Here"}};
  ASSERT_EQ(Data.Values(Query).Status, 200);
  RestartReplayedSamples();
  for (int Sample = 0; Sample < 3; ++Sample) Data.SampleNow();
  const json Answer = json::parse(Data.Values(Query).Body);
  EXPECT_EQ(Answer["interval"], 3600000);
  EXPECT_EQ(Answer["history"], 600000);
  ASSERT_EQ(Answer["counters"].size(), 2u);
  const json& Cpu = Answer["counters"][0];
  EXPECT_EQ(Cpu["path"], "\\Process(a)\\% Processor Time");
  EXPECT_EQ(Cpu["unit"], "%");
  ASSERT_EQ(Cpu["series"].size(), 1u);
  const json& Points = Cpu["series"][0]["points"];
  ASSERT_EQ(Points.size(), 2u);
  EXPECT_EQ(Points[0][1].get<double>(), 25.0);
  EXPECT_EQ(Points[1][1].get<double>(), 25.0);
  EXPECT_EQ(Points[1][0], Answer["time"]);
  EXPECT_TRUE(Answer["counters"][1]["error"].is_string());
  const json Later = json::parse(
      Data.Values({Query[0], {"since", std::to_string(Points[0][0].get<std::int64_t>())}}).Body);
  EXPECT_EQ(Later["counters"][0]["series"][0]["points"].size(), 1u);
}

TEST(WebData, NamesTheObjectsCountersAndInstancesOfTheSample) {
  const TInProcessReplay Replay(ChangingProcesses());
  TWebData Data(QuietOptions());
  const json Objects = json::parse(Data.Names().Body)["objects"];
  const auto Process = std::find_if(Objects.begin(), Objects.end(),
                                    [](const json& Object) { return Object["name"] == "Process"; });
  ASSERT_NE(Process, Objects.end());
  EXPECT_NE(std::find((*Process)["counters"].begin(), (*Process)["counters"].end(), "ID Process"),
            (*Process)["counters"].end());
  EXPECT_EQ((*Process)["instances"].size(), 4u);
  const auto Memory = std::find_if(Objects.begin(), Objects.end(),
                                   [](const json& Object) { return Object["name"] == "Memory"; });
  ASSERT_NE(Memory, Objects.end());
  EXPECT_TRUE((*Memory)["instances"].is_null());
}

TEST(WebData, ListsTheProcessTableWithItsProcessorTimes) {
  const TInProcessReplay Replay(ChangingProcesses());
  TWebData Data(QuietOptions());
  Data.Processes();
  Data.SampleNow();
  const json Table = json::parse(Data.Processes().Body);
  EXPECT_EQ(Table["columns"].front(), "Task name");
  EXPECT_EQ(Table["columns"].back(), "CPU %");
  ASSERT_EQ(Table["rows"].size(), 4u);
  EXPECT_EQ(Table["rows"][0]["name"], "a");
  EXPECT_EQ(Table["rows"][0]["cells"].size(), Table["columns"].size() - 1);
  // "ID Process" is the first counter: its text and its number.
  EXPECT_EQ(Table["rows"][0]["cells"][0][0], "1");
  EXPECT_EQ(Table["rows"][0]["cells"][0][1], 1.0);
}

TEST(WebAssets, ServesThePageAndItsFilesOnly) {
  const std::optional<TWebAsset> Page = FindWebAsset("/");
  ASSERT_TRUE(Page);
  EXPECT_EQ(Page->Type, "text/html; charset=utf-8");
  EXPECT_NE(Page->Bytes.find("/web/page.js"), std::string_view::npos);
  ASSERT_TRUE(FindWebAsset("/web/page.js"));
  EXPECT_EQ(FindWebAsset("/web/page.css")->Type, "text/css; charset=utf-8");
  EXPECT_FALSE(FindWebAsset("/web/index.html"));
  EXPECT_FALSE(FindWebAsset("/web/"));
  EXPECT_FALSE(FindWebAsset("/web/../CMakeLists.txt"));
  EXPECT_FALSE(FindWebAsset("/page.js"));
}

TEST(WebAssets, NameNoOtherHost) {
  for (const std::string_view Name :
       {"/", "/web/page.js", "/web/chart.js", "/web/processes.js", "/web/page.css"}) {
    const std::string_view Bytes = FindWebAsset(Name)->Bytes;
    EXPECT_EQ(Bytes.find("http:"), std::string_view::npos) << Name;
    EXPECT_EQ(Bytes.find("https:"), std::string_view::npos) << Name;
    EXPECT_EQ(Bytes.find("@import"), std::string_view::npos) << Name;
    EXPECT_EQ(Bytes.find("url("), std::string_view::npos) << Name;
  }
}

}  // namespace

// --- On a counter log

// A log of Blocks with the names of their objects, replayed in this process as
// --replay LOG does for the program.
class TInProcessLog {
 public:
  explicit TInProcessLog(const std::vector<test::TBlock>& Blocks) {
    std::vector<std::string> Titles;
    for (const TPerfNameEntry& Entry : gaugery::testing::ProcessCounterNames()) {
      Titles.push_back(std::to_string(Entry.Index));
      Titles.push_back(Entry.Text);
    }
    {
      TCounterLogWriter Writer(File_, {.ComputerName = "RECORDER"},
                               {{"009", test::MultiString(Titles), test::MultiString({})}});
      for (const test::TBlock& Block : Blocks) Writer.WriteSample(Block.Bytes.data(), Block.Size());
    }
    UseReplay({File_});
  }
  ~TInProcessLog() { std::remove(File_.c_str()); }
  TInProcessLog(const TInProcessLog&) = delete;
  TInProcessLog& operator=(const TInProcessLog&) = delete;
  std::string Options() const { return "--replay " + File_ + " "; }

 private:
  const std::string File_ =
      ::testing::TempDir() + "gaugery-web-" + std::to_string(getpid()) + ".glog";
};

// Value path -> the values of one counter of an answer of /api/values (null as NaN).
std::map<std::string, std::vector<double>> AnsweredValues(const json& Counter) {
  std::map<std::string, std::vector<double>> Values;
  for (const json& Series : Counter["series"]) {
    auto& Held = Values[Series["path"].get<std::string>()];
    for (const json& Point : Series["points"])
      Held.push_back(Point[1].is_null() ? NAN : Point[1].get<double>());
  }
  return Values;
}

// The times of the logged samples, in milliseconds: a second apart.
std::int64_t SampleMilliseconds(const json& Answer, int Sample) {
  return Answer["log"]["first"].get<std::int64_t>() + 1000 * Sample;
}

TEST(WebDataOnALog, GivesTheValuesWatchPrintsOverTheWholeLogOrAPartOfIt) {
  const TInProcessLog Log(ChangingProcesses());
  TWebData Data(QuietOptions());
  for (const std::string& Path : {CpuPath, std::string("\\Process(a)\\Working Set")}) {
    const ProgramRun Run = RunGaugery(Log.Options() + "watch --json \"" + Path + "\"");
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    const json Whole = json::parse(Data.Values({{"counter", Path}}).Body);
    EXPECT_EQ(Whole["log"]["samples"], 4);
    EXPECT_EQ(Whole["log"]["last"], SampleMilliseconds(Whole, 3));
    EXPECT_EQ(Whole["from"], Whole["log"]["first"]);
    EXPECT_EQ(Whole["counters"][0]["unit"], Path == CpuPath ? "%" : "");
    ExpectSameValues(WatchedValues(Run.Out), AnsweredValues(Whole["counters"][0]));
    // From the third sample on: its values still rest on the second.
    const json Part = json::parse(
        Data.Values({{"counter", Path}, {"from", std::to_string(SampleMilliseconds(Whole, 2))}})
            .Body);
    std::map<std::string, std::vector<double>> Expected = WatchedValues(Run.Out);
    // b ended after the second sample; every other instance has values at both.
    std::erase_if(Expected,
                  [](const auto& Entry) { return Entry.first.find("(b)") != std::string::npos; });
    for (auto& [Label, Values] : Expected) {
      ASSERT_GE(Values.size(), 2u) << Label;
      Values.erase(Values.begin(), Values.end() - 2);
    }
    ExpectSameValues(Expected, AnsweredValues(Part["counters"][0]));
  }
}

TEST(WebDataOnALog, RefusesQueriesOfAnotherForm) {
  const TInProcessLog Log(ChangingProcesses());
  TWebData Data(QuietOptions());
  for (const TQueryParameters& Query :
       std::vector<TQueryParameters>{{{"counter", MemoryPath}, {"since", "0"}},
                                     {{"counter", MemoryPath}, {"points", "0"}},
                                     {{"counter", MemoryPath}, {"from", "2"}, {"to", "1"}},
                                     {{"counter", MemoryPath}, {"to", "-1"}},
                                     {{"from", "1"}}})
    EXPECT_EQ(Data.Values(Query).Status, 400);
  EXPECT_EQ(Data.Processes({{"at", "x"}}).Status, 400);
  EXPECT_EQ(Data.Processes({{"since", "1"}}).Status, 400);
  const json Far =
      json::parse(Data.Values({{"counter", MemoryPath}, {"from", "1"}, {"to", "2"}}).Body);
  EXPECT_TRUE(Far["counters"][0]["series"].empty()) << "a range before the log holds nothing";
}

// The process table at a time is the one of the sample whose interval holds it, its
// processor times between that sample and the one before, as top shows them.
TEST(WebDataOnALog, ListsTheProcessTableAtTheSamplePicked) {
  const TInProcessLog Log(ChangingProcesses());
  TWebData Data(QuietOptions());
  const json Whole = json::parse(Data.Values({{"counter", MemoryPath}}).Body);
  const auto CpuOf = [](const json& Table, const std::string& Name) {
    for (const json& Row : Table["rows"])
      if (Row["name"] == Name) return Row["cells"].back()[0].get<std::string>();
    return std::string("(none)");
  };
  const json Second = json::parse(
      Data.Processes({{"at", std::to_string(SampleMilliseconds(Whole, 1) - 500)}}).Body);
  EXPECT_EQ(Second["sample"], 2);
  EXPECT_EQ(Second["samples"], 4);
  EXPECT_EQ(Second["time"], SampleMilliseconds(Whole, 1));
  EXPECT_EQ(CpuOf(Second, "a"), "25.0");
  EXPECT_EQ(CpuOf(Second, "b"), "50.0");
  const json First = json::parse(Data.Processes({{"at", "0"}}).Body);
  EXPECT_EQ(First["sample"], 1);
  EXPECT_EQ(CpuOf(First, "a"), "-") << "no sample before the first";
  const json Last = json::parse(Data.Processes().Body);
  EXPECT_EQ(Last["sample"], 4);
  EXPECT_EQ(CpuOf(Last, "a"), "50.0");
  EXPECT_EQ(CpuOf(Last, "c"), "10.0");
  EXPECT_EQ(CpuOf(Last, "b"), "(none)");
}

TEST(ThinnedSeries, KeepsTheLeastAndGreatestOfEachBucketInTimeOrder) {
  TThinnedSeries Series(100, 199, 2);
  for (const TValuePoint& Point :
       std::vector<TValuePoint>{{90, 7.0},
                                {100, 5.0},
                                {110, 9.0},
                                {120, 1.0},
                                {130, 4.0},  // first bucket
                                {150, std::nullopt},
                                {160, std::nullopt},  // second: nones alone
                                {200, 3.0}})
    Series.Add(Point);
  const std::vector<TValuePoint> Points = Series.Finish();
  ASSERT_EQ(Points.size(), 3u);
  EXPECT_EQ(Points[0].Time, 110);
  EXPECT_EQ(Points[1].Time, 120);
  EXPECT_EQ(Points[2].Time, 150);
  EXPECT_FALSE(Points[2].Value);
  TThinnedSeries Few(0, 1000, 1000);
  Few.Add({1, 2.0});
  Few.Add({2, 2.0});
  EXPECT_EQ(Few.Finish().size(), 2u) << "a point per bucket is kept as it is";
}

TEST(IntervalThread, RunsItsStepFromTheFirstDueTimeAndStopsWhileTheNextIsFarAway) {
  std::mutex Lock;
  std::condition_variable Stepped;
  std::vector<TIntervalThread::TClock::time_point> Dues;
  const auto Start = TIntervalThread::TClock::now();
  {
    TIntervalThread Thread([&](TIntervalThread::TClock::time_point Due) {
      const std::lock_guard<std::mutex> Guard(Lock);
      Dues.push_back(Due);
      Stepped.notify_all();
      return Due + (Dues.size() < 2 ? std::chrono::milliseconds(1) : std::chrono::hours(1));
    });
    Thread.Start(Start);
    Thread.Start(Start + std::chrono::hours(1));  // runs already: no second thread
    std::unique_lock<std::mutex> Guard(Lock);
    ASSERT_TRUE(
        Stepped.wait_for(Guard, std::chrono::seconds(10), [&] { return Dues.size() == 2; }));
  }
  // The destructor stopped the thread during its wait of an hour.
  EXPECT_EQ(Dues, (std::vector{Start, Start + std::chrono::milliseconds(1)}));
  EXPECT_LT(TIntervalThread::TClock::now() - Start, std::chrono::minutes(1));
}
