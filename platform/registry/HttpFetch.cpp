#include "registry/HttpFetch.h"

#include <algorithm>

#include "http/AsciiText.h"

namespace gaugery {

std::optional<THttpReply> HttpGet(const TRemoteAddress& Address, std::string_view Target,
                                  const THttpLimits& Limits, std::string_view Token,
                                  const http::THeaders& Headers) {
  if (!std::all_of(Token.begin(), Token.end(), [](char C) { return C > 0x20 && C < 0x7F; }))
    return std::nullopt;  // it would break the request's head
  std::string Extra =
      Token.empty() ? std::string() : "Authorization: Bearer " + std::string(Token) + "\r\n";
  for (const auto& [Name, Value] : Headers) Extra += Name + ": " + Value + "\r\n";
  const std::string Request = "GET " + std::string(Target) + " HTTP/1.1\r\nHost: " +
                              AddressText(Address) +
                              "\r\nUser-Agent: gaugery\r\nAccept: */*\r\n" + Extra +
                              "Connection: close\r\n\r\n";
  return http::Exchange(Address.Host, Address.Port, Request, Limits);
}

std::string PercentEncoded(std::string_view Text) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string Encoded;
  for (const char C : Text) {
    const auto Byte = static_cast<unsigned char>(C);
    if (http::IsAsciiAlnum(C) || C == '-' || C == '.' || C == '_' || C == '~') {
      Encoded += C;
    } else {
      Encoded += '%';
      Encoded += Hex[Byte >> 4];
      Encoded += Hex[Byte & 0xF];
    }
  }
  return Encoded;
}

}  // namespace gaugery
