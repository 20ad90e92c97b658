// The event loops that serve the connections, and the executor each connection runs on.
#pragma once

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/io_context.hpp>
#include <memory>
#include <vector>

namespace gaugery::http {

// Handlers of one connection must never run at the same time: each serving thread runs
// a context of its own and the connections are dealt out to the contexts in turn. No
// strands are needed, whose shared locks the loop would otherwise make one at a time
// among the connections' memory.
class TServingContexts {
 public:
  explicit TServingContexts(unsigned Threads);

  // Where accepting, timers and name lookups run.
  boost::asio::io_context& Main() { return *Contexts_.front(); }
  std::vector<boost::asio::io_context*> All() const;
  // The executor for the next connection.
  boost::asio::any_io_executor NextExecutor();

  // Runs the loops on the calling thread and Threads - 1 more, until Stop.
  void Run();
  // May be called from any thread, also before Run.
  void Stop();

 private:
  unsigned Threads_;
  std::vector<std::unique_ptr<boost::asio::io_context>> Contexts_;
  std::size_t Dealt_ = 0;
};

}  // namespace gaugery::http
