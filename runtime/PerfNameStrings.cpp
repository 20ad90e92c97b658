#include "PerfNameStrings.h"

#include <algorithm>
#include <cstdint>

#include "framework/Exceptions.h"
#include "framework/Format.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"
#include "registry/RemoteRegistry.h"

namespace gaugery {

namespace {

// Position of the first NUL at or after From, or Length when there is none.
std::size_t FindNul(const WCHAR* Data, std::size_t From, std::size_t Length) {
  return static_cast<std::size_t>(std::find(Data + From, Data + Length, WCHAR{0}) - Data);
}

// The index text as its 32-bit unsigned value in plain decimal.
std::string CanonicalIndex(const std::string& IndexText) {
  return IntToStr(static_cast<std::uint32_t>(StrToInt(IndexText)));
}

// Closes a registry key when it goes out of scope.
class TKeyCloser {
 public:
  explicit TKeyCloser(HKEY Key) : Key_(Key) {}
  ~TKeyCloser() { RegCloseKey(Key_); }
  TKeyCloser(const TKeyCloser&) = delete;
  TKeyCloser& operator=(const TKeyCloser&) = delete;

 private:
  HKEY Key_;
};

HKEY ConnectRoot(const std::string& ComputerName) {
  if (ComputerName.empty()) return HKEY_LOCAL_MACHINE;
  HKEY Root = nullptr;
  LONG Result = RegConnectRegistryW(ToWide(ComputerName).c_str(), HKEY_LOCAL_MACHINE, &Root);
  if (Result != ERROR_SUCCESS)
    throw Exception(WithRemoteConnectionNote(
        Format("Cannot open remote registry on %s (%d)", {ComputerName, Result})));
  return Root;
}

// The size in bytes to read the value with first: the key's largest value, or the
// value's own size when the key reports none; 0 when neither can be had.
DWORD InitialReadSize(HKEY Key, LPCWSTR ValueName, const TValueReadCalls& Calls) {
  DWORD MaxValueBytes = 0;
  if (Calls.QueryInfoKey(Key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, &MaxValueBytes, nullptr, nullptr) == ERROR_SUCCESS &&
      MaxValueBytes > 0)
    return MaxValueBytes;
  DWORD ValueBytes = 0;
  if (Calls.QueryValue(Key, ValueName, nullptr, nullptr, nullptr, &ValueBytes) != ERROR_SUCCESS)
    return 0;
  return ValueBytes;
}

// The next buffer size after ERROR_MORE_DATA: what the query asked for when that is
// more, else twice the size; 0 when the size would no longer fit in 32 bits.
DWORD GrownReadSize(DWORD Size, DWORD Requested) {
  if (Requested > Size) return Requested;
  return Size > 0x7FFFFFFFu ? 0 : Size * 2;
}

}  // namespace

void ParseNameStrings(const WCHAR* Data, std::size_t Length, TStringList* Target,
                      TBlankTexts Blanks) {
  std::size_t Pos = 0;
  while (Pos < Length) {
    std::size_t IndexEnd = FindNul(Data, Pos, Length);
    if (IndexEnd == Pos || IndexEnd == Length) return;  // closing empty string, or cut off
    std::size_t TextEnd = FindNul(Data, IndexEnd + 1, Length);
    if (TextEnd == Length) return;  // a text without its NUL is no pair
    std::string Index = CanonicalIndex(ToUtf8(Data + Pos, IndexEnd - Pos));
    std::string Text = ToUtf8(Data + IndexEnd + 1, TextEnd - IndexEnd - 1);
    if (Blanks == TBlankTexts::Keep || !Trim(Text).empty()) Target->Add(Index + "=" + Text);
    Pos = TextEnd + 1;
  }
}

std::vector<WCHAR> ReadValueCodeUnits(HKEY Key, const std::string& ValueName,
                                      const TValueReadCalls& Calls) {
  // Bounds the retries when the value keeps growing between queries.
  constexpr int MaxReadAttempts = 16;
  WideString Name = ToWide(ValueName);
  DWORD Size = InitialReadSize(Key, Name.c_str(), Calls);
  std::vector<WCHAR> Buffer;
  for (int Attempt = 0; Attempt < MaxReadAttempts && Size > 0; ++Attempt) {
    Buffer.resize((static_cast<std::size_t>(Size) + 1) / sizeof(WCHAR));
    DWORD Bytes = static_cast<DWORD>(Buffer.size() * sizeof(WCHAR));
    LONG Result = Calls.QueryValue(Key, Name.c_str(), nullptr, nullptr,
                                   reinterpret_cast<LPBYTE>(Buffer.data()), &Bytes);
    if (Result == ERROR_SUCCESS) {
      Buffer.resize(std::min<std::size_t>(Bytes / sizeof(WCHAR), Buffer.size()));
      return Buffer;
    }
    if (Result != ERROR_MORE_DATA) break;
    Size = GrownReadSize(Size, Bytes);
  }
  return {};
}

void LoadNameStrings(const std::string& Locale, const std::string& ValueName, TStringList* Target,
                     const std::string& ComputerName, TBlankTexts Blanks) {
  HKEY Root = ConnectRoot(ComputerName);
  TKeyCloser RootCloser(Root);
  HKEY LocaleKey = nullptr;
  WideString Path = ToWide(std::string(PerflibKeyPath) + "\\" + Locale);
  if (RegOpenKeyExW(Root, Path.c_str(), 0, KEY_READ, &LocaleKey) != ERROR_SUCCESS) return;
  std::vector<WCHAR> Value;
  {
    TKeyCloser LocaleCloser(LocaleKey);
    Value = ReadValueCodeUnits(LocaleKey, ValueName);
  }
  Target->Clear();
  ParseNameStrings(Value.data(), Value.size(), Target, Blanks);
}

}  // namespace gaugery
