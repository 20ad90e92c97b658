#include "PrintableText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/uchar.h>
#endif

namespace gaugery::cli {

namespace {

bool IsC0OrDel(unsigned char Byte) { return Byte < 0x20 || Byte == 0x7F; }

// U+0080 to U+009F are the two bytes C2 80 to C2 9F in UTF-8.
bool StartsC1(const std::string& Text, std::size_t At) {
  return static_cast<unsigned char>(Text[At]) == 0xC2 && At + 1 < Text.size() &&
         static_cast<unsigned char>(Text[At + 1]) >= 0x80 &&
         static_cast<unsigned char>(Text[At + 1]) <= 0x9F;
}

// One character of UTF-8 text: its code point and its length in bytes. Bytes that form
// no character stand for U+FFFD, as a terminal shows them: the start of a sequence cut
// short as one, every byte of any other ill-formed sequence as one of its own.
struct TCharacter {
  char32_t CodePoint = 0xFFFD;
  std::size_t Length = 1;
};

TCharacter CharacterAt(const std::string& Text, std::size_t At) {
  const auto Byte = [&](std::size_t Index) { return static_cast<unsigned char>(Text[Index]); };
  const unsigned char Lead = Byte(At);
  if (Lead < 0x80) return {Lead, 1};
  const std::size_t Length = Lead >= 0xF5   ? 0
                             : Lead >= 0xF0 ? 4
                             : Lead >= 0xE0 ? 3
                             : Lead >= 0xC2 ? 2
                                            : 0;
  if (Length == 0) return {};
  char32_t CodePoint = Lead & (0x7F >> Length);
  for (std::size_t Next = 1; Next < Length; ++Next) {
    if (At + Next >= Text.size() || (Byte(At + Next) & 0xC0) != 0x80) return {0xFFFD, Next};
    CodePoint = (CodePoint << 6) | (Byte(At + Next) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are no characters.
  constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (CodePoint < Smallest[Length] || (CodePoint >= 0xD800 && CodePoint < 0xE000) ||
      CodePoint > 0x10FFFF)
    return {};
  return {CodePoint, Length};
}

#ifdef _WIN32

// The system's character types: no East Asian width, but marks, ideographs, kana and
// full-width forms; characters outside the basic plane are mostly emoji and ideographs.
std::size_t ColumnsOf(char32_t CodePoint) {
  if (CodePoint >= 0x10000) return 2;
  const wchar_t Unit = static_cast<wchar_t>(CodePoint);
  WORD Type = 0;
  if (!GetStringTypeW(CT_CTYPE3, &Unit, 1, &Type)) return 1;
  if ((Type & C3_NONSPACING) != 0) return 0;
  if ((Type & C3_HALFWIDTH) != 0) return 1;
  return (Type & (C3_FULLWIDTH | C3_IDEOGRAPH | C3_HIRAGANA | C3_KATAKANA)) != 0 ? 2 : 1;
}

#else

std::size_t ColumnsOf(char32_t CodePoint) {
  const auto Character = static_cast<UChar32>(CodePoint);
  switch (u_charType(Character)) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_FORMAT_CHAR:
      return 0;
    default:
      break;
  }
  const auto Width =
      static_cast<UEastAsianWidth>(u_getIntPropertyValue(Character, UCHAR_EAST_ASIAN_WIDTH));
  return Width == U_EA_WIDE || Width == U_EA_FULLWIDTH ? 2 : 1;
}

#endif

}  // namespace

std::string PrintableText(const std::string& Text) {
  std::string Printable;
  Printable.reserve(Text.size());
  for (std::size_t At = 0; At < Text.size(); ++At) {
    if (StartsC1(Text, At)) {
      Printable += '?';
      ++At;
    } else {
      Printable += IsC0OrDel(static_cast<unsigned char>(Text[At])) ? '?' : Text[At];
    }
  }
  return Printable;
}

std::size_t DisplayWidth(const std::string& Text) {
  std::size_t Width = 0;
  for (std::size_t At = 0; At < Text.size();) {
    const TCharacter Character = CharacterAt(Text, At);
    Width += ColumnsOf(Character.CodePoint);
    At += Character.Length;
  }
  return Width;
}

std::string FirstColumns(const std::string& Text, std::size_t Width) {
  std::size_t Used = 0;
  std::size_t At = 0;
  while (At < Text.size()) {
    const TCharacter Character = CharacterAt(Text, At);
    Used += ColumnsOf(Character.CodePoint);
    if (Used > Width) break;
    At += Character.Length;
  }
  return Text.substr(0, At);
}

}  // namespace gaugery::cli
