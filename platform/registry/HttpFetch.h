// The requests of the remote-computer transport: one GET per connection, plain
// HTTP/1.1, through the HTTP client with its single deadline and its limits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "http/HttpClient.h"
#include "http/HttpMessages.h"
#include "registry/RemoteAddress.h"

namespace gaugery {

using THttpLimits = http::TClientLimits;
using THttpReply = http::TReply;

// "GET Target" of Address, with "Authorization: Bearer <Token>" unless Token is empty
// (one word of visible ASCII characters, as a token file holds), and Headers. Target
// and the headers are sent as they are: the caller percent-encodes the target and
// gives headers of its own making. Empty when the token would break the request, and
// whenever the client gives up (http::Exchange).
std::optional<THttpReply> HttpGet(const TRemoteAddress& Address, std::string_view Target,
                                  const THttpLimits& Limits = {}, std::string_view Token = {},
                                  const http::THeaders& Headers = {});

// Text with every byte other than letters, digits and "-._~" written as %XX.
std::string PercentEncoded(std::string_view Text);

}  // namespace gaugery
