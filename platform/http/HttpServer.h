// An event-driven HTTP/1.1 server: a few threads serve every connection, so that
// clients that send slowly, read slowly or stay idle hold a socket each and nothing
// more. The program registers a handler per path; each connection is bounded in time
// and size (TServerLimits), and a client address holds a bounded number of them.
//
// A handler answers through its TResponder, at once or later from any thread (while
// it waits for data, say); a responder dropped unanswered answers 500. HEAD is routed
// as GET and answered without the body. A request that cannot be read is answered 400
// and one with a body over the limit 413, without reading it; both end the connection.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "http/HttpMessages.h"

namespace gaugery::http {

struct TServerLimits {
  // From the connection (or the first byte of a further request) to the end of its head.
  std::chrono::milliseconds HeadTimeout{10'000};
  // Between an answer and the next request on a kept connection.
  std::chrono::milliseconds IdleTimeout{30'000};
  // Sending one answer.
  std::chrono::milliseconds SendTimeout{30'000};
  std::size_t MaxHeadBytes = 8 * 1024;
  std::size_t MaxBodyBytes = 1024;
  // Connections open at once from one client address; further ones are closed at once.
  std::size_t MaxConnectionsPerAddress = 256;
  // Threads that serve the connections.
  unsigned Threads = 2;
};

// The listening address could not be bound.
class EBindError : public std::runtime_error {
 public:
  EBindError(const std::string& Message, bool AddressInUse)
      : std::runtime_error(Message), AddressInUse_(AddressInUse) {}
  bool AddressInUse() const { return AddressInUse_; }

 private:
  bool AddressInUse_;
};

class TConnection;

// Sends the answer of one request, once.
class TResponder {
 public:
  explicit TResponder(std::shared_ptr<TConnection> Connection);
  TResponder(TResponder&&) noexcept;
  TResponder& operator=(TResponder&&) = delete;
  ~TResponder();

  // May be called from any thread.
  void Send(TResponse Response);

 private:
  std::shared_ptr<TConnection> Connection_;
};

// The request stays valid until the answer is sent.
using THandler = std::function<void(const TRequest&, TResponder)>;
// Answers a request before it is routed (into Response), or returns false to let it be.
using TFilter = std::function<bool(const TRequest&, TResponse& Response)>;
// Sees every answer as it is about to be sent, with the request it answers.
using TLogger = std::function<void(const TRequest&, const TResponse&)>;

class TServer {
 public:
  explicit TServer(TServerLimits Limits = {});
  ~TServer();
  TServer(const TServer&) = delete;
  TServer& operator=(const TServer&) = delete;

  // Handler answers exactly Path (without a query).
  void Handle(std::string Path, THandler Handler);
  // Handler answers every path that starts with Prefix and is no exact path's.
  void HandleUnder(std::string Prefix, THandler Handler);
  void SetFilter(TFilter Filter);
  void SetLogger(TLogger Logger);
  // A header every answer carries.
  void SetDefaultHeader(std::string Name, std::string Value);

  // Runs Work on one of the server's threads once When has come (never once the server
  // has stopped): a handler that waits for data answers from there without holding a
  // thread meanwhile. May be called from any thread.
  void RunAt(std::chrono::steady_clock::time_point When, std::function<void()> Work);

  // Binds the listening socket to Host (an address or a name) and Port and returns the
  // port (a free one for 0). Raises EBindError when it cannot.
  int Bind(const std::string& Host, int Port);
  // Serves until Stop, on Limits.Threads threads of its own; the calling thread waits.
  void Run();
  // Ends Run, also one that has not begun yet; may be called from any thread.
  void Stop();

  struct TImpl;

 private:
  std::shared_ptr<TImpl> Impl_;
};

}  // namespace gaugery::http
