#include "http/AddressCounts.h"

namespace gaugery::http {

namespace {

// Past this many connections the server counts as busy; once they fall back to the low
// mark, it is quiet again. Returning memory costs a walk of the heap, so it is not done
// at every close of a lightly used server.
constexpr std::size_t BusyConnections = 64;
constexpr std::size_t QuietConnections = 4;

}  // namespace

TAddressSlot::TAddressSlot(std::shared_ptr<TAddressCounts> Counts, std::string Address)
    : Counts_(std::move(Counts)), Address_(std::move(Address)) {}

TAddressSlot::~TAddressSlot() {
  if (Counts_ && Counts_->Release(Address_) && Counts_->WhenQuiet_) Counts_->WhenQuiet_();
}

std::unique_ptr<TAddressSlot> TAddressCounts::Take(const std::string& Address) {
  {
    const std::lock_guard<std::mutex> Guard(Lock_);
    std::size_t& Count = Counts_[Address];
    if (Count >= Most_) return nullptr;
    ++Count;
    if (++Total_ > BusyConnections) WasBusy_ = true;
  }
  return std::make_unique<TAddressSlot>(shared_from_this(), Address);
}

std::size_t TAddressCounts::Count(const std::string& Address) const {
  const std::lock_guard<std::mutex> Guard(Lock_);
  const auto At = Counts_.find(Address);
  return At == Counts_.end() ? 0 : At->second;
}

std::size_t TAddressCounts::Total() const {
  const std::lock_guard<std::mutex> Guard(Lock_);
  return Total_;
}

bool TAddressCounts::Release(const std::string& Address) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  const auto At = Counts_.find(Address);
  if (At == Counts_.end()) return false;
  if (--At->second == 0) Counts_.erase(At);
  --Total_;
  if (!WasBusy_ || Total_ > QuietConnections) return false;
  WasBusy_ = false;
  return true;
}

}  // namespace gaugery::http
