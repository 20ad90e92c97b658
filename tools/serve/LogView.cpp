#include "LogView.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <map>

#include "Replay.h"
#include "perf/ReplayProvider.h"

namespace gaugery::cli {

TThinnedSeries::TThinnedSeries(std::int64_t From, std::int64_t To, std::size_t Buckets)
    : From_(From), To_(To), Buckets_(std::max<std::size_t>(Buckets, 1)) {}

void TThinnedSeries::Add(const TValuePoint& Point) {
  if (Point.Time < From_ || Point.Time > To_) return;
  // Milliseconds of a range of centuries times the buckets still fit 64 bits.
  const auto Offset = static_cast<std::uint64_t>(Point.Time - From_);
  const auto Span = static_cast<std::uint64_t>(To_ - From_) + 1;
  const auto Bucket = static_cast<std::size_t>(Offset * Buckets_ / Span);
  if (Bucket != Current_) {
    CloseBucket();
    Current_ = Bucket;
  }
  if (!Point.Value) {
    if (!FirstNone_) FirstNone_ = Point;
    return;
  }
  if (!Least_ || *Point.Value < *Least_->Value) Least_ = Point;
  if (!Greatest_ || *Point.Value > *Greatest_->Value) Greatest_ = Point;
}

void TThinnedSeries::CloseBucket() {
  if (Least_) {
    const bool LeastFirst = Least_->Time <= Greatest_->Time;
    Thinned_.push_back(LeastFirst ? *Least_ : *Greatest_);
    if (Least_->Time != Greatest_->Time) Thinned_.push_back(LeastFirst ? *Greatest_ : *Least_);
  } else if (FirstNone_) {
    Thinned_.push_back(*FirstNone_);
  }
  Least_.reset();
  Greatest_.reset();
  FirstNone_.reset();
}

std::vector<TValuePoint> TThinnedSeries::Finish() {
  CloseBucket();
  return std::move(Thinned_);
}

TLogView::TLogView() {
  const TReplayedWindow Window = ReplayedLogWindow();
  FirstTime_ = UnixMilliseconds(Window.FirstTime);
  LastTime_ = UnixMilliseconds(Window.LastTime);
}

std::vector<TLogPathValues> TLogView::Values(const std::vector<std::string>& Paths,
                                             std::int64_t From, std::int64_t To,
                                             std::size_t Buckets) {
  Buckets = std::clamp<std::size_t>(Buckets, 1, MaxLogBuckets);
  From = std::max(From, FirstTime_);
  To = std::min(To, LastTime_);
  // No series of the walk is older than the log (whose clock may have gone back), and
  // each holds only its newest points.
  TValueHistory History(std::chrono::milliseconds(std::abs(LastTime_ - FirstTime_) + 1), 2);
  std::vector<TLogPathValues> Answers;
  std::vector<std::string> Watched;
  for (const std::string& Path : Paths) {
    Answers.push_back({Path, "", {}});
    Watched.emplace_back();
    try {
      const std::string Text = TValueHistory::WatchedText(Path);
      History.Watch(Text);
      Watched.back() = Text;
    } catch (const std::exception& Error) {
      Answers.back().Error = Error.what();
    }
  }
  std::map<std::string, std::map<std::string, TThinnedSeries>> Thinned;
  const std::string WalkError =
      Walk(History, From, To, [&](const std::string& Text, const TPathValues& Latest) {
        auto& Series = Thinned[Text];
        for (const auto& [Label, Points] : Latest.Series) {
          auto& Thin = Series.try_emplace(Label, From, To, Buckets).first->second;
          for (const TValuePoint& Point : Points) Thin.Add(Point);
        }
      });
  for (std::size_t Index = 0; Index < Answers.size(); ++Index) {
    if (Watched[Index].empty()) continue;
    TLogPathValues& Answer = Answers[Index];
    const TPathValues Last = *History.ValuesOf(Watched[Index], 0);
    Answer.Values.Unit = Last.Unit;
    Answer.Error = WalkError.empty() ? Last.Error : WalkError;
    for (auto& [Label, Series] : Thinned[Watched[Index]])
      Answer.Values.Series.emplace_back(Label, Series.Finish());
  }
  return Answers;
}

// Collects from the sample before the first at or after From (the baseline) to the
// first after To, handing each watched path's new points to Take; the error that ended
// the walk, if any.
std::string TLogView::Walk(TValueHistory& History, std::int64_t From, std::int64_t To,
                           const TTake& Take) {
  if (From > To) return "";
  const std::uint64_t Start = ReplayedSampleAt(FileTimeOfUnixMilliseconds(From));
  RestartReplayedSamples();
  if (Start > 2) SkipReplayedSamples(Start - 2);
  try {
    History.Collect();
    std::int64_t Seen = History.LatestTime();
    while (!ReplayedLogEnded() && Seen <= To) {
      History.Collect();
      for (const std::string& Text : History.WatchedPaths())
        Take(Text, *History.ValuesOf(Text, Seen));
      Seen = std::max(Seen, History.LatestTime());
    }
  } catch (const std::exception& Error) {
    return Error.what();
  }
  return "";
}

std::optional<std::string> TLogView::ShowProcessesAt(TTopSampler& Sampler, std::int64_t At) {
  At = std::clamp(At, FirstTime_, LastTime_);
  Steps_.Show(Sampler, ReplayedSampleAt(FileTimeOfUnixMilliseconds(At)));
  return Steps_.Error();
}

}  // namespace gaugery::cli
