#include "registry/RemoteAddress.h"

#include <algorithm>
#include <charconv>

namespace gaugery {

namespace {

constexpr std::size_t LongestHost = 253;  // the longest DNS name

bool IsAsciiAlnum(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9');
}

// Labels of letters, digits, "-" and "_" between single dots (a trailing dot is allowed).
bool IsHostName(std::string_view Host) {
  return !Host.empty() && Host.size() <= LongestHost && Host.front() != '.' &&
         Host.find("..") == std::string_view::npos &&
         std::all_of(Host.begin(), Host.end(),
                     [](char C) { return IsAsciiAlnum(C) || C == '-' || C == '_' || C == '.'; });
}

bool IsIpv6Address(std::string_view Host) {
  return Host.find(':') != std::string_view::npos && Host.size() <= 45 &&
         std::all_of(Host.begin(), Host.end(), [](char C) {
           return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F') ||
                  C == ':' || C == '.';
         });
}

std::optional<std::uint16_t> ParsePort(std::string_view Text) {
  unsigned Port = 0;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Port);
  if (Text.empty() || Text.size() > 5 || Error != std::errc() || End != Text.data() + Text.size() ||
      Port > 65535)
    return std::nullopt;
  return static_cast<std::uint16_t>(Port);
}

// "[ipv6]" or "[ipv6]:port".
std::optional<TRemoteAddress> ParseBracketed(std::string_view Name) {
  const std::size_t Close = Name.find(']');
  if (Close == std::string_view::npos) return std::nullopt;
  TRemoteAddress Address{std::string(Name.substr(1, Close - 1)), GaugeryServePort};
  if (!IsIpv6Address(Address.Host)) return std::nullopt;
  const std::string_view Rest = Name.substr(Close + 1);
  if (Rest.empty()) return Address;
  if (Rest.front() != ':') return std::nullopt;
  const std::optional<std::uint16_t> Port = ParsePort(Rest.substr(1));
  if (!Port) return std::nullopt;
  Address.Port = *Port;
  return Address;
}

}  // namespace

std::optional<TRemoteAddress> ParseRemoteAddress(std::string_view Name) {
  if (Name.starts_with("\\\\")) Name.remove_prefix(2);
  if (Name.starts_with('[')) return ParseBracketed(Name);
  const std::size_t Colons = static_cast<std::size_t>(std::count(Name.begin(), Name.end(), ':'));
  if (Colons > 1) {
    if (!IsIpv6Address(Name)) return std::nullopt;
    return TRemoteAddress{std::string(Name), GaugeryServePort};
  }
  const std::size_t Colon = Name.find(':');
  TRemoteAddress Address{std::string(Name.substr(0, Colon)), GaugeryServePort};
  if (!IsHostName(Address.Host)) return std::nullopt;
  if (Colon == std::string_view::npos) return Address;
  const std::optional<std::uint16_t> Port = ParsePort(Name.substr(Colon + 1));
  if (!Port) return std::nullopt;
  Address.Port = *Port;
  return Address;
}

bool NamesServePort(std::string_view Name) {
  if (!ParseRemoteAddress(Name)) return false;
  if (Name.starts_with("\\\\")) Name.remove_prefix(2);
  if (Name.starts_with('[')) return Name.find("]:") != std::string_view::npos;
  return std::count(Name.begin(), Name.end(), ':') == 1;
}

std::string AddressText(const TRemoteAddress& Address) {
  const bool Ipv6 = Address.Host.find(':') != std::string::npos;
  return (Ipv6 ? "[" + Address.Host + "]" : Address.Host) + ":" + std::to_string(Address.Port);
}

}  // namespace gaugery
