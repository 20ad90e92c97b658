#include "framework/TextCompare.h"

#include <climits>
#include <functional>
#include <string>

#include "framework/IcuFunctions.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"

#ifdef _WIN32
#include "framework/WindowsApi.h"
#else
#include <algorithm>
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
  const int Result =
      ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, W1.data(), ClampedLength(W1.size()),
                       W2.data(), ClampedLength(W2.size()));
  // 0 means the call failed: fall back to the order of the code units.
  if (Result == 0) return Sign(W1.compare(W2));
  return Result - CSTR_EQUAL;
}

std::string AnsiSortKey(const std::string& S) {
  const WideString W = ToWide(S);
  const DWORD Flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  // The call refuses a length of 0, so the empty text goes as a NUL-terminated one and
  // gets the key of the texts CompareStringW calls equal to it (U+FFFD among them).
  const int Length = W.empty() ? -1 : ClampedLength(W.size());
  const int Size = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, W.c_str(), Length, nullptr, 0,
                                   nullptr, nullptr, 0);
  if (Size <= 0) return {};
  std::string Key(static_cast<std::size_t>(Size), '\0');
  ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, W.c_str(), Length,
                  reinterpret_cast<LPWSTR>(Key.data()), Size, nullptr, nullptr, 0);
  // The key ends with a NUL byte that carries no information.
  while (!Key.empty() && Key.back() == '\0') Key.pop_back();
  return Key;
}

std::uint64_t AnsiTextHash(const std::string& S) {
  return std::hash<std::string>{}(AnsiSortKey(S));
}

#else

