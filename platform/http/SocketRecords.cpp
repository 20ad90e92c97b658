#include "http/SocketRecords.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <thread>

namespace gaugery::http {

namespace {

namespace asio = boost::asio;

// Records made at once: a few pages' worth.
constexpr std::size_t BatchSize = 256;

}  // namespace

TSocketRecords::TSocketRecords(std::vector<asio::io_context*> Contexts)
    : Contexts_(std::move(Contexts)) {}

void TSocketRecords::ReserveFor(std::size_t Connections) {
#ifndef _WIN32  // a completion port keeps no record per socket
  while (Connections >= Reserved_) {
    std::thread([this] { MakeBatch(); }).join();
    Reserved_ += BatchSize;
  }
#else
  (void)Connections;
#endif
}

void TSocketRecords::MakeBatch() {
  // Each socket opened registers with its context's loop, which makes a record; closing
  // them all at the end returns the records to the loop's pool.
  std::vector<asio::ip::tcp::socket> Spares;
  Spares.reserve(BatchSize);
  for (std::size_t I = 0; I < BatchSize; ++I) {
    boost::system::error_code Error;
    Spares.emplace_back(*Contexts_[I % Contexts_.size()]).open(asio::ip::tcp::v4(), Error);
    if (Error) return;  // out of descriptors: the records come one at a time then
  }
}

}  // namespace gaugery::http
