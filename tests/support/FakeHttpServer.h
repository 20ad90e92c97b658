// A small HTTP server on a free loopback port, for the tests of the remote-computer
// transport: it answers every request with the bytes a handler returns, so that a test
// can send well-formed replies, garbage, replies cut short or nothing at all.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "registry/PerfProviders.h"

namespace gaugery::test {

class TFakeHttpServer {
 public:
  // Target: the request's target ("/perflib/"). The reply is sent as it is and the
  // connection closed; an empty reply leaves the client waiting until the server ends.
  using THandler = std::function<std::string(const std::string& Target)>;

  explicit TFakeHttpServer(THandler Handler);
  ~TFakeHttpServer();
  TFakeHttpServer(const TFakeHttpServer&) = delete;
  TFakeHttpServer& operator=(const TFakeHttpServer&) = delete;

  int Port() const { return Port_; }
  // "127.0.0.1:<port>", the computer name that reaches this server.
  std::string ComputerName() const;
  // Requests answered (or left waiting) so far.
  int Requests() const { return Requests_; }
  // The bytes of the last reply that the client took before it hung up.
  std::size_t LastReplySent() const { return LastReplySent_; }

 private:
  void Serve();

  THandler Handler_;
  int Listener_ = -1;
  int Port_ = 0;
  std::atomic<bool> Stopping_{false};
  std::atomic<int> Requests_{0};
  std::atomic<std::size_t> LastReplySent_{0};
  std::thread Thread_;
};

// A reply as `gaugery serve` sends it: status line, "Server: gaugery/test" and the
// body with its Content-Length.
std::string GaugeryReply(const std::string& Body, int Status = 200);

// A multi-string value as the wire carries it: the UTF-16LE bytes of the pairs, each
// string with its NUL, ended by an extra NUL.
std::string MultiStringBytes(const std::vector<TPerfNameEntry>& Pairs);

}  // namespace gaugery::test
