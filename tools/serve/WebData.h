// The data of the web view, for any HTTP transport: the values of the counter paths
// pages ask for (/api/values), the names the add-counter box completes from
// (/api/names) and the process table (/api/processes), each answered as JSON.
//
// Live, a thread of its own, started by the first request, samples every period: the watched
// paths, and the process table while a page has asked for it within the last few
// periods. A path is watched from the first request that names it until no request has
// named it for the history; with nothing watched or asked for, no sample is taken. A
// counter log in service is shown whole instead (TLogView): values over any range of
// it, and the process table at any of its samples, read from the log for each request.
// Thread-safe: one lock serialises the samples and the answers, which share this
// computer's snapshot; the name tables, which every component of the process shares
// without a lock, are taken when the web data is made and held until it ends, so that no
// request takes or frees them.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "IntervalThread.h"
#include "PerfTitles.h"
#include "ValueHistory.h"

namespace gaugery::cli {

class TLogView;
class TTopSampler;

struct TWebAnswer {
  int Status = 200;
  std::string Body;
};

// The query of a request, decoded, in the order it came.
using TQueryParameters = std::vector<std::pair<std::string, std::string>>;

// Paths one request of /api/values may name.
inline constexpr std::size_t MaxPathsPerRequest = 16;

struct TWebOptions {
  // The server's interval; the web view samples at WebSamplePeriod of it and History.
  std::chrono::milliseconds Period{1000};
  std::chrono::milliseconds History{std::chrono::minutes(10)};
};

class TWebData {
 public:
  explicit TWebData(TWebOptions Options);
  // Stops the sampling thread.
  ~TWebData();
  TWebData(const TWebData&) = delete;
  TWebData& operator=(const TWebData&) = delete;

  // /api/values?counter=PATH[&counter=PATH...][&since=MILLISECONDS]: for each path in
  // the order asked, its unit and the points of each of its instances later than since
  // (milliseconds since 1970, default 0), or why it has none. 400 for another query.
  // Of a log: ...&from=MILLISECONDS&to=MILLISECONDS&points=BUCKETS instead of since, the
  // points from from to to (default: the whole log) thinned to that many buckets
  // (default DefaultLogBuckets), with the log's extent.
  TWebAnswer Values(const TQueryParameters& Query);
  // /api/names: every object of the latest sample with its counters and, for an object
  // with instances, their names.
  TWebAnswer Names();
  // /api/processes: the columns and rows of the process table at the latest sample.
  // 400 for a query. Of a log: /api/processes?at=MILLISECONDS, the table at the first
  // sample at or after at (default: the last), with its position in the log.
  TWebAnswer Processes(const TQueryParameters& Query = {});

  // One round of the sampling thread, for tests that do not wait for it.
  void SampleNow();

 private:
  // One step of the sampling thread: a sample, and when the next is due.
  std::chrono::steady_clock::time_point SampleAndSchedule(
      std::chrono::steady_clock::time_point Due);
  // The caller holds Lock_.
  void Sample(std::chrono::steady_clock::time_point Now);
  void ForgetUnasked(std::chrono::steady_clock::time_point Now);
  void RefreshProcesses();
  // The answers for a counter log in service.
  TWebAnswer LogValues(const TQueryParameters& Query);
  TWebAnswer LogProcesses(const TQueryParameters& Query);

  const TWebOptions Options_;
  std::mutex Lock_;
  TValueHistory History_;
  TPerfTitles Titles_;
  std::map<std::string, std::chrono::steady_clock::time_point> AskedAt_;
  std::string SampleError_;
  std::unique_ptr<TTopSampler> Top_;
  std::chrono::steady_clock::time_point ProcessesAskedAt_;
  // The answer of /api/processes for the latest refresh; empty before the first.
  std::string ProcessesBody_;
  // For a counter log in service, which the web view shows whole instead of sampling.
  std::unique_ptr<TLogView> Log_;
  // Last, so that it stops before the rest goes.
  TIntervalThread Sampler_;
};

// The web view's sampling period for the server's interval and the history: that
// interval, but at least MinimumWebPeriod, so that an interval of 0 does not sample
// without pause, and long enough that the history fits the points a series keeps.
inline constexpr std::chrono::milliseconds MinimumWebPeriod{100};
std::chrono::milliseconds WebSamplePeriod(std::chrono::milliseconds Interval,
                                          std::chrono::milliseconds History);

// The number of points a series keeps for History at one sample every Period.
std::size_t SeriesCapacity(std::chrono::milliseconds History, std::chrono::milliseconds Period);

}  // namespace gaugery::cli
