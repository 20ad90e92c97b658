#include "framework/TextCompare.h"

#include <climits>
#include <functional>
#include <string>

#include "framework/TextFunctions.h"
#include "framework/Unicode.h"

#ifdef _WIN32
#include "framework/WindowsApi.h"
#else
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uloc.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>
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

struct ElementsCloser {
  void operator()(UCollationElements* Elements) const { ucol_closeElements(Elements); }
};
using ElementsPtr = std::unique_ptr<UCollationElements, ElementsCloser>;

struct SetCloser {
  void operator()(USet* Set) const { uset_close(Set); }
};
using SetPtr = std::unique_ptr<USet, SetCloser>;

// Calls Visit with the primary weight of each collation element of Text that lies above
// VariableTop; false if ICU failed. The iterator hands out a 32-bit primary in two
// halves: the upper one in the element, the lower one in a continuation element that
// follows when it is nonzero.
template <class TVisit>
bool ForEachPrimary(const UCollator* Collator, const UChar* Text, int Length,
                    std::uint32_t VariableTop, TVisit Visit) {
  UErrorCode Status = U_ZERO_ERROR;
  const ElementsPtr Elements(ucol_openElements(Collator, Text, Length, &Status));
  if (U_FAILURE(Status)) return false;
  constexpr std::uint32_t ContinuationMark = 0xC0;
  std::uint32_t Primary = 0;
  auto Flush = [&] {
    if (Primary > VariableTop) Visit(Primary);
  };
  for (;;) {
    const std::int32_t Element = ucol_next(Elements.get(), &Status);
    if (Element == UCOL_NULLORDER || U_FAILURE(Status)) break;
    const auto Bits = static_cast<std::uint32_t>(Element);
    if ((Bits & ContinuationMark) == ContinuationMark) {
      Primary |= Bits >> 16;
    } else {
      Flush();
      Primary = Bits & 0xFFFF0000u;
    }
  }
  Flush();
  return U_SUCCESS(Status);
}

// Primary weights, in order, mixed into 64 bits.
class TPrimaryHash {
 public:
  void Add(std::uint32_t Primary) {
    Value_ = (std::rotl(Value_, 23) ^ Primary) * 0x9E3779B97F4A7C15u;
  }
  // The final mix spreads every bit over the low bits that hash tables use.
  std::uint64_t Result() const {
    std::uint64_t X = Value_;
    X = (X ^ (X >> 30)) * 0xBF58476D1CE4E5B9u;
    X = (X ^ (X >> 27)) * 0x94D049BB133111EBu;
    return X ^ (X >> 31);
  }

 private:
  std::uint64_t Value_ = 0;
};

// Hashes texts by the primary weights of their collation elements above the variable
// top. Texts the collator calls equal have equal primary weights, except for weights at
// or below the variable top (spaces, punctuation), which some settings ignore; leaving
// those out, equal texts get equal hashes.
//
// Computing collation elements is the expensive part. Most characters of the one- and
// two-byte UTF-8 range have the same elements wherever they stand: those take their
// weights from a table built once. A text with any other character, or ill-formed UTF-8,
// goes through a collation element iterator.
class TCollationHasher {
 public:
  explicit TCollationHasher(const UCollator* Collator);
  std::uint64_t Hash(const std::string& S) const;

 private:
  static constexpr char32_t TableSize = 0x800;
  static constexpr std::size_t MaxWeights = 3;
  static constexpr std::uint8_t NotInTable = 0xFF;
  struct TCharWeights {
    std::uint32_t Weights[MaxWeights] = {};
    std::uint8_t Count = NotInTable;
  };

  std::vector<bool> NeighbourDependent() const;
  std::optional<std::uint64_t> HashFromTable(const std::string& S) const;
  std::uint64_t HashFromElements(const std::string& S) const;

  const UCollator* Collator_;
  std::uint32_t VariableTop_;
  std::vector<TCharWeights> Table_;
};

TCollationHasher::TCollationHasher(const UCollator* Collator)
    : Collator_(Collator), Table_(TableSize) {
  UErrorCode Status = U_ZERO_ERROR;
  VariableTop_ = ucol_getVariableTop(Collator, &Status);
  // Without it no weight is known to count: every text gets the same hash, which is
  // slow for an index but still right.
  if (U_FAILURE(Status)) VariableTop_ = UINT32_MAX;
  const std::vector<bool> Dependent = NeighbourDependent();
  for (char32_t C = 0; C < TableSize; ++C) {
    if (Dependent[C]) continue;
    const auto Unit = static_cast<UChar>(C);
    TCharWeights Entry;
    std::size_t Count = 0;
    const bool Read = ForEachPrimary(Collator, &Unit, 1, VariableTop_, [&](std::uint32_t Primary) {
      if (Count < MaxWeights) Entry.Weights[Count] = Primary;
      ++Count;
    });
    if (!Read || Count > MaxWeights) continue;
    Entry.Count = static_cast<std::uint8_t>(Count);
    Table_[C] = Entry;
  }
}

