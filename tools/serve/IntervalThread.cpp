#include "IntervalThread.h"

#include <utility>

namespace gaugery::cli {

TIntervalThread::TIntervalThread(TStep Step) : Step_(std::move(Step)) {}

TIntervalThread::~TIntervalThread() {
  {
    const std::lock_guard<std::mutex> Guard(Lock_);
    Stopping_ = true;
  }
  Wake_.notify_all();
  if (Thread_.joinable()) Thread_.join();
}

void TIntervalThread::Start(TClock::time_point FirstDue) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  if (!Thread_.joinable() && !Stopping_) Thread_ = std::thread([this, FirstDue] { Run(FirstDue); });
}

void TIntervalThread::Run(TClock::time_point Due) {
  std::unique_lock<std::mutex> Guard(Lock_);
  while (!Wake_.wait_until(Guard, Due, [this] { return Stopping_; })) {
    Guard.unlock();
    Due = Step_(Due);
    Guard.lock();
  }
}

}  // namespace gaugery::cli
