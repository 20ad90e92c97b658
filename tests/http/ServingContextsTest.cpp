#include "http/ServingContexts.h"

#include <gtest/gtest.h>

#include <boost/asio/post.hpp>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace gaugery::http {
namespace {

namespace asio = boost::asio;

TEST(ServingContexts, StopsBeforeRunAndSpreadsConnectionsOverEveryServingThread) {
  TServingContexts Stopped(3);
  Stopped.Stop();
  Stopped.Run();  // returns at once

  constexpr unsigned Threads = 3;
  TServingContexts Contexts(Threads);
  std::mutex Lock;
  std::set<std::thread::id> Ran;
  constexpr int Connections = 30;
  std::atomic<bool> Busy[Connections] = {};
  std::atomic<bool> Overlapped{false};
  std::atomic<int> Done{0};
  for (int I = 0; I < Connections; ++I) {
    // Two handlers of one connection: they must never run at the same time.
    const asio::any_io_executor Executor = Contexts.NextExecutor();
    for (int Handler = 0; Handler < 2; ++Handler)
      asio::post(Executor, [&, I] {
        if (Busy[I].exchange(true)) Overlapped = true;
        {
          const std::lock_guard<std::mutex> Guard(Lock);
          Ran.insert(std::this_thread::get_id());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        Busy[I] = false;
        if (++Done == 2 * Connections) Contexts.Stop();
      });
  }
  Contexts.Run();
  EXPECT_EQ(Done, 2 * Connections);
  EXPECT_EQ(Ran.size(), Threads);
  EXPECT_FALSE(Overlapped) << "two handlers of one connection ran at the same time";
}

}  // namespace
}  // namespace gaugery::http
