// One connection of the HTTP server: reads its requests one after the other, within the
// server's limits, hands each to its route and sends the answers. Runs as a coroutine
// whose handlers never run at the same time (see TServingContexts); all it shares with
// the others is the read-only setup.
#pragma once

#include <boost/asio/awaitable.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <memory>
#include <optional>

#include "http/AddressCounts.h"
#include "http/HttpRoutes.h"
#include "http/HttpServer.h"

namespace gaugery::http {

// What the program set up before the server runs; connections only read it.
struct TServerSetup {
  TServerLimits Limits;
  TRoutes Routes;
  TFilter Filter;
  TLogger Logger;
  THeaders DefaultHeaders;
};

// A request as read from the connection.
struct TIncoming {
  TRequest Request;  // its Method empty when the head could not be read
  int Refusal = 0;   // 400 or 413: answered so without routing, and the connection ends
  bool KeepAlive = false;
};

class TConnection : public std::enable_shared_from_this<TConnection> {
 public:
  TConnection(boost::asio::ip::tcp::socket Socket, std::shared_ptr<const TServerSetup> Setup,
              std::unique_ptr<TAddressSlot> Slot, std::string Client);

  // Serves the connection until it ends.
  void Start();
  // The answer of the request being handled; from any thread.
  void Deliver(TResponse Response);

 private:
  // Self keeps the connection alive for as long as it is served.
  boost::asio::awaitable<void> Serve(std::shared_ptr<TConnection> Self);
  boost::asio::awaitable<bool> AwaitNextRequest();
  // Nothing when the connection ended or ran out of time first.
  boost::asio::awaitable<std::optional<TIncoming>> ReadRequest();
  boost::asio::awaitable<TResponse> Answer(const TRequest& Request);
  boost::asio::awaitable<bool> Send(const TRequest& Request, const TResponse& Response,
                                    bool KeepAlive);
  // Ends sending, and reads what the client still sends until it closes too.
  boost::asio::awaitable<void> Drain();
  void Close();

  boost::beast::tcp_stream Stream_;
  boost::beast::flat_buffer Buffer_;
  boost::asio::steady_timer AnswerReady_;
  std::optional<TResponse> Pending_;
  const std::shared_ptr<const TServerSetup> Setup_;
  const std::unique_ptr<TAddressSlot> Slot_;
  const std::string Client_;
  unsigned Version_ = 11;
};

}  // namespace gaugery::http
