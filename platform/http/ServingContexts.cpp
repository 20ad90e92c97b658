#include "http/ServingContexts.h"

#include <boost/asio/executor_work_guard.hpp>
#include <algorithm>
#include <thread>

namespace gaugery::http {

namespace asio = boost::asio;

TServingContexts::TServingContexts(unsigned Threads) : Threads_(std::max(Threads, 1u)) {
  // A context run by one thread can skip its locks.
  constexpr int OneThread = 1;
  for (unsigned I = 0; I < Threads_; ++I) Contexts_.push_back(std::make_unique<asio::io_context>(OneThread));
}

std::vector<asio::io_context*> TServingContexts::All() const {
  std::vector<asio::io_context*> Contexts;
  for (const auto& Context : Contexts_) Contexts.push_back(Context.get());
  return Contexts;
}

asio::any_io_executor TServingContexts::NextExecutor() {
  return Contexts_[Dealt_++ % Contexts_.size()]->get_executor();
}

void TServingContexts::Run() {
  std::vector<std::thread> Helpers;
  for (unsigned I = 1; I < Threads_; ++I) {
    asio::io_context& Context = *Contexts_[I];
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
