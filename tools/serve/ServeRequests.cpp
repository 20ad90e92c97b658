#include "ServeRequests.h"

#include <algorithm>
#include <charconv>

#include "registry/RemoteProtocol.h"

namespace gaugery::cli {

namespace {

char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool SameAsciiText(std::string_view A, std::string_view B) {
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(),
                    [](char X, char Y) { return AsciiLower(X) == AsciiLower(Y); });
}

std::string_view Trimmed(std::string_view Text) {
  while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t')) Text.remove_prefix(1);
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) Text.remove_suffix(1);
  return Text;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// Percent-decoded text, with "+" as a space in a query; empty for a broken escape.
std::optional<std::string> Decoded(std::string_view Text, bool PlusIsSpace = true) {
  std::string Result;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '+' && PlusIsSpace) {
      Result += ' ';
    } else if (Text[I] != '%') {
      Result += Text[I];
    } else {
      if (I + 2 >= Text.size()) return std::nullopt;
      const int High = HexDigit(Text[I + 1]);
      const int Low = HexDigit(Text[I + 2]);
      if (High < 0 || Low < 0) return std::nullopt;
      Result += static_cast<char>(High * 16 + Low);
      I += 2;
    }
  }
  return Result;
}

bool HasControlCharacter(std::string_view Text) {
  return std::any_of(Text.begin(), Text.end(), [](char C) {
    return static_cast<unsigned char>(C) < 0x20 || C == 0x7F;
  });
}

// One media range of an Accept header (or one coding of Accept-Encoding): its type and
// its weight (q, 1 by default); a weight that is no number reads as 0.
struct TMediaRange {
  std::string_view Type;
  double Weight = 1.0;
  std::string_view Version;
};

TMediaRange ReadMediaRange(std::string_view Range) {
  TMediaRange Media{Trimmed(Range.substr(0, Range.find(';')))};
  for (std::size_t At = Range.find(';'); At != std::string_view::npos;) {
    Range.remove_prefix(At + 1);
    At = Range.find(';');
    const std::string_view Parameter = Trimmed(Range.substr(0, At));
    const std::size_t Equals = Parameter.find('=');
    if (Equals == std::string_view::npos) continue;
    const std::string_view Name = Trimmed(Parameter.substr(0, Equals));
    const std::string_view Value = Trimmed(Parameter.substr(Equals + 1));
    if (SameAsciiText(Name, "version")) Media.Version = Value;
    if (!SameAsciiText(Name, "q")) continue;
    const auto [End, Error] = std::from_chars(Value.data(), Value.data() + Value.size(), Media.Weight);
    if (Error != std::errc() || End != Value.data() + Value.size() || !(Media.Weight >= 0))
      Media.Weight = 0;
  }
  return Media;
}

// Base64 (RFC 4648, with padding) decoded; nothing for text that is not base64.
std::optional<std::string> Base64Decoded(std::string_view Text) {
  constexpr std::string_view Alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (Text.size() % 4 != 0) return std::nullopt;
  std::string Bytes;
  unsigned Bits = 0;
  int Count = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '=') {
      if (I + 2 < Text.size() || (I + 1 < Text.size() && Text[I + 1] != '=')) return std::nullopt;
      break;
    }
    const std::size_t Digit = Alphabet.find(Text[I]);
    if (Digit == std::string_view::npos) return std::nullopt;
    Bits = (Bits << 6) | static_cast<unsigned>(Digit);
    Count += 6;
    if (Count >= 8) {
      Count -= 8;
      Bytes += static_cast<char>((Bits >> Count) & 0xFF);
    }
  }
  return Bytes;
}

bool SameSecret(std::string_view Given, std::string_view Token) {
  if (Given.size() != Token.size()) return false;
  unsigned char Difference = 0;
  for (std::size_t I = 0; I < Token.size(); ++I)
    Difference |= static_cast<unsigned char>(Given[I] ^ Token[I]);
  return Difference == 0;
}

// The credentials of "Basic <base64 of user:password>", as a browser sends what its user
// typed: the password is the token, the user name is not looked at.
bool HasBasicToken(std::string_view Credentials, std::string_view Token) {
  const std::optional<std::string> Decoded = Base64Decoded(Trimmed(Credentials));
  if (!Decoded) return false;
  const std::size_t Colon = Decoded->find(':');
  return Colon != std::string::npos && SameSecret(std::string_view(*Decoded).substr(Colon + 1), Token);
}

}  // namespace

