// The event loops that serve the connections, and the executor each connection runs on.
#pragma once

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace gaugery::http {

// Handlers of one connection must never run at the same time: each serving thread runs
// a context of its own and the connections are dealt out to the contexts in turn. No
// strands are needed, whose shared locks the loop would otherwise make one at a time
// among the connections' memory.
class TServingContexts {
 public:
  explicit TServingContexts(unsigned Threads);
  ~TServingContexts();
  TServingContexts(const TServingContexts&) = delete;
  TServingContexts& operator=(const TServingContexts&) = delete;

  // Where accepting, timers and name lookups run.
  boost::asio::io_context& Main() { return *Contexts_.front(); }
  std::vector<boost::asio::io_context*> All() const;
  // The executor for the next connection.
  boost::asio::any_io_executor NextExecutor();

  // Runs the loops on Threads threads of their own until Stop; the calling thread waits.
  void Run();
  // May be called from any thread, also before Run.
  void Stop();
  // Hands the memory of ended connections back to the system. The allocator keeps a
  // cache per thread that it empties only when the thread ends, so each serving thread
  // is first replaced by a fresh one on the same loop. May be called from any thread.
  void ReturnFreedMemory();

 private:
  using TWorkGuard = boost::asio::executor_work_guard<boost::asio::io_context::executor_type>;

  // Starts the thread of context Index; Previous, the one it replaces, is joined first.
  // Lock_ is held.
  void StartThread(std::size_t Index, std::thread Previous);
  void Serve(std::size_t Index, std::thread Previous);

  // Declared before the contexts: a connection destroyed with its context may still
  // ask for its memory to be returned.
  std::mutex Lock_;
  std::condition_variable Stopped_;
  bool Stopping_ = false;
  std::vector<std::unique_ptr<boost::asio::io_context>> Contexts_;
  // A context of its own has no work until a first connection comes to it.
  std::vector<TWorkGuard> Waiting_;
  std::vector<std::thread> Threads_;  // one per context, under Lock_
  std::size_t Dealt_ = 0;
};

}  // namespace gaugery::http
