// The head of an HTTP reply as the client reads it, strictly: the client only takes
// what it can frame without doubt, since the bytes come from the network.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gaugery::http {

// The status line and headers of a reply.
struct TReplyHead {
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
THeadParse ParseReplyHead(std::string_view Received, TReplyHead& Head);

}  // namespace gaugery::http
