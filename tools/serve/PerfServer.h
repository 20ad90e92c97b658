// The HTTP server of `gaugery serve`. It only reads and answers GET (and HEAD):
//   /metrics                 the Prometheus exposition of the latest sample (OpenMetrics
//                            when the scraper asks for it)
//   /perfdata?value=NAME     the raw block of value NAME ("Global" or an index list)
//                            exactly as the registry query returns it
//   /perflib/                the installed locales, one a line
//   /perflib/LOCALE/Counter  a locale's names and help texts, the multi-strings
//   /perflib/LOCALE/Help     exactly as the registry holds them (UTF-16LE)
//   /, /web/, /api/          the web view: its page, the page's files and its data
// Anything else is 404, a malformed request 400, another method 405; with a token,
// a request without "Authorization: Bearer <token>" is 401 (the web view also takes the
// token as the password of "Basic", which a browser asks its user for). Every answer
// carries the header "Server: gaugery/<version>", by which remote readers know the
// server. Each error answer is logged as one line on standard error.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "registry/RemoteAddress.h"

namespace gaugery::cli {

struct TServeOptions {
  TRemoteAddress Listen{"127.0.0.1", GaugeryServePort};
  // The least time between two samples.
  std::chrono::steady_clock::duration Interval = std::chrono::seconds(1);
  // Empty: no token is asked for.
  std::string Token;
  // How far back the web view's values reach.
  std::chrono::milliseconds History = std::chrono::minutes(10);
};

class TPerfServer {
 public:
  // Reads the names it serves.
  explicit TPerfServer(TServeOptions Options);
  ~TPerfServer();
  TPerfServer(const TPerfServer&) = delete;
  TPerfServer& operator=(const TPerfServer&) = delete;

  // Binds the listening socket and returns its port (a free one for port 0). Raises
  // Exception when the address cannot be bound.
  int Bind();
  // Answers requests until Stop.
  void Run();
  // Ends Run; may be called from any thread.
  void Stop();

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl_;
};

}  // namespace gaugery::cli
