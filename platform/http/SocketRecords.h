// Where the event loop's per-socket records lie.
#pragma once

#include <cstddef>
#include <vector>

namespace boost::asio {
class io_context;
}

namespace gaugery::http {

// On Linux the event loop keeps a record for every socket it has registered and reuses
// it for a later socket, but never frees it. Made one at a time as connections arrive,
// the records lie among the connections' memory, and after a burst of connections each
// keeps a page of that memory resident. TSocketRecords has them made ahead of need, in
// batches, by a short-lived thread: from a heap that holds nothing else, where they lie
// together.
class TSocketRecords {
 public:
  explicit TSocketRecords(std::vector<boost::asio::io_context*> Contexts);

  // Makes sure that records for more than Connections sockets, spread evenly over the
  // contexts, are there. Called by one thread at a time.
  void ReserveFor(std::size_t Connections);

 private:
  void MakeBatch();

  std::vector<boost::asio::io_context*> Contexts_;
  std::size_t Reserved_ = 0;
};

}  // namespace gaugery::http
