#include "WebData.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "BlockDump.h"
#include "Browsing.h"
#include "LogView.h"
#include "PerfData.h"
#include "Replay.h"
#include "TopSampler.h"

namespace gaugery::cli {

namespace {

using TJson = nlohmann::ordered_json;
using std::chrono::steady_clock;

// The process table is sampled while pages ask for it at least once in this many periods.
constexpr int ProcessPeriodsAsked = 3;

constexpr char ValuesUsage[] =
    "Expected /api/values?counter=PATH[&counter=PATH...][&since=MILLISECONDS], at most 16 paths";
constexpr char LogValuesUsage[] =
    "Expected /api/values?counter=PATH[&counter=PATH...][&from=MILLISECONDS][&to=MILLISECONDS]"
    "[&points=BUCKETS], at most 16 paths, from no later than to";
constexpr char ProcessesUsage[] = "Expected /api/processes";
constexpr char LogProcessesUsage[] = "Expected /api/processes[?at=MILLISECONDS]";

TWebAnswer JsonAnswer(const TJson& Document) { return {200, JsonText(Document, -1)}; }

TWebAnswer BadQuery(const std::string& Message) {
  return {400, JsonText(TJson{{"error", Message}}, -1)};
}

std::optional<std::int64_t> Milliseconds(const std::string& Text) {
  std::int64_t Value = 0;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (Error != std::errc() || End != Text.data() + Text.size() || Value < 0) return std::nullopt;
  return Value;
}

TJson PointsJson(const std::vector<TValuePoint>& Points) {
  TJson Array = TJson::array();
  for (const TValuePoint& Point : Points)
    Array.push_back({Point.Time, Point.Value ? TJson(*Point.Value) : TJson(nullptr)});
  return Array;
}

TJson PathJson(const std::string& Asked, const TPathValues& Values) {
  TJson Series = TJson::array();
  for (const auto& [Label, Points] : Values.Series)
    Series.push_back({{"path", Label}, {"points", PointsJson(Points)}});
  TJson Entry = {{"path", Asked}, {"unit", Values.Unit}, {"series", std::move(Series)}};
  if (!Values.Error.empty()) Entry["error"] = Values.Error;
  return Entry;
}

TJson CellJson(const TProcessCell& Cell) {
  return {Cell.Text,
          HasValue(Cell.Value) ? TJson(static_cast<double>(Cell.Value)) : TJson(nullptr)};
}

// The process table as Top holds it, with the error of its last refresh.
TJson ProcessesJson(const TTopSampler& Top, const std::optional<std::string>& Error) {
  TJson Rows = TJson::array();
  for (const TTopRow& Row : Top.Rows()) {
    TJson Cells = TJson::array();
    for (const TProcessCell& Cell : Row.Cells) Cells.push_back(CellJson(Cell));
    Cells.push_back(CellJson(Row.ProcessorTime));
    Rows.push_back({{"name", Row.Name}, {"cells", std::move(Cells)}});
  }
  TJson Document = {{"time", UnixMilliseconds(Top.SampleTime())},
                    {"columns", Top.Captions()},
                    {"rows", std::move(Rows)}};
  if (Error) Document["error"] = *Error;
  return Document;
}

}  // namespace

std::chrono::milliseconds WebSamplePeriod(std::chrono::milliseconds Interval,
                                          std::chrono::milliseconds History) {
  const std::chrono::milliseconds Spread{(History.count() + MaxSeriesCapacity - 2) /
                                         (MaxSeriesCapacity - 1)};
  return std::max({Interval, MinimumWebPeriod, Spread});
}

std::size_t SeriesCapacity(std::chrono::milliseconds History, std::chrono::milliseconds Period) {
  return static_cast<std::size_t>(History / std::max(Period, std::chrono::milliseconds(1))) + 1;
}

TWebData::TWebData(TWebOptions Options)
    : Options_{WebSamplePeriod(Options.Period, Options.History), Options.History},
      History_(Options_.History, SeriesCapacity(Options_.History, Options_.Period)),
      Titles_(nullptr),
      Top_(std::make_unique<TTopSampler>("")),
      Log_(ReplayingLog() ? std::make_unique<TLogView>() : nullptr),
      Sampler_([this](steady_clock::time_point Due) { return SampleAndSchedule(Due); }) {
  Titles_.SetLocaleID("009");
  Titles_.Init();
}

TWebData::~TWebData() = default;

steady_clock::time_point TWebData::SampleAndSchedule(steady_clock::time_point Due) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  const auto Now = steady_clock::now();
  Sample(Now);
  // A late round (a suspended machine) starts a fresh beat instead of catching up.
  return Due + Options_.Period < Now ? Now + Options_.Period : Due + Options_.Period;
}

void TWebData::SampleNow() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  Sample(steady_clock::now());
}

void TWebData::Sample(steady_clock::time_point Now) {
  ForgetUnasked(Now);
  if (!History_.WatchedPaths().empty()) {
    try {
      History_.Collect();
      SampleError_.clear();
    } catch (const std::exception& Error) {
      SampleError_ = Error.what();
    }
  }
  if (!ProcessesBody_.empty() && Now - ProcessesAskedAt_ < ProcessPeriodsAsked * Options_.Period)
    RefreshProcesses();
}

void TWebData::ForgetUnasked(steady_clock::time_point Now) {
  for (auto Path = AskedAt_.begin(); Path != AskedAt_.end();) {
    if (Now - Path->second <= Options_.History) {
      ++Path;
      continue;
    }
    History_.Forget(Path->first);
    Path = AskedAt_.erase(Path);
  }
}

// The table is rendered once per refresh: every page that asks until the next one gets
// the same text.
void TWebData::RefreshProcesses() {
  ProcessesBody_ = JsonText(ProcessesJson(*Top_, Top_->Refresh()), -1);
}

