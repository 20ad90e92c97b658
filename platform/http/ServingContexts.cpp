#include "http/ServingContexts.h"

#include <boost/asio/post.hpp>
#include <algorithm>

#include "http/FreedMemory.h"

namespace gaugery::http {

namespace asio = boost::asio;

TServingContexts::TServingContexts(unsigned Threads) {
  // A context run by one thread can skip its locks.
  constexpr int OneThread = 1;
  for (unsigned I = 0; I < std::max(Threads, 1u); ++I) {
    Contexts_.push_back(std::make_unique<asio::io_context>(OneThread));
    Waiting_.push_back(asio::make_work_guard(*Contexts_.back()));
  }
  Threads_.resize(Contexts_.size());
}

TServingContexts::~TServingContexts() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  Stopping_ = true;
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
  std::unique_lock<std::mutex> Guard(Lock_);
  for (std::size_t I = 0; I < Contexts_.size(); ++I) StartThread(I, {});
  Stopped_.wait(Guard, [this] { return Stopping_; });
  // No thread starts once stopping: these are the last ones.
  std::vector<std::thread> Last = std::move(Threads_);
  Guard.unlock();
  for (std::thread& Thread : Last) Thread.join();
}

void TServingContexts::Stop() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  Stopping_ = true;
  for (const auto& Context : Contexts_) Context->stop();
  Stopped_.notify_all();
}

void TServingContexts::ReturnFreedMemory() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  if (Stopping_) return;
  // Each thread leaves its loop after what it is doing, and its successor returns the
  // memory once the thread has ended.
  for (const auto& Context : Contexts_) asio::post(*Context, [Context = Context.get()] { Context->stop(); });
}

void TServingContexts::StartThread(std::size_t Index, std::thread Previous) {
  Threads_[Index] = std::thread(&TServingContexts::Serve, this, Index, std::move(Previous));
}

void TServingContexts::Serve(std::size_t Index, std::thread Previous) {
  asio::io_context& Context = *Contexts_[Index];
  if (Previous.joinable()) {
    Previous.join();
    http::ReturnFreedMemory();
  }
  {
    const std::lock_guard<std::mutex> Guard(Lock_);
    if (Stopping_) return;
    Context.restart();
  }
  Context.run();
  // Stopped, or asked to make way for a fresh thread.
  const std::lock_guard<std::mutex> Guard(Lock_);
  if (!Stopping_) StartThread(Index, std::move(Threads_[Index]));
}

}  // namespace gaugery::http
