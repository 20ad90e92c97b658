#include "http/HttpMessages.h"

#include <algorithm>

#include "http/AsciiText.h"

namespace gaugery::http {

namespace {

// The first header of that name, or null; Headers may be const or not.
template <typename THeaderList>
auto FindHeader(THeaderList& Headers, std::string_view Name) -> decltype(&*Headers.begin()) {
  const auto At = std::find_if(Headers.begin(), Headers.end(),
                               [&](const auto& Header) { return SameAsciiWord(Header.first, Name); });
  return At == Headers.end() ? nullptr : &*At;
}

}  // namespace

std::string_view TRequest::Path() const {
  return std::string_view(Target).substr(0, Target.find('?'));
}

std::string_view TRequest::Query() const {
  const std::size_t Question = Target.find('?');
  return Question == std::string::npos ? std::string_view() : std::string_view(Target).substr(Question + 1);
}

std::string_view TRequest::Header(std::string_view Name) const {
  const auto* Found = FindHeader(Headers, Name);
  return Found ? std::string_view(Found->second) : std::string_view();
}

bool TRequest::HasHeader(std::string_view Name) const { return FindHeader(Headers, Name) != nullptr; }

void TResponse::SetHeader(std::string_view Name, std::string Value) {
  if (auto* Found = FindHeader(Headers, Name))
    Found->second = std::move(Value);
  else
    Headers.emplace_back(std::string(Name), std::move(Value));
}

void TResponse::SetBody(std::string Text, std::string ContentType) {
  ShareBody(std::make_shared<const std::string>(std::move(Text)), std::move(ContentType));
}

void TResponse::ShareBody(std::shared_ptr<const std::string> Text, std::string ContentType) {
  Body = std::move(Text);
  SetHeader("Content-Type", std::move(ContentType));
}

std::string_view StatusText(int Status) {
  switch (Status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 413:
      return "Payload Too Large";
    case 414:
      return "URI Too Long";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Error";
  }
}

TResponse StatusAnswer(int Status) {
  TResponse Answer;
  Answer.Status = Status;
  Answer.SetBody(std::string(StatusText(Status)) + "\n", "text/plain; charset=utf-8");
  return Answer;
}

}  // namespace gaugery::http