namespace {

// ---------------------------------------------------------------------------------------
// Caseless keys: texts are equal ignoring case exactly when their keys are equal. A key
// is the canonical decomposition of the full case folding of the canonical
// decomposition (Unicode's canonical caseless match): "ß" and "SS", "Σ", "σ" and "ς",
// "Ä" and "A" followed by a combining diaeresis are equal; width, compatibility forms,
// accents and control characters still count. Ill-formed UTF-8 reads as U+FFFD.

bool IsAscii(const std::string& S) {
  return std::all_of(S.begin(), S.end(),
                     [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

char FoldAscii(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

// Text passed through one ICU transformation with the usual preflight; the text
// unchanged when ICU fails or cannot be loaded.
template <class TTransform>
WideString Transformed(const WideString& Text, TTransform Transform) {
  WideString Result(Text.size() + 16, u'\0');
  UErrorCode Status = U_ZERO_ERROR;
  int32_t Length = Transform(Text.data(), ClampedLength(Text.size()), Result.data(),
                             ClampedLength(Result.size()), &Status);
  if (Status == U_BUFFER_OVERFLOW_ERROR) {
    Result.resize(static_cast<std::size_t>(Length));
    Status = U_ZERO_ERROR;
    Length = Transform(Text.data(), ClampedLength(Text.size()), Result.data(), Length, &Status);
  }
  if (U_FAILURE(Status)) return Text;
  Result.resize(static_cast<std::size_t>(Length));
  return Result;
}

WideString Decomposed(const WideString& Text) {
  const TIcuFunctions* Icu = IcuFunctions();
  if (Icu == nullptr) return Text;
  UErrorCode Status = U_ZERO_ERROR;
  const UNormalizer2* Nfd = Icu->NfdInstance(&Status);
  if (U_FAILURE(Status)) return Text;
  if (Icu->IsNormalized(Nfd, Text.data(), ClampedLength(Text.size()), &Status)) return Text;
  return Transformed(Text, [&](const UChar* Source, int32_t Length, UChar* Target, int32_t Capacity,
                               UErrorCode* Error) {
    return Icu->Normalize(Nfd, Source, Length, Target, Capacity, Error);
  });
}

WideString Folded(const WideString& Text) {
  const TIcuFunctions* Icu = IcuFunctions();
  if (Icu == nullptr) return Text;
  return Transformed(Text, [Icu](const UChar* Source, int32_t Length, UChar* Target,
                                 int32_t Capacity, UErrorCode* Error) {
    return Icu->StrFoldCase(Target, Capacity, Source, Length, U_FOLD_CASE_DEFAULT, Error);
  });
}

// The key of any text; that of an ASCII text is its lower-case form.
WideString CaselessKey(const std::string& S) {
  if (!IsAscii(S)) return Decomposed(Folded(Decomposed(ToWide(S))));
  WideString Key(S.size(), u'\0');
  std::transform(S.begin(), S.end(), Key.begin(),
                 [](char C) { return static_cast<char16_t>(FoldAscii(C)); });
  return Key;
}

bool SameAscii(const std::string& S1, const std::string& S2) {
  return S1.size() == S2.size() && std::equal(S1.begin(), S1.end(), S2.begin(), [](char A, char B) {
           return FoldAscii(A) == FoldAscii(B);
         });
}

// FNV-1a over the key's code units, then a mix that spreads every bit over the low
// bits that hash tables use.
class TKeyHash {
 public:
  void Add(char16_t Unit) { Value_ = (Value_ ^ Unit) * 0x100000001B3u; }
  std::uint64_t Result() const {
    std::uint64_t X = Value_;
    X = (X ^ (X >> 30)) * 0xBF58476D1CE4E5B9u;
    X = (X ^ (X >> 27)) * 0x94D049BB133111EBu;
    return X ^ (X >> 31);
  }

 private:
  std::uint64_t Value_ = 0xCBF29CE484222325u;
};

// ---------------------------------------------------------------------------------------
// Order

struct CollatorCloser {
  void operator()(UCollator* Collator) const { IcuFunctions()->CollatorClose(Collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

CollatorPtr OpenCollator(const TIcuFunctions& Icu, const char* Locale) {
  UErrorCode Status = U_ZERO_ERROR;
  CollatorPtr Collator(Icu.CollatorOpen(Locale, &Status));
  return U_FAILURE(Status) ? nullptr : std::move(Collator);
}

// The collator of the user's default locale. The C and POSIX locales map to ICU's
// "en_US_POSIX", which orders by code point; they get the root collation instead. Null
// only when ICU cannot be loaded or has no collation data at all.
UCollator* UserCollator() {
  static const CollatorPtr Collator = []() -> CollatorPtr {
    const TIcuFunctions* Icu = IcuFunctions();
    if (Icu == nullptr) return nullptr;
    const char* Locale = Icu->DefaultLocale();
    if (Locale == nullptr || std::strncmp(Locale, "en_US_POSIX", 11) == 0) Locale = "";
    CollatorPtr Opened = OpenCollator(*Icu, Locale);
    return Opened ? std::move(Opened) : OpenCollator(*Icu, "");
  }();
  return Collator.get();
}

}  // namespace

// Keys in the locale's collation order; keys the collation cannot tell apart in the
// order of their code units, so that only equal keys compare equal.
int AnsiCompareText(const std::string& S1, const std::string& S2) {
  if (S1 == S2) return 0;
  const WideString K1 = CaselessKey(S1);
  const WideString K2 = CaselessKey(S2);
  if (K1 == K2) return 0;
  if (UCollator* Collator = UserCollator()) {
    const UCollationResult Order = IcuFunctions()->Collate(
        Collator, K1.data(), ClampedLength(K1.size()), K2.data(), ClampedLength(K2.size()));
    if (Order != UCOL_EQUAL) return static_cast<int>(Order);
  }
  return Sign(K1.compare(K2));
}

// ASCII texts are compared and hashed without making their keys.
bool AnsiSameText(const std::string& S1, const std::string& S2) {
  if (S1 == S2) return true;
  if (IsAscii(S1) && IsAscii(S2)) return SameAscii(S1, S2);
  return CaselessKey(S1) == CaselessKey(S2);
}

std::string AnsiSortKey(const std::string& S) {
  return IsAscii(S) ? LowerCase(S) : ToUtf8(CaselessKey(S));
}

std::uint64_t AnsiTextHash(const std::string& S) {
  TKeyHash Hash;
  if (IsAscii(S)) {
    for (char C : S) Hash.Add(static_cast<char16_t>(FoldAscii(C)));
  } else {
    for (char16_t Unit : CaselessKey(S)) Hash.Add(Unit);
  }
  return Hash.Result();
}

#endif

#ifdef _WIN32
bool AnsiSameText(const std::string& S1, const std::string& S2) {
  return AnsiCompareText(S1, S2) == 0;
}
#endif

}  // namespace gaugery