std::optional<std::string> PerfDataValue(std::string_view Query) {
  if (!Query.starts_with(PerfDataValueKey) || Query.find('&') != std::string_view::npos)
    return std::nullopt;
  std::optional<std::string> Value = Decoded(Query.substr(PerfDataValueKey.size()));
  if (!Value || Value->empty() || Value->size() > LongestPerfDataValue ||
      HasControlCharacter(*Value))
    return std::nullopt;
  if (SameAsciiText(*Value, "Global")) return std::string("Global");
  return Value;
}

std::vector<std::pair<std::string, std::string>> QueryParameters(std::string_view Query) {
  std::vector<std::pair<std::string, std::string>> Parameters;
  while (!Query.empty()) {
    const std::string_view Pair = Query.substr(0, Query.find('&'));
    Query.remove_prefix(std::min(Query.size(), Pair.size() + 1));
    const std::size_t Equals = Pair.find('=');
    std::optional<std::string> Name = Decoded(Pair.substr(0, Equals));
    std::optional<std::string> Value =
        Equals == std::string_view::npos ? std::string() : Decoded(Pair.substr(Equals + 1));
    if (Name && Value && !Name->empty()) Parameters.emplace_back(std::move(*Name), std::move(*Value));
  }
  return Parameters;
}

std::optional<TLocaleValuePath> LocaleValuePath(std::string_view Path) {
  if (!Path.starts_with(PerflibPath)) return std::nullopt;
  Path.remove_prefix(PerflibPath.size());
  const std::size_t Slash = Path.find('/');
  if (Slash == std::string_view::npos) return std::nullopt;
  std::optional<std::string> Locale = Decoded(Path.substr(0, Slash), false);
  std::optional<std::string> Value = Decoded(Path.substr(Slash + 1), false);
  for (const std::optional<std::string>* Segment : {&Locale, &Value})
    if (!*Segment || (*Segment)->empty() || (*Segment)->find('/') != std::string::npos ||
        HasControlCharacter(**Segment))
      return std::nullopt;
  return TLocaleValuePath{std::move(*Locale), std::move(*Value)};
}

std::optional<std::int64_t> HeldSample(std::string_view Header) {
  constexpr std::size_t MostDigits = 18;
  std::int64_t Stamp = 0;
  const auto [End, Error] = std::from_chars(Header.data(), Header.data() + Header.size(), Stamp);
  if (Header.empty() || Header.size() > MostDigits || Header[0] == '-' || Error != std::errc() ||
      End != Header.data() + Header.size())
    return std::nullopt;
  return Stamp;
}

exposition::TExpositionFormat NegotiatedFormat(std::string_view Accept) {
  double OpenMetrics = 0;
  double Text = 0;
  while (!Accept.empty()) {
    const std::size_t Comma = Accept.find(',');
    const TMediaRange Media = ReadMediaRange(Accept.substr(0, Comma));
    Accept.remove_prefix(Comma == std::string_view::npos ? Accept.size() : Comma + 1);
    if (SameAsciiText(Media.Type, "application/openmetrics-text") &&
        (Media.Version.empty() || Media.Version == "1.0.0"))
      OpenMetrics = std::max(OpenMetrics, Media.Weight);
    else if (SameAsciiText(Media.Type, "text/plain") || Media.Type == "*/*" ||
             SameAsciiText(Media.Type, "text/*"))
      Text = std::max(Text, Media.Weight);
  }
  return OpenMetrics > 0 && OpenMetrics >= Text ? exposition::TExpositionFormat::OpenMetrics
                                                : exposition::TExpositionFormat::Prometheus;
}

bool AcceptsGzip(std::string_view AcceptEncoding) {
  while (!AcceptEncoding.empty()) {
    const std::size_t Comma = AcceptEncoding.find(',');
    const TMediaRange Coding = ReadMediaRange(AcceptEncoding.substr(0, Comma));
    AcceptEncoding.remove_prefix(Comma == std::string_view::npos ? AcceptEncoding.size() : Comma + 1);
    if ((SameAsciiText(Coding.Type, "gzip") || SameAsciiText(Coding.Type, "x-gzip")) &&
        Coding.Weight > 0)
      return true;
  }
  return false;
}

bool IsAuthorized(std::string_view Authorization, std::string_view Token) {
  constexpr std::string_view Bearer = "bearer ";
  constexpr std::string_view Basic = "basic ";
  if (Authorization.size() >= Basic.size() &&
      SameAsciiText(Authorization.substr(0, Basic.size()), Basic))
    return HasBasicToken(Authorization.substr(Basic.size()), Token);
  if (Authorization.size() < Bearer.size() ||
      !SameAsciiText(Authorization.substr(0, Bearer.size()), Bearer))
    return false;
  return SameSecret(Trimmed(Authorization.substr(Bearer.size())), Token);
}

}  // namespace gaugery::cli
