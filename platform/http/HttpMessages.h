// A request as the HTTP server hands it to a handler, and the answer the handler gives.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gaugery::http {

using THeaders = std::vector<std::pair<std::string, std::string>>;

struct TRequest {
  std::string Method;  // empty for a request that could not be read
  std::string Target;  // as it arrived: path and query
  std::string Client;  // the client's address, "127.0.0.1"
  THeaders Headers;
  std::string Body;

  // The path of the target, without its query.
  std::string_view Path() const;
  // The query of the target, after its "?"; empty without one.
  std::string_view Query() const;
  // The first header of that name (in any letter case); empty when there is none.
  std::string_view Header(std::string_view Name) const;
  bool HasHeader(std::string_view Name) const;
};

struct TResponse {
  int Status = 200;
  THeaders Headers;
  // Shared, so that many answers can send one text at once without copying it.
  std::shared_ptr<const std::string> Body;
  // The connection ends once the answer is sent.
  bool Close = false;

  // Replaces a header of that name, or adds it. (Headers.emplace_back adds one more of
  // a name, for headers that may be repeated.)
  void SetHeader(std::string_view Name, std::string Value);
  void SetBody(std::string Text, std::string ContentType);
  void ShareBody(std::shared_ptr<const std::string> Text, std::string ContentType);
};

// The reason phrase of a status, "Not Found"; "Error" for one the server never sends.
std::string_view StatusText(int Status);

// An answer of Status with its reason phrase as a line of text.
TResponse StatusAnswer(int Status);

}  // namespace gaugery::http
