#include "framework/Unicode.h"

#include <algorithm>

namespace gaugery {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t Unit) { return Unit >= 0xD800 && Unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t Unit) { return Unit >= 0xDC00 && Unit <= 0xDFFF; }

void AppendUtf8(std::string& Out, char32_t CodePoint) {
  if (CodePoint < 0x80) {
    Out += static_cast<char>(CodePoint);
  } else if (CodePoint < 0x800) {
    Out += static_cast<char>(0xC0 | (CodePoint >> 6));
    Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
  } else if (CodePoint < 0x10000) {
    Out += static_cast<char>(0xE0 | (CodePoint >> 12));
    Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (CodePoint >> 18));
    Out += static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
  }
}

void AppendUtf16(WideString& Out, char32_t CodePoint) {
  if (CodePoint < 0x10000) {
    Out += static_cast<WCHAR>(CodePoint);
  } else {
    CodePoint -= 0x10000;
    Out += static_cast<WCHAR>(0xD800 + (CodePoint >> 10));
    Out += static_cast<WCHAR>(0xDC00 + (CodePoint & 0x3FF));
  }
}

// The lead byte's sequence length and the range its first continuation byte must lie
// in (narrower than 80..BF where that excludes overlong forms, surrogates and values
// above U+10FFFF); length 0 for a byte that cannot start a sequence.
struct LeadByte {
  int Length;
  unsigned char Low;
  unsigned char High;
};

LeadByte ClassifyLead(unsigned char Byte) {
  if (Byte < 0x80) return {1, 0, 0};
  if (Byte >= 0xC2 && Byte <= 0xDF) return {2, 0x80, 0xBF};
  if (Byte == 0xE0) return {3, 0xA0, 0xBF};
  if (Byte == 0xED) return {3, 0x80, 0x9F};
  if (Byte >= 0xE1 && Byte <= 0xEF) return {3, 0x80, 0xBF};
  if (Byte == 0xF0) return {4, 0x90, 0xBF};
  if (Byte >= 0xF1 && Byte <= 0xF3) return {4, 0x80, 0xBF};
  if (Byte == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// Decodes the sequence at Text[Pos] and advances Pos past it. An ill-formed sequence
// yields one U+FFFD for its longest valid prefix (at least one byte), so that decoding
// resumes at the first byte that broke it.
char32_t DecodeUtf8(std::string_view Text, std::size_t& Pos) {
  auto Lead = static_cast<unsigned char>(Text[Pos++]);
  const LeadByte Kind = ClassifyLead(Lead);
  if (Kind.Length == 1) return Lead;
  if (Kind.Length == 0) return kReplacement;

  char32_t CodePoint = Lead & (0xFF >> (Kind.Length + 1));
  for (int I = 1; I < Kind.Length; ++I) {
    if (Pos >= Text.size()) return kReplacement;
    auto Next = static_cast<unsigned char>(Text[Pos]);
    const unsigned char Low = I == 1 ? Kind.Low : 0x80;
    const unsigned char High = I == 1 ? Kind.High : 0xBF;
    if (Next < Low || Next > High) return kReplacement;
    CodePoint = (CodePoint << 6) | (Next & 0x3F);
    ++Pos;
  }
  return CodePoint;
}

}  // namespace

std::string ToUtf8(const WCHAR* Text) {
  if (Text == nullptr) return {};
  return ToUtf8(Text, static_cast<std::size_t>(lstrlenW(Text)));
}

std::string ToUtf8(const WCHAR* Text, std::size_t Length) {
  if (Text == nullptr) return {};
  // Most texts are ASCII: their bytes go straight into place.
  std::string Out(Length, '\0');
  std::size_t I = 0;
  for (; I < Length && static_cast<char16_t>(Text[I]) < 0x80; ++I) {
    Out[I] = static_cast<char>(Text[I]);
  }
  if (I == Length) return Out;
  Out.resize(I);
  for (; I < Length; ++I) {
    char32_t Unit = static_cast<char16_t>(Text[I]);
    if (IsHighSurrogate(Unit) && I + 1 < Length &&
        IsLowSurrogate(static_cast<char16_t>(Text[I + 1]))) {
      char32_t Low = static_cast<char16_t>(Text[++I]);
      AppendUtf8(Out, 0x10000 + ((Unit - 0xD800) << 10) + (Low - 0xDC00));
    } else if (IsHighSurrogate(Unit) || IsLowSurrogate(Unit)) {
      AppendUtf8(Out, kReplacement);
    } else {
      AppendUtf8(Out, Unit);
    }
  }
  return Out;
}

std::string ToUtf8(const WideString& Text) { return ToUtf8(Text.data(), Text.size()); }

WideString ToWide(const std::string& Text) {
  WideString Out;
  AppendWide(Out, Text);
  return Out;
}

void AppendWide(WideString& Out, std::string_view Text) {
  // As in ToUtf8, the ASCII head of a text is copied unit by unit into place.
  const std::size_t Start = Out.size();
  Out.resize(Start + Text.size());
  std::size_t Pos = 0;
  for (; Pos < Text.size() && static_cast<unsigned char>(Text[Pos]) < 0x80; ++Pos) {
    Out[Start + Pos] = static_cast<WCHAR>(Text[Pos]);
  }
  if (Pos == Text.size()) return;
  Out.resize(Start + Pos);
  while (Pos < Text.size()) AppendUtf16(Out, DecodeUtf8(Text, Pos));
}

int lstrlenW(const WCHAR* Text) {
  if (Text == nullptr) return 0;
  int Length = 0;
  while (Text[Length] != 0) ++Length;
  return Length;
}

std::size_t CodePointCount(const std::string& Text) {
  return static_cast<std::size_t>(
      std::count_if(Text.begin(), Text.end(), [](char C) { return (C & 0xC0) != 0x80; }));
}

std::string FirstCodePoints(const std::string& Text, std::size_t Count) {
  std::size_t Seen = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if ((Text[I] & 0xC0) != 0x80 && Seen++ == Count) return Text.substr(0, I);
  }
  return Text;
}

}  // namespace gaugery
