#include "http/ServingContexts.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/strand.hpp>
#include <algorithm>
#include <thread>

namespace gaugery::http {

namespace {

namespace asio = boost::asio;

#ifdef _WIN32
constexpr bool ContextPerThread = false;
#else
constexpr bool ContextPerThread = true;
#endif

}  // namespace

TServingContexts::TServingContexts(unsigned Threads) : Threads_(std::max(Threads, 1u)) {
  const unsigned Count = ContextPerThread ? Threads_ : 1;
  // A context run by one thread can skip its locks.
  const int ConcurrencyHint = ContextPerThread ? 1 : BOOST_ASIO_CONCURRENCY_HINT_DEFAULT;
  for (unsigned I = 0; I < Count; ++I) Contexts_.push_back(std::make_unique<asio::io_context>(ConcurrencyHint));
}

std::vector<asio::io_context*> TServingContexts::All() const {
  std::vector<asio::io_context*> Contexts;
  for (const auto& Context : Contexts_) Contexts.push_back(Context.get());
  return Contexts;
}

asio::any_io_executor TServingContexts::NextExecutor() {
  if (!ContextPerThread) return asio::make_strand(Main());
  return Contexts_[Dealt_++ % Contexts_.size()]->get_executor();
}

void TServingContexts::Run() {
  std::vector<std::thread> Helpers;
  for (unsigned I = 1; I < Threads_; ++I) {
    asio::io_context& Context = *Contexts_[I % Contexts_.size()];
    // A context of its own has no work until a first connection comes to it.
    Helpers.emplace_back([&Context, Waiting = asio::make_work_guard(Context)] { Context.run(); });
  }
  Main().run();
  for (std::thread& Helper : Helpers) Helper.join();
}

void TServingContexts::Stop() {
  for (const auto& Context : Contexts_) Context->stop();
}

}  // namespace gaugery::http
