#include "http/AddressCounts.h"

namespace gaugery::http {

TAddressSlot::TAddressSlot(std::shared_ptr<TAddressCounts> Counts, std::string Address)
    : Counts_(std::move(Counts)), Address_(std::move(Address)) {}

TAddressSlot::~TAddressSlot() {
  if (Counts_) Counts_->Release(Address_);
}

std::unique_ptr<TAddressSlot> TAddressCounts::Take(const std::string& Address) {
  {
    const std::lock_guard<std::mutex> Guard(Lock_);
    std::size_t& Count = Counts_[Address];
    if (Count >= Most_) return nullptr;
    ++Count;
  }
  return std::make_unique<TAddressSlot>(shared_from_this(), Address);
}

std::size_t TAddressCounts::Count(const std::string& Address) const {
  const std::lock_guard<std::mutex> Guard(Lock_);
  const auto At = Counts_.find(Address);
  return At == Counts_.end() ? 0 : At->second;
}

void TAddressCounts::Release(const std::string& Address) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  const auto At = Counts_.find(Address);
  if (At != Counts_.end() && --At->second == 0) Counts_.erase(At);
}

}  // namespace gaugery::http
