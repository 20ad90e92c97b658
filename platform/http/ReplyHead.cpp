#include "http/ReplyHead.h"

#include <algorithm>
#include <charconv>

#include "http/AsciiText.h"

namespace gaugery::http {

namespace {

bool IsTokenChar(char C) {
  return IsAsciiAlnum(C) || std::string_view("!#$%&'*+-.^_`|~").find(C) != std::string_view::npos;
}

bool ParseStatusLine(std::string_view Line, int& Status) {
  if (!Line.starts_with("HTTP/1.0 ") && !Line.starts_with("HTTP/1.1 ")) return false;
  Line.remove_prefix(9);
  if (Line.size() < 3 || (Line.size() > 3 && Line[3] != ' ')) return false;
  const auto [End, Error] = std::from_chars(Line.data(), Line.data() + 3, Status);
  return Error == std::errc() && End == Line.data() + 3 && Status >= 200 && Status <= 599;
}

bool ParseContentLength(std::string_view Value, std::size_t& Length) {
  std::size_t Parsed = 0;
  const auto [End, Error] = std::from_chars(Value.data(), Value.data() + Value.size(), Parsed);
  if (Value.empty() || Value.size() > 18 || Error != std::errc() ||
      End != Value.data() + Value.size())
    return false;
  Length = Parsed;
  return true;
}

// One "Name: value" line; false for a malformed line or a header the client refuses.
bool ReadHeaderLine(std::string_view Line, TReplyHead& Head, bool& HasLength) {
  const std::size_t Colon = Line.find(':');
  if (Colon == 0 || Colon == std::string_view::npos) return false;
  const std::string_view Name = Line.substr(0, Colon);
  if (!std::all_of(Name.begin(), Name.end(), IsTokenChar)) return false;
  const std::string_view Value = TrimmedBlanks(Line.substr(Colon + 1));
  if (SameAsciiWord(Name, "Transfer-Encoding")) return false;
  if (SameAsciiWord(Name, "Server")) Head.Server = std::string(Value);
  if (!SameAsciiWord(Name, "Content-Length")) return true;
  std::size_t Length = 0;
  if (!ParseContentLength(Value, Length) || (HasLength && Length != Head.ContentLength))
    return false;
  Head.ContentLength = Length;
  HasLength = true;
  return true;
}

bool HasNoBody(int Status) { return Status == 204 || Status == 304; }

}  // namespace

THeadParse ParseReplyHead(std::string_view Received, TReplyHead& Head) {
  const std::size_t End = Received.find("\r\n\r\n");
  if (End == std::string_view::npos) return THeadParse::Incomplete;
  Head = TReplyHead{};
  Head.Length = End + 4;
  std::string_view Lines = Received.substr(0, End + 2);
  std::size_t LineEnd = Lines.find("\r\n");
  if (!ParseStatusLine(Lines.substr(0, LineEnd), Head.Status)) return THeadParse::Invalid;
  bool HasLength = false;
  for (Lines.remove_prefix(LineEnd + 2); !Lines.empty(); Lines.remove_prefix(LineEnd + 2)) {
    LineEnd = Lines.find("\r\n");
    const std::string_view Line = Lines.substr(0, LineEnd);
    if (Line.find_first_of("\r\n") != std::string_view::npos ||
        !ReadHeaderLine(Line, Head, HasLength))
      return THeadParse::Invalid;
  }
  if (HasNoBody(Head.Status)) Head.ContentLength = 0;
  return HasLength || HasNoBody(Head.Status) ? THeadParse::Complete : THeadParse::Invalid;
}

}  // namespace gaugery::http
