#include "http/ServingContexts.h"

#include <gtest/gtest.h>

#include <boost/asio/post.hpp>
#include <atomic>
#include <future>
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

// Whether the thread that runs this was seen by an earlier handler.
thread_local bool SeenBefore = false;

TEST(ServingContexts, ReturningMemoryReplacesEveryThreadAndKeepsTheirWork) {
  TServingContexts Contexts(2);
  std::thread Runner([&] { Contexts.Run(); });
  asio::io_context& Helper = *Contexts.All()[1];
  const auto OnItsThread = [&](auto Work) {
    std::promise<bool> Done;
    asio::post(Helper, [&] { Done.set_value(Work()); });
    return Done.get_future().get();
  };
  EXPECT_TRUE(OnItsThread([] { return SeenBefore = true; }));
  Contexts.ReturnFreedMemory();
  std::atomic<int> Ran{0};
  for (int I = 0; I < 100; ++I) asio::post(Helper, [&] { ++Ran; });
  EXPECT_FALSE(OnItsThread([] { return SeenBefore; })) << "the loop runs on a fresh thread";
  EXPECT_EQ(Ran, 100) << "work queued meanwhile is done";
  Contexts.Stop();
  Runner.join();
}

TEST(ServingContexts, StopsWhileThreadsAreReplaced) {
  for (int Round = 0; Round < 20; ++Round) {
    TServingContexts Contexts(3);
    std::thread Runner([&] { Contexts.Run(); });
    for (int I = 0; I <= Round % 4; ++I) Contexts.ReturnFreedMemory();
    Contexts.Stop();
    Runner.join();  // hangs if a replacement thread outlives the stop
    Contexts.ReturnFreedMemory();  // after the stop: nothing to do
  }
}

}  // namespace
}  // namespace gaugery::http
