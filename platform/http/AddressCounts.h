// The connections each client address holds open, bounded per address.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace gaugery::http {

class TAddressCounts;

// One connection's place in the count of its address, given back when it ends.
class TAddressSlot {
 public:
  TAddressSlot(std::shared_ptr<TAddressCounts> Counts, std::string Address);
  TAddressSlot(TAddressSlot&& Other) noexcept = default;
  TAddressSlot& operator=(TAddressSlot&&) = delete;
  ~TAddressSlot();

 private:
  std::shared_ptr<TAddressCounts> Counts_;
  std::string Address_;
};

class TAddressCounts : public std::enable_shared_from_this<TAddressCounts> {
 public:
  // WhenQuiet runs (on the thread that closes a connection) each time the connections,
  // having been many, fall back to a few: the moment to hand their memory back.
  explicit TAddressCounts(std::size_t Most, std::function<void()> WhenQuiet = {})
      : Most_(Most), WhenQuiet_(std::move(WhenQuiet)) {}

  // A place for one more connection of Address; null when it holds the most already.
  std::unique_ptr<TAddressSlot> Take(const std::string& Address);
  std::size_t Count(const std::string& Address) const;
  // The connections of all addresses.
  std::size_t Total() const;

 private:
  friend class TAddressSlot;
  // Whether the total just fell to the low-water mark after rising past the high one.
  bool Release(const std::string& Address);

  const std::size_t Most_;
  const std::function<void()> WhenQuiet_;
  mutable std::mutex Lock_;
  std::map<std::string, std::size_t> Counts_;
  std::size_t Total_ = 0;
  bool WasBusy_ = false;
};

}  // namespace gaugery::http