// The characters of the table range whose elements may depend on their neighbours:
// those that start with a combining mark (canonical reordering moves them), digits when
// the collator compares numbers by value, and the characters after the first of each
// contraction or prefix mapping made only of characters that are none of these (a
// mapping with any other character never applies within a text of table characters,
// and the first character of a mapping that does not apply has its own elements).
std::vector<bool> TCollationHasher::NeighbourDependent() const {
  UErrorCode Status = U_ZERO_ERROR;
  const bool Numeric = ucol_getAttribute(Collator_, UCOL_NUMERIC_COLLATION, &Status) == UCOL_ON;
  std::vector<bool> Excluded(TableSize);
  for (char32_t C = 0; C < TableSize; ++C) {
    const auto Point = static_cast<UChar32>(C);
    Excluded[C] = u_getIntPropertyValue(Point, UCHAR_LEAD_CANONICAL_COMBINING_CLASS) != 0 ||
                  (Numeric && u_isdigit(Point));
  }
  const SetPtr Mappings(uset_openEmpty());
  ucol_getContractionsAndExpansions(Collator_, Mappings.get(), nullptr, true, &Status);
  if (U_FAILURE(Status)) return std::vector<bool>(TableSize, true);

  std::vector<bool> Dependent = Excluded;
  std::u16string Text(64, u'\0');
  std::vector<char32_t> Points;
  for (int32_t Item = 0; Item < uset_getItemCount(Mappings.get()); ++Item) {
    UChar32 Start = 0;
    UChar32 End = 0;
    UErrorCode ItemStatus = U_ZERO_ERROR;
    int32_t Length = uset_getItem(Mappings.get(), Item, &Start, &End, Text.data(),
                                  static_cast<int32_t>(Text.size()), &ItemStatus);
    if (ItemStatus == U_BUFFER_OVERFLOW_ERROR) {
      Text.resize(static_cast<std::size_t>(Length));
      ItemStatus = U_ZERO_ERROR;
      Length = uset_getItem(Mappings.get(), Item, &Start, &End, Text.data(), Length, &ItemStatus);
    }
    if (U_FAILURE(ItemStatus)) return std::vector<bool>(TableSize, true);
    Points.clear();
    for (int32_t Offset = 0; Offset < Length;) {
      UChar32 Point = 0;
      U16_NEXT(Text.data(), Offset, Length, Point);
      Points.push_back(static_cast<char32_t>(Point));
    }
    const bool InTableText = std::all_of(Points.begin(), Points.end(), [&](char32_t Point) {
      return Point < TableSize && !Excluded[Point];
    });
    if (!InTableText) continue;
    for (std::size_t I = 1; I < Points.size(); ++I) Dependent[Points[I]] = true;
  }
  return Dependent;
}

std::uint64_t TCollationHasher::Hash(const std::string& S) const {
  if (const std::optional<std::uint64_t> FromTable = HashFromTable(S)) return *FromTable;
  return HashFromElements(S);
}

// None when S holds a character that is not in the table or is not well-formed UTF-8
// of one or two bytes.
std::optional<std::uint64_t> TCollationHasher::HashFromTable(const std::string& S) const {
  TPrimaryHash Hash;
  const auto* Byte = reinterpret_cast<const unsigned char*>(S.data());
  const auto* End = Byte + S.size();
  while (Byte != End) {
    char32_t C = *Byte++;
    if (C >= 0x80) {
      const bool TwoBytes = C >= 0xC2 && C <= 0xDF && Byte != End && (*Byte & 0xC0) == 0x80;
      if (!TwoBytes) return std::nullopt;
      C = ((C & 0x1F) << 6) | (*Byte++ & 0x3F);
    }
    const TCharWeights& Entry = Table_[C];
    if (Entry.Count == NotInTable) return std::nullopt;
    for (std::uint8_t I = 0; I < Entry.Count; ++I) Hash.Add(Entry.Weights[I]);
  }
  return Hash.Result();
}

// Converted the way the comparison reads UTF-8: U+FFFD for each ill-formed sequence.
std::uint64_t TCollationHasher::HashFromElements(const std::string& S) const {
  const WideString W = ToWide(S);
  TPrimaryHash Hash;
  ForEachPrimary(Collator_, W.data(), ClampedLength(W.size()), VariableTop_,
                 [&](std::uint32_t Primary) { Hash.Add(Primary); });
  return Hash.Result();
}

// Null when there is no collator.
const TCollationHasher* UserHasher() {
  static const std::unique_ptr<const TCollationHasher> Hasher = [] {
    const UCollator* Collator = UserCollator();
    return Collator != nullptr ? std::make_unique<const TCollationHasher>(Collator) : nullptr;
  }();
  return Hasher.get();
}

}  // namespace

int AnsiCompareText(const std::string& S1, const std::string& S2) {
  if (S1 == S2) return 0;
  UCollator* Collator = UserCollator();
  if (Collator == nullptr) return Sign(LowerCase(S1).compare(LowerCase(S2)));
  UErrorCode Status = U_ZERO_ERROR;
  const UCollationResult Result = ucol_strcollUTF8(Collator, S1.data(), ClampedLength(S1.size()),
                                                   S2.data(), ClampedLength(S2.size()), &Status);
  return U_FAILURE(Status) ? Sign(S1.compare(S2)) : static_cast<int>(Result);
}

std::string AnsiSortKey(const std::string& S) {
  UCollator* Collator = UserCollator();
  if (Collator == nullptr) return LowerCase(S);
  const WideString W = ToWide(S);
  std::string Key(64 + 2 * W.size(), '\0');
  auto Fill = [&] {
    return ucol_getSortKey(Collator, W.data(), ClampedLength(W.size()),
                           reinterpret_cast<std::uint8_t*>(Key.data()), ClampedLength(Key.size()));
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

std::uint64_t AnsiTextHash(const std::string& S) {
  const TCollationHasher* Hasher = UserHasher();
  return Hasher != nullptr ? Hasher->Hash(S) : std::hash<std::string>{}(LowerCase(S));
}

#endif

}  // namespace gaugery
