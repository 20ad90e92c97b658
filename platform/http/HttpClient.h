// The HTTP client: one request per connection, bounded in every way a server could
// stretch it, because the bytes come from the network. One deadline covers the whole
// exchange (name lookup, connection, request and reply), and the reply's head and
// body have size limits.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace gaugery::http {

struct TClientLimits {
  std::chrono::milliseconds Timeout{5000};
  std::size_t MaxHeadBytes = 16 * 1024;
  std::size_t MaxBodyBytes = 64 * 1024 * 1024;
};

struct TReply {
  int Status = 0;
  std::string Server;  // the Server header, empty when there is none
  std::string Body;
};

// Sends Request (a whole request head, which should ask for "Connection: close") to
// Host (a name or a numeric address) at Port, and reads the reply as ParseReplyHead
// frames it. Empty when the name cannot be looked up, no address accepts the
// connection, the deadline passes, the reply is malformed or over the limits, or it
// is cut short.
std::optional<TReply> Exchange(const std::string& Host, std::uint16_t Port, const std::string& Request,
                               const TClientLimits& Limits = {});

}  // namespace gaugery::http
