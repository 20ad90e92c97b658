#include "framework/TextFunctions.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Exceptions.h"

#ifdef _WIN32
#include "framework/WindowsApi.h"

#include "framework/Unicode.h"
#endif

namespace gaugery {

namespace {

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// Reads digits of the given base, all of Digits, into a magnitude no larger than Limit.
std::optional<std::uint64_t> ParseMagnitude(std::string_view Digits, int Base,
                                            std::uint64_t Limit) {
  if (Digits.empty()) return std::nullopt;
  std::uint64_t Value = 0;
  for (char C : Digits) {
    const int Digit = HexDigitValue(C);
    if (Digit < 0 || Digit >= Base) return std::nullopt;
    Value = Value * Base + Digit;
    if (Value > Limit) return std::nullopt;
  }
  return Value;
}

std::optional<std::int32_t> ParseInt32(const std::string& S) {
  std::string_view Text = S;
  while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);

  bool Negative = false;
  if (!Text.empty() && (Text.front() == '-' || Text.front() == '+')) {
    Negative = Text.front() == '-';
    Text.remove_prefix(1);
  }

  if (Text.starts_with('$') || Text.starts_with("0x") || Text.starts_with("0X")) {
    // Hexadecimal is a 32-bit pattern: "$FFFFFFFF" is -1.
    Text.remove_prefix(Text.front() == '$' ? 1 : 2);
    auto Bits = ParseMagnitude(Text, 16, std::numeric_limits<std::uint32_t>::max());
    if (!Bits) return std::nullopt;
    auto Pattern = static_cast<std::uint32_t>(*Bits);
    if (Negative) Pattern = 0u - Pattern;
    return static_cast<std::int32_t>(Pattern);
  }

  const std::uint64_t Limit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (Negative ? 1 : 0);
  auto Magnitude = ParseMagnitude(Text, 10, Limit);
  if (!Magnitude) return std::nullopt;
  const auto Value = static_cast<std::int64_t>(*Magnitude);
  return static_cast<std::int32_t>(Negative ? -Value : Value);
}

#ifndef _WIN32
const char* KnownErrorText(std::int32_t ErrorCode) {
  switch (ErrorCode) {
    case 0:
      return "The operation completed successfully.";
    case 2:
      return "The system cannot find the file specified.";
    case 5:
      return "Access is denied.";
    case 6:
      return "The handle is invalid.";
    case 8:
      return "Not enough memory resources are available to process this command.";
    case 53:
      return "The network path was not found.";
    case 87:
      return "The parameter is incorrect.";
    case 234:
      return "More data is available.";
    case 259:
      return "No more data is available.";
    default:
      return nullptr;
  }
}
#endif

}  // namespace

std::string IntToStr(std::int64_t Value) { return std::to_string(Value); }

std::int32_t StrToInt(const std::string& S) {
  if (auto Value = ParseInt32(S)) return *Value;
  throw EConvertError("'" + S + "' is not a valid integer value");
}

std::int32_t StrToIntDef(const std::string& S, std::int32_t Default) {
  return ParseInt32(S).value_or(Default);
}

std::string IntToHex(std::int64_t Value, int Digits) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  auto Bits = static_cast<std::uint64_t>(Value);
  std::string Reversed;
  do {
    Reversed += kHexDigits[Bits & 0xF];
    Bits >>= 4;
  } while (Bits != 0);
  if (Digits > static_cast<int>(Reversed.size())) Reversed.append(Digits - Reversed.size(), '0');
  return {Reversed.rbegin(), Reversed.rend()};
}

std::string Trim(const std::string& S) {
  std::size_t First = 0;
  std::size_t Last = S.size();
  while (First < Last && IsBlank(S[First])) ++First;
  while (Last > First && IsBlank(S[Last - 1])) --Last;
  return S.substr(First, Last - First);
}

std::string UpperCase(const std::string& S) {
  std::string Result = S;
  for (char& C : Result) {
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  }
  return Result;
}

std::string LowerCase(const std::string& S) {
  std::string Result = S;
  for (char& C : Result) C = AsciiLower(C);
  return Result;
}

bool SameText(const std::string& S1, const std::string& S2) {
  return std::equal(S1.begin(), S1.end(), S2.begin(), S2.end(),
                    [](char A, char B) { return AsciiLower(A) == AsciiLower(B); });
}

#ifdef _WIN32
std::string SysErrorMessage(std::int32_t ErrorCode) {
  WCHAR* Buffer = nullptr;
  const DWORD Length = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
      nullptr, static_cast<DWORD>(ErrorCode), 0, reinterpret_cast<LPWSTR>(&Buffer), 0, nullptr);
  std::string Text = Length > 0 ? ToUtf8(Buffer, Length) : std::string();
  ::LocalFree(Buffer);
  while (!Text.empty() && (Text.back() == '\r' || Text.back() == '\n')) Text.pop_back();
  if (Text.empty()) return "Unknown error " + std::to_string(ErrorCode);
  return Text;
}
#else
std::string SysErrorMessage(std::int32_t ErrorCode) {
  if (const char* Text = KnownErrorText(ErrorCode)) return Text;
  return "Unknown error " + std::to_string(ErrorCode);
}
#endif

}  // namespace gaugery
