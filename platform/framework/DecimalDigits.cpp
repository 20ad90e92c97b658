#include "framework/DecimalDigits.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace gaugery {

namespace {

// A natural number in 32-bit words, the least significant first.
using TWords = std::vector<std::uint32_t>;

constexpr int kWordBits = 32;
// Digits are made nine at a time.
constexpr std::uint32_t kChunk = 1000000000;
constexpr int kChunkDigits = 9;

// A finite, positive value as M x 2^Exponent with a natural number M, whatever the
// precision of long double.
TWords MantissaOf(long double Value, int& Exponent) {
  int Binary = 0;
  long double Fraction = std::frexp(Value, &Binary);
  TWords MostSignificantFirst;
  while (Fraction != 0) {
    Fraction = std::ldexp(Fraction, kWordBits);
    const auto Word = static_cast<std::uint32_t>(Fraction);
    Fraction -= Word;
    MostSignificantFirst.push_back(Word);
    Binary -= kWordBits;
  }
  Exponent = Binary;
  return TWords(MostSignificantFirst.rbegin(), MostSignificantFirst.rend());
}

TWords ShiftedLeft(const TWords& Value, int Bits) {
  const auto WordShift = static_cast<std::size_t>(Bits / kWordBits);
  const int BitShift = Bits % kWordBits;
  TWords Result(Value.size() + WordShift + 1, 0);
  for (std::size_t I = 0; I < Value.size(); ++I) {
    const std::uint64_t Shifted = std::uint64_t{Value[I]} << BitShift;
    Result[I + WordShift] |= static_cast<std::uint32_t>(Shifted);
    Result[I + WordShift + 1] |= static_cast<std::uint32_t>(Shifted >> kWordBits);
  }
  return Result;
}

void DropHighZeros(TWords& Value) {
  while (!Value.empty() && Value.back() == 0) Value.pop_back();
}

// Divides Value by kChunk in place and returns the remainder.
std::uint32_t DivideByChunk(TWords& Value) {
  std::uint64_t Remainder = 0;
  for (auto Word = Value.rbegin(); Word != Value.rend(); ++Word) {
    const std::uint64_t Current = (Remainder << kWordBits) | *Word;
    *Word = static_cast<std::uint32_t>(Current / kChunk);
    Remainder = Current % kChunk;
  }
  DropHighZeros(Value);
  return static_cast<std::uint32_t>(Remainder);
}

// Multiplies Value from its word First on by kChunk in place and returns what carries
// out of the top word.
std::uint32_t MultiplyByChunk(TWords& Value, std::size_t First) {
  std::uint64_t Carry = 0;
  for (std::size_t I = First; I < Value.size(); ++I) {
    const std::uint64_t Product = std::uint64_t{Value[I]} * kChunk + Carry;
    Value[I] = static_cast<std::uint32_t>(Product);
    Carry = Product >> kWordBits;
  }
  return static_cast<std::uint32_t>(Carry);
}

// Nine digits, with leading zeros.
void AppendChunk(std::string& Digits, std::uint32_t Chunk) {
  char Text[kChunkDigits];
  for (int I = kChunkDigits - 1; I >= 0; --I, Chunk /= 10)
    Text[I] = static_cast<char>('0' + Chunk % 10);
  Digits.append(Text, kChunkDigits);
}

// The digits of a natural number, possibly with leading zeros; empty for zero.
std::string IntegerDigits(TWords Value) {
  DropHighZeros(Value);
  std::vector<std::uint32_t> Chunks;  // the least significant first
  while (!Value.empty()) Chunks.push_back(DivideByChunk(Value));
  std::string Digits;
  for (auto Chunk = Chunks.rbegin(); Chunk != Chunks.rend(); ++Chunk) AppendChunk(Digits, *Chunk);
  return Digits;
}

// The digits after the point of Value / 2^(32 x Value.size()), up to the last nonzero
// one (and a few zeros after it). Every step moves the lowest nonzero bit up by nine
// places, so the fraction runs out.
std::string FractionDigits(TWords Value) {
  std::string Digits;
  std::size_t Low = 0;  // the words below it are zero, and stay zero
  for (;;) {
    while (Low < Value.size() && Value[Low] == 0) ++Low;
    if (Low == Value.size()) return Digits;
    AppendChunk(Digits, MultiplyByChunk(Value, Low));
  }
}

void Normalize(TDecimal& Decimal) {
  const std::size_t Leading = Decimal.Digits.find_first_not_of('0');
  if (Leading == std::string::npos) {
    Decimal.Digits.clear();
    Decimal.Exponent = 0;
    return;
  }
  Decimal.Digits.erase(0, Leading);
  Decimal.Exponent -= static_cast<int>(Leading);
  Decimal.Digits.erase(Decimal.Digits.find_last_not_of('0') + 1);
}

}  // namespace

TDecimal ExactDecimal(long double Value) {
  TDecimal Decimal;
  if (!std::isfinite(Value)) return Decimal;
  Decimal.Negative = std::signbit(Value);
  const long double Magnitude = std::fabs(Value);
  if (Magnitude == 0) return Decimal;
  int Exponent = 0;
  const TWords Mantissa = MantissaOf(Magnitude, Exponent);
  // The value in fixed point, with whole words after the binary point.
  const int FractionWords = Exponent < 0 ? (kWordBits - 1 - Exponent) / kWordBits : 0;
  TWords Fixed = ShiftedLeft(Mantissa, Exponent + FractionWords * kWordBits);
  if (Fixed.size() < static_cast<std::size_t>(FractionWords)) Fixed.resize(FractionWords);
  const auto Point = Fixed.begin() + FractionWords;
  const std::string Integer = IntegerDigits(TWords(Point, Fixed.end()));
  Decimal.Digits = Integer + FractionDigits(TWords(Fixed.begin(), Point));
  Decimal.Exponent = static_cast<int>(Integer.size());
  Normalize(Decimal);
  return Decimal;
}

void KeepDigits(TDecimal& Decimal, int Count) {
  if (Count >= static_cast<int>(Decimal.Digits.size())) return;
  if (Count < 0) {
    Decimal.Digits.clear();
    Decimal.Exponent = 0;
    return;
  }
  const bool RoundUp = Decimal.Digits[static_cast<std::size_t>(Count)] >= '5';
  Decimal.Digits.resize(static_cast<std::size_t>(Count));
  if (RoundUp) {
    while (!Decimal.Digits.empty() && Decimal.Digits.back() == '9') Decimal.Digits.pop_back();
    if (Decimal.Digits.empty()) {
      Decimal.Digits.assign(1, '1');
      ++Decimal.Exponent;
    } else {
      ++Decimal.Digits.back();
    }
  }
  Normalize(Decimal);
}

}  // namespace gaugery
