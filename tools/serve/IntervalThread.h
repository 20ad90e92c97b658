// A thread that runs a step again and again until stopped, waiting before each run until
// the time the run before named. It starts at the first Start rather than when it is
// made: started by a request thread of the server, it shares that thread's signal mask,
// which leaves the stop signals to the thread that awaits them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace gaugery::cli {

class TIntervalThread {
 public:
  using TClock = std::chrono::steady_clock;
  // Step runs on the thread, without the thread's lock held; it receives the time it
  // was due and returns when it is due next.
  using TStep = std::function<TClock::time_point(TClock::time_point Due)>;

  explicit TIntervalThread(TStep Step);
  // Stops the thread, waiting for a step under way.
  ~TIntervalThread();
  TIntervalThread(const TIntervalThread&) = delete;
  TIntervalThread& operator=(const TIntervalThread&) = delete;

  // Starts the thread, its first step due at FirstDue, unless it runs already; called by
  // any thread.
  void Start(TClock::time_point FirstDue);

 private:
  void Run(TClock::time_point Due);

  const TStep Step_;
  std::mutex Lock_;
  std::condition_variable Wake_;
  bool Stopping_ = false;
  std::thread Thread_;
};

}  // namespace gaugery::cli
