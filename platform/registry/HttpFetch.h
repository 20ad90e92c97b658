// The HTTP client of the remote-computer transport: one GET per connection, plain
// HTTP/1.1, bounded in every way a server could stretch it, because the bytes come
// from the network: one deadline covers the whole exchange (name lookup, connection,
// request and reply), and the reply's head and body have size limits.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "registry/RemoteAddress.h"

namespace gaugery {

struct THttpLimits {
  std::chrono::milliseconds Timeout{5000};
  std::size_t MaxHeadBytes = 16 * 1024;
  std::size_t MaxBodyBytes = 64 * 1024 * 1024;
};

struct THttpReply {
  int Status = 0;
  std::string Server;  // the Server header, empty when there is none
  std::string Body;
};

// The status line and headers of a reply.
struct THttpReplyHead {
  int Status = 0;
  std::size_t Length = 0;  // bytes up to and including the blank line
  std::size_t ContentLength = 0;
  std::string Server;
};

enum class THeadParse { Incomplete, Complete, Invalid };

// Reads the head at the start of Received. Complete needs "HTTP/1.0" or "HTTP/1.1", a
// status from 200 to 599, header lines of the form "Name: value" ended by CRLF, and a
// Content-Length (repeated only with the same value) unless the status has no body;
// a Transfer-Encoding is Invalid, as is anything malformed. Incomplete while the blank
// line that ends the head has not arrived.
THeadParse ParseHttpReplyHead(std::string_view Received, THttpReplyHead& Head);

// "GET Target" of Address, with "Authorization: Bearer <Token>" unless Token is empty
// (one word of visible ASCII characters, as a token file holds). Target is sent as it
// is: the caller percent-encodes it. Empty when the name cannot be looked up, no
// address accepts the connection, the deadline passes, the reply is malformed or over
// the limits, or it is cut short.
std::optional<THttpReply> HttpGet(const TRemoteAddress& Address, std::string_view Target,
                                  const THttpLimits& Limits = {}, std::string_view Token = {});

// Text with every byte other than letters, digits and "-._~" written as %XX.
std::string PercentEncoded(std::string_view Text);

}  // namespace gaugery
