// The tests' side of a connection to the HTTP server: bytes sent as a test writes them,
// answers read with a time limit, so that a test sees exactly when the server answers
// or hangs up.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "http/HttpServer.h"

namespace gaugery::test {

class TRawConnection {
 public:
  // Connects to Port of 127.0.0.1, from Source when it is not empty.
  explicit TRawConnection(int Port, const std::string& Source = {});

  bool Send(const std::string& Bytes);
  // What arrives within Timeout, until the server closes the connection (Closed) or
  // the time is up.
  std::string Receive(std::chrono::milliseconds Timeout);
  // Reads one whole answer (head and Content-Length bytes of body) within Timeout;
  // what follows it is kept for the next.
  std::string ReceiveAnswer(std::chrono::milliseconds Timeout);
  bool Closed() const { return Closed_; }

 private:
  // Reads once; false when the time is up or the connection ended.
  bool ReadSome(std::string& Into, std::chrono::steady_clock::time_point Deadline);

  boost::asio::io_context Io_;
  boost::asio::ip::tcp::socket Socket_;
  bool Closed_ = false;
  std::string Unread_;
};

// The status code of an answer's first line, 0 for none.
int StatusOf(const std::string& Answer);
// The body of one whole answer.
std::string BodyOf(const std::string& Answer);

// A server running on a thread of its own on a free loopback port, until destroyed.
class TRunningServer {
 public:
  TRunningServer(const http::TServerLimits& Limits, const std::function<void(http::TServer&)>& Setup);
  ~TRunningServer();
  TRunningServer(const TRunningServer&) = delete;
  TRunningServer& operator=(const TRunningServer&) = delete;

  int Port() const { return Port_; }

 private:
  http::TServer Server_;
  int Port_ = 0;
  std::thread Thread_;
};

}  // namespace gaugery::test
