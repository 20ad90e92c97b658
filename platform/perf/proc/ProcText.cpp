#include "perf/proc/ProcText.h"

#include <limits>

namespace gaugery {

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

void SkipBlanks(std::string_view& Text) {
  std::size_t At = 0;
  while (At < Text.size() && IsBlank(Text[At])) ++At;
  Text.remove_prefix(At);
}

// Reads the digits at the start of Text, saturating at the largest value.
std::size_t ReadDigits(std::string_view Text, std::uint64_t& Value) {
  constexpr std::uint64_t Largest = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t Result = 0;
  std::size_t At = 0;
  for (; At < Text.size() && IsDigit(Text[At]); ++At) {
    auto Digit = static_cast<std::uint64_t>(Text[At] - '0');
    Result = Result > (Largest - Digit) / 10 ? Largest : Result * 10 + Digit;
  }
  Value = Result;
  return At;
}

// Where a line of Text at or after From starts with Key and a colon; npos if none does.
std::size_t FindKeyedLine(std::string_view Text, std::string_view Key, std::size_t From) {
  for (std::size_t At = Text.find(Key, From); At != std::string_view::npos;
       At = Text.find(Key, At + 1)) {
    const std::size_t Colon = At + Key.size();
    if ((At == 0 || Text[At - 1] == '\n') && Colon < Text.size() && Text[Colon] == ':') return At;
  }
  return std::string_view::npos;
}

}  // namespace

bool ParseUnsigned(std::string_view& Text, std::uint64_t& Value) {
  std::string_view Rest = Text;
  SkipBlanks(Rest);
  std::uint64_t Number;
  std::size_t Digits = ReadDigits(Rest, Number);
  if (Digits == 0) return false;
  Value = Number;
  Text = Rest.substr(Digits);
  return true;
}

bool ParseSigned(std::string_view& Text, std::int64_t& Value) {
  constexpr auto Largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  std::string_view Rest = Text;
  SkipBlanks(Rest);
  bool Negative = !Rest.empty() && Rest.front() == '-';
  if (Negative) Rest.remove_prefix(1);
  std::uint64_t Magnitude;
  std::size_t Digits = ReadDigits(Rest, Magnitude);
  if (Digits == 0) return false;
  Magnitude = Magnitude > Largest ? Largest : Magnitude;
  Value = Negative ? -static_cast<std::int64_t>(Magnitude) : static_cast<std::int64_t>(Magnitude);
  Text = Rest.substr(Digits);
  return true;
}

std::uint32_t WholeNumber(std::string_view Text) {
  std::uint64_t Value = 0;
  std::size_t Digits = ReadDigits(Text, Value);
  if (Digits == 0 || Digits != Text.size() || Value > UINT32_MAX) return 0;
  return static_cast<std::uint32_t>(Value);
}

std::string_view NextField(std::string_view& Text) {
  SkipBlanks(Text);
  std::size_t End = 0;
  while (End < Text.size() && !IsBlank(Text[End]) && Text[End] != '\n') ++End;
  std::string_view Field = Text.substr(0, End);
  Text.remove_prefix(End);
  return Field;
}

std::string_view NextLine(std::string_view& Text) {
  std::size_t End = Text.find('\n');
  std::string_view Line = Text.substr(0, End);
  Text.remove_prefix(End == std::string_view::npos ? Text.size() : End + 1);
  return Line;
}

void ScanKeyedNumbers(std::string_view Text, std::span<const TKeyedNumber> Keys) {
  // Most lines of a /proc file hold no wanted key: they are passed over on their first
  // character, which matters for the status file of every process.
  bool Initial[256] = {};
  for (const TKeyedNumber& Entry : Keys) {
    if (!Entry.Key.empty()) Initial[static_cast<unsigned char>(Entry.Key.front())] = true;
  }
  std::size_t Found = 0;
  while (!Text.empty() && Found < Keys.size()) {
    std::string_view Line = NextLine(Text);
    if (Line.empty()) continue;
    auto First = static_cast<unsigned char>(Line.front());
    if (!Initial[First] && !IsBlank(Line.front())) continue;
    std::string_view Key = NextField(Line);
    if (!Key.empty() && Key.back() == ':') Key.remove_suffix(1);
    for (const TKeyedNumber& Entry : Keys) {
      if (Entry.Key != Key) continue;
      if (ParseUnsigned(Line, *Entry.Value)) ++Found;
      break;
    }
  }
}

void ScanKeyedNumbersInOrder(std::string_view Text, std::span<const TKeyedNumber> Keys) {
  std::size_t From = 0;
  for (const TKeyedNumber& Entry : Keys) {
    if (Entry.Key.empty()) continue;
    const std::size_t At = FindKeyedLine(Text, Entry.Key, From);
    if (At == std::string_view::npos) continue;
    From = At + Entry.Key.size() + 1;
    std::string_view Number = Text.substr(From);
    ParseUnsigned(Number, *Entry.Value);
  }
}

void DecodeOctalEscapes(std::string_view Text, std::string& Decoded) {
  auto IsOctal = [](char C) { return C >= '0' && C <= '7'; };
  Decoded.clear();
  for (std::size_t At = 0; At < Text.size(); ++At) {
    bool Escape = Text[At] == '\\' && Text.size() - At > 3 && IsOctal(Text[At + 1]) &&
                  IsOctal(Text[At + 2]) && IsOctal(Text[At + 3]);
    if (!Escape) {
      Decoded.push_back(Text[At]);
      continue;
    }
    int Code = (Text[At + 1] - '0') * 64 + (Text[At + 2] - '0') * 8 + (Text[At + 3] - '0');
    Decoded.push_back(static_cast<char>(Code));
    At += 3;
  }
}

std::string_view TDecodedTexts::Decode(std::size_t At, std::string_view Text) {
  if (Slots_.size() <= At) Slots_.resize(At + 1);
  DecodeOctalEscapes(Text, Slots_[At]);
  return Slots_[At];
}

}  // namespace gaugery
