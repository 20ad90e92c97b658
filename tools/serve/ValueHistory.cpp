#include "ValueHistory.h"

#include <algorithm>

#include "CommandLine.h"
#include "CounterPath.h"
#include "CounterSelection.h"
#include "DefaultKey.h"
#include "WatchHistory.h"
#include "framework/Exceptions.h"

namespace gaugery::cli {

namespace {

// File time of 1970-01-01 UTC.
constexpr std::int64_t UnixEpochFileTime = 116444736000000000;
constexpr std::int64_t FileTimePerMillisecond = 10000;

}  // namespace

std::int64_t UnixMilliseconds(std::int64_t FileTime) {
  return (FileTime - UnixEpochFileTime) / FileTimePerMillisecond;
}

std::int64_t FileTimeOfUnixMilliseconds(std::int64_t Milliseconds) {
  return Milliseconds * FileTimePerMillisecond + UnixEpochFileTime;
}

void TValueSeries::Add(TValuePoint Point) {
  if (Points_.size() < Capacity_) {
    if (Points_.empty()) Points_.reserve(Capacity_);
    Points_.push_back(Point);
    return;
  }
  Points_[Oldest_] = Point;
  Oldest_ = (Oldest_ + 1) % Capacity_;
}

std::vector<TValuePoint> TValueSeries::Since(std::int64_t Since) const {
  std::vector<TValuePoint> Later;
  for (std::size_t Step = 0; Step < Points_.size(); ++Step) {
    const TValuePoint& Point = Points_[(Oldest_ + Step) % Points_.size()];
    if (Point.Time > Since) Later.push_back(Point);
  }
  return Later;
}

std::int64_t TValueSeries::LatestTime() const {
  if (Points_.empty()) return 0;
  return Points_[(Oldest_ + Points_.size() - 1) % Points_.size()].Time;
}

// One watched path: its selection, the monitor item that samples it with the history of
// its records, and one series per instance the path has shown.
struct TValueHistory::TWatchedPath {
  TCounterSelection Selection;
  TPerfMonitorItem* Item = nullptr;
  TWatchHistory Records;
  std::string Unit;
  std::string Error;
  // Samples taken since the path is watched; the first is the baseline.
  std::uint64_t Samples = 0;
  std::map<std::string, TValueSeries> Series;

  ~TWatchedPath() { delete Item; }
};

TValueHistory::TValueHistory(std::chrono::milliseconds History, std::size_t Capacity)
    : Sample_(""),
      Monitor_(nullptr),
      History_(History),
      Capacity_(std::clamp<std::size_t>(Capacity, 2, MaxSeriesCapacity)) {
  Monitor_.SetLocaleID("009");
}

TValueHistory::~TValueHistory() = default;

std::string TValueHistory::WatchedText(const std::string& Path) {
  if (!IsCounterPath(Path)) throw UsageError("invalid counter path \"" + Path + "\"");
  const TCounterPath Parsed = ParseCounterPath(Path);
  if (!Parsed.Computer.empty())
    throw Exception("the web view shows this computer only, not \\\\" + Parsed.Computer);
  return PathText(Parsed);
}

void TValueHistory::Watch(const std::string& Path) {
  const std::string Text = WatchedText(Path);
  if (Paths_.contains(Text)) return;
  if (Paths_.size() >= MaxWatchedPaths)
    throw Exception("at most " + std::to_string(MaxWatchedPaths) + " counters are watched at once");
  auto Watched = std::make_unique<TWatchedPath>();
  Watched->Selection = SelectionsOf({Text}, "").front();
  Watched->Item = Monitor_.Items()->Add();
  // A name the tables lack frees the item again with the watched path.
  Watched->Item->SetObjectName(Watched->Selection.Object);
  Watched->Item->SetCounterName(Watched->Selection.Counters.front());
  Watched->Item->SetObjectKey(DefaultObjectKey(*Watched->Item));
  Watched->Unit = Watched->Item->Suffix();
  Paths_.emplace(Text, std::move(Watched));
}

void TValueHistory::Forget(const std::string& Path) {
  const auto Found = Paths_.find(Path);
  if (Found == Paths_.end()) return;
  SeriesCount_ -= Found->second->Series.size();
  Paths_.erase(Found);
}

bool TValueHistory::IsWatched(const std::string& Path) const { return Paths_.contains(Path); }

std::vector<std::string> TValueHistory::WatchedPaths() const {
  std::vector<std::string> Watched;
  for (const auto& [Text, Path] : Paths_) Watched.push_back(Text);
  return Watched;
}

void TValueHistory::Collect() {
  Monitor_.Collect();
  CheckLatestSample(Sample_.Data());
  const std::int64_t Time = UnixMilliseconds(Monitor_.SysTime());
  // A sample of the time of the one before (a replay's last block, served again) is the
  // same sample: it adds no point, though the records take it in as watch's do.
  const bool NewTime = Time != LatestTime_;
  LatestTime_ = Time;
  for (auto& [Text, Watched] : Paths_) {
    try {
      RecordPath(*Watched, NewTime ? std::optional<std::int64_t>(Time) : std::nullopt);
      Watched->Error.clear();
    } catch (const std::exception& Error) {
      Watched->Error = Error.what();
    }
  }
  DropStaleSeries(LatestTime_);
}

// The value of every instance the path shows, as watch computes it for the path, as
// points of Time (none without it).
void TValueHistory::RecordPath(TWatchedPath& Watched, std::optional<std::int64_t> Time) {
  TPerfMonitorItem& Item = *Watched.Item;
  if (Item.HasInstances()) Watched.Records.Observe(Item, Item.InstanceCount());
  if (Watched.Samples++ == 0 || !Time) return;
  const TCounterSelection& Selection = Watched.Selection;
  for (const TShownInstance& Instance : ShownInstances(*Item.Counter(), Selection)) {
    const TPerfMonitorCounterValue* Record =
        Instance.Index < 0 ? Item.InstanceValues(0) : Item.RecordOfInstance(Instance.Index);
    std::optional<double> Value;
    if (Record != nullptr && SpansTime(*Record, false) &&
        (Instance.Index < 0 || Watched.Records.CurrentSound(*Record)))
      Value = static_cast<double>(Record->AsFloat());
    const std::string Label = ValuePath(Selection, Instance, Selection.Counters.front());
    auto Series = Watched.Series.find(Label);
    if (Series == Watched.Series.end()) {
      if (SeriesCount_ >= MaxSeries) continue;
      Series = Watched.Series.emplace(Label, TValueSeries(Capacity_)).first;
      ++SeriesCount_;
    }
    Series->second.Add({*Time, Value});
  }
}

// Series of instances gone for longer than the history.
void TValueHistory::DropStaleSeries(std::int64_t Time) {
  const std::int64_t Oldest = Time - History_.count();
  for (auto& [Text, Watched] : Paths_) {
    SeriesCount_ -= std::erase_if(Watched->Series, [Oldest](const auto& Entry) {
      return Entry.second.LatestTime() < Oldest;
    });
  }
}

std::int64_t TValueHistory::LatestTime() const { return LatestTime_; }

std::optional<TPathValues> TValueHistory::ValuesOf(const std::string& Path,
                                                   std::int64_t Since) const {
  const auto Found = Paths_.find(Path);
  if (Found == Paths_.end()) return std::nullopt;
  const TWatchedPath& Watched = *Found->second;
  TPathValues Values{Watched.Unit, Watched.Error, {}};
  for (const auto& [Label, Series] : Watched.Series)
    Values.Series.emplace_back(Label, Series.Since(Since));
  return Values;
}

}  // namespace gaugery::cli
