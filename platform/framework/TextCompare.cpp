#include "framework/TextCompare.h"

#include <climits>
#include <string>

#include "framework/TextFunctions.h"
#include "framework/Unicode.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the toolchain's headers may define it already
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <cstdint>
#include <cstring>
#include <memory>
#endif

namespace gaugery {

namespace {

// Texts longer than the platform calls take are compared by their first INT_MAX units.
int ClampedLength(std::size_t Length) {
  return Length > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(Length);
}

int Sign(int Value) { return (Value > 0) - (Value < 0); }

}  // namespace

#ifdef _WIN32

int AnsiCompareText(const std::string& S1, const std::string& S2) {
  if (S1 == S2) return 0;
  const WideString W1 = ToWide(S1);
  const WideString W2 = ToWide(S2);
  const int Result = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, W1.data(),
                                      ClampedLength(W1.size()), W2.data(),
                                      ClampedLength(W2.size()));
  // 0 means the call failed: fall back to the order of the code units.
  if (Result == 0) return Sign(W1.compare(W2));
  return Result - CSTR_EQUAL;
}

std::string AnsiSortKey(const std::string& S) {
  const WideString W = ToWide(S);
  const DWORD Flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int Size = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, W.data(),
                                   ClampedLength(W.size()), nullptr, 0, nullptr, nullptr, 0);
  if (Size <= 0) return {};
  std::string Key(static_cast<std::size_t>(Size), '\0');
  ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, W.data(), ClampedLength(W.size()),
                  reinterpret_cast<LPWSTR>(Key.data()), Size, nullptr, nullptr, 0);
  // The key ends with a NUL byte that carries no information.
  while (!Key.empty() && Key.back() == '\0') Key.pop_back();
  return Key;
}

#else

namespace {

struct CollatorCloser {
  void operator()(UCollator* Collator) const { ucol_close(Collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

CollatorPtr OpenCollator(const char* Locale) {
  UErrorCode Status = U_ZERO_ERROR;
  CollatorPtr Collator(ucol_open(Locale, &Status));
  if (U_FAILURE(Status)) return nullptr;
  ucol_setStrength(Collator.get(), UCOL_SECONDARY);
  return Collator;
}

// The collator of the user's default locale, ignoring case. The C and POSIX locales map
// to ICU's "en_US_POSIX", which orders by code point and so tells cases apart; they get
// the root collation instead. Null only when ICU has no collation data at all, and then
// the comparison falls back to A to Z case folding.
UCollator* UserCollator() {
  static const CollatorPtr Collator = [] {
    const char* Locale = uloc_getDefault();
    if (Locale == nullptr || std::strncmp(Locale, "en_US_POSIX", 11) == 0) Locale = "";
    CollatorPtr Opened = OpenCollator(Locale);
    return Opened ? std::move(Opened) : OpenCollator("");
  }();
  return Collator.get();
}

}  // namespace

int AnsiCompareText(const std::string& S1, const std::string& S2) {
  if (S1 == S2) return 0;
  UCollator* Collator = UserCollator();
  if (Collator == nullptr) return Sign(LowerCase(S1).compare(LowerCase(S2)));
  UErrorCode Status = U_ZERO_ERROR;
  const UCollationResult Result =
      ucol_strcollUTF8(Collator, S1.data(), ClampedLength(S1.size()), S2.data(),
                       ClampedLength(S2.size()), &Status);
  return U_FAILURE(Status) ? Sign(S1.compare(S2)) : static_cast<int>(Result);
}

std::string AnsiSortKey(const std::string& S) {
  UCollator* Collator = UserCollator();
  if (Collator == nullptr) return LowerCase(S);
  const WideString W = ToWide(S);
  std::string Key(64 + 2 * W.size(), '\0');
  auto Fill = [&] {
    return ucol_getSortKey(Collator, W.data(), ClampedLength(W.size()),
                           reinterpret_cast<std::uint8_t*>(Key.data()),
                           ClampedLength(Key.size()));
  };
  int Size = Fill();
  if (Size > static_cast<int>(Key.size())) {
    Key.resize(static_cast<std::size_t>(Size));
    Size = Fill();
  }
  // The key ends with a NUL byte that carries no information.
  Key.resize(Size > 0 ? static_cast<std::size_t>(Size - 1) : 0);
  return Key;
}

#endif

}  // namespace gaugery
