// Where a machine running `gaugery serve` listens: the form a remote computer's name
// takes on Linux ("\\host:port", "host:port", or "host" for the default port), and the
// form of the server's --listen option.
#pragma once

#include "framework/LibraryExport.h"
#include "registry/RemoteProtocol.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gaugery {

struct GAUGERY_PLATFORM_API TRemoteAddress {
  std::string Host;  // a host name, an IPv4 address or an IPv6 address without brackets
  std::uint16_t Port = GaugeryServePort;
};

// Reads "host", "host:port", "[ipv6]" or "[ipv6]:port", with or without a leading
// "\\". A host name may hold letters, digits, "-", "_" and "."; an IPv6 address hex
// digits, ":" and "." (a bare IPv6 address, without brackets, takes the default
// port). The port is decimal, 0 to 65535. Empty for anything else, so that nothing a
// caller passes on can carry spaces, slashes or line breaks into a request.
GAUGERY_PLATFORM_API std::optional<TRemoteAddress> ParseRemoteAddress(std::string_view Name);

// True when Name reads as an address and writes its port out ("host:port", "[ipv6]:port",
// with or without "\\"): the names that mean a machine running `gaugery serve` where the
// system's own remote registry answers the plain ones.
GAUGERY_PLATFORM_API bool NamesServePort(std::string_view Name);

// "host:port", the IPv6 host in brackets.
GAUGERY_PLATFORM_API std::string AddressText(const TRemoteAddress& Address);

}  // namespace gaugery