TWebAnswer TWebData::Values(const TQueryParameters& Query) {
  if (Log_) return LogValues(Query);
  std::vector<std::string> Paths;
  std::int64_t Since = 0;
  for (const auto& [Name, Value] : Query) {
    if (Name == "counter") {
      Paths.push_back(Value);
      continue;
    }
    const std::optional<std::int64_t> Time = Name == "since" ? Milliseconds(Value) : std::nullopt;
    if (!Time) return BadQuery(ValuesUsage);
    Since = *Time;
  }
  if (Paths.empty() || Paths.size() > MaxPathsPerRequest) return BadQuery(ValuesUsage);
  const std::lock_guard<std::mutex> Guard(Lock_);
  Sampler_.Start(steady_clock::now() + Options_.Period);
  TJson Counters = TJson::array();
  for (const std::string& Path : Paths) {
    try {
      const std::string Text = TValueHistory::WatchedText(Path);
      History_.Watch(Text);
      AskedAt_[Text] = steady_clock::now();
      Counters.push_back(PathJson(Path, *History_.ValuesOf(Text, Since)));
    } catch (const std::exception& Error) {
      Counters.push_back({{"path", Path}, {"error", Error.what()}});
    }
  }
  TJson Document = {{"time", History_.LatestTime()},
                    {"interval", Options_.Period.count()},
                    {"history", Options_.History.count()},
                    {"counters", std::move(Counters)}};
  if (!SampleError_.empty()) Document["error"] = SampleError_;
  return JsonAnswer(Document);
}

TWebAnswer TWebData::LogValues(const TQueryParameters& Query) {
  std::vector<std::string> Paths;
  std::int64_t From = Log_->FirstTime();
  std::int64_t To = Log_->LastTime();
  std::int64_t Buckets = DefaultLogBuckets;
  for (const auto& [Name, Value] : Query) {
    if (Name == "counter") {
      Paths.push_back(Value);
      continue;
    }
    const std::optional<std::int64_t> Number = Milliseconds(Value);
    std::int64_t* Set = Name == "from"     ? &From
                        : Name == "to"     ? &To
                        : Name == "points" ? &Buckets
                                           : nullptr;
    if (!Number || !Set || (Set == &Buckets && *Number == 0)) return BadQuery(LogValuesUsage);
    *Set = *Number;
  }
  if (Paths.empty() || Paths.size() > MaxPathsPerRequest || From > To)
    return BadQuery(LogValuesUsage);
  const std::lock_guard<std::mutex> Guard(Lock_);
  const std::unique_lock<std::mutex> Walk = HoldReplayedLog();
  TJson Counters = TJson::array();
  for (TLogPathValues& Answer : Log_->Values(Paths, From, To, static_cast<std::size_t>(Buckets))) {
    Answer.Values.Error = Answer.Error;
    Counters.push_back(PathJson(Answer.Path, Answer.Values));
  }
  return JsonAnswer(
      {{"time", Log_->LastTime()},
       {"log",
        {{"first", Log_->FirstTime()}, {"last", Log_->LastTime()}, {"samples", Log_->Samples()}}},
       {"from", std::max(From, Log_->FirstTime())},
       {"to", std::min(To, Log_->LastTime())},
       {"counters", std::move(Counters)}});
}

TWebAnswer TWebData::Names() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  const std::unique_lock<std::mutex> Walk = HoldReplayedLog();
  TPerfData& Data = History_.Data();
  // With nothing watched, no sample renews the snapshot: the names come from a new one.
  if (History_.WatchedPaths().empty()) Data.Refresh();
  TJson Objects = TJson::array();
  for (const ObjectDump& Object : DumpBlock(Data, Titles_).Objects) {
    if (Object.Title.empty()) continue;
    TJson Counters = TJson::array();
    for (const CounterDump& Counter : Object.Counters)
      if (!Counter.Title.empty()) Counters.push_back(Counter.Title);
    TJson Instances = nullptr;
    if (Object.NumInstances != PERF_NO_INSTANCES) {
      Instances = TJson::array();
      for (const InstanceDump& Instance : Object.Instances) Instances.push_back(Instance.Name);
    }
    Objects.push_back({{"name", Object.Title},
                       {"counters", std::move(Counters)},
                       {"instances", std::move(Instances)}});
  }
  return JsonAnswer({{"objects", std::move(Objects)}});
}

TWebAnswer TWebData::Processes(const TQueryParameters& Query) {
  if (Log_) return LogProcesses(Query);
  if (!Query.empty()) return BadQuery(ProcessesUsage);
  const std::lock_guard<std::mutex> Guard(Lock_);
  Sampler_.Start(steady_clock::now() + Options_.Period);
  ProcessesAskedAt_ = steady_clock::now();
  if (ProcessesBody_.empty()) RefreshProcesses();
  return {200, ProcessesBody_};
}

TWebAnswer TWebData::LogProcesses(const TQueryParameters& Query) {
  std::int64_t At = Log_->LastTime();
  for (const auto& [Name, Value] : Query) {
    const std::optional<std::int64_t> Time = Name == "at" ? Milliseconds(Value) : std::nullopt;
    if (!Time) return BadQuery(LogProcessesUsage);
    At = *Time;
  }
  const std::lock_guard<std::mutex> Guard(Lock_);
  const std::unique_lock<std::mutex> Walk = HoldReplayedLog();
  const std::optional<std::string> Error = Log_->ShowProcessesAt(*Top_, At);
  TJson Document = ProcessesJson(*Top_, Error);
  Document["sample"] = Log_->Shown();
  Document["samples"] = Log_->Samples();
  return JsonAnswer(Document);
}

}  // namespace gaugery::cli
