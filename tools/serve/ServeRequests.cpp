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
  constexpr std::string_view Scheme = "bearer ";
  if (Authorization.size() < Scheme.size() ||
      !SameAsciiText(Authorization.substr(0, Scheme.size()), Scheme))
    return false;
  const std::string_view Given = Trimmed(Authorization.substr(Scheme.size()));
  if (Given.size() != Token.size()) return false;
  unsigned char Difference = 0;
  for (std::size_t I = 0; I < Token.size(); ++I)
    Difference |= static_cast<unsigned char>(Given[I] ^ Token[I]);
  return Difference == 0;
}

}  // namespace gaugery::cli
