#include "framework/DecimalDigits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace gaugery {

namespace {

// A natural number in 32-bit words, the least significant first.
using TWords = std::vector<std::uint32_t>;
using TWordSpan = std::span<std::uint32_t>;

constexpr int kWordBits = 32;
// Digits are made nine at a time.
constexpr std::uint32_t kChunk = 1000000000;
constexpr int kChunkDigits = 9;

// A finite, positive value as M x 2^Exponent with a natural number M, whatever the
// precision of long double. A value a double holds (every value where Extended is a
// double) is taken apart as a double, which costs far less.
TWords MantissaOf(long double Value, int& Exponent) {
  int Binary = 0;
  const auto AsDouble = static_cast<double>(Value);
  if (static_cast<long double>(AsDouble) == Value) {
    constexpr int kDoubleBits = std::numeric_limits<double>::digits;
    const auto Bits =
        static_cast<std::uint64_t>(std::ldexp(std::frexp(AsDouble, &Binary), kDoubleBits));
    Exponent = Binary - kDoubleBits;
    return {static_cast<std::uint32_t>(Bits), static_cast<std::uint32_t>(Bits >> kWordBits)};
  }
  long double Fraction = std::frexp(Value, &Binary);
  TWords Mantissa;
  while (Fraction != 0) {
    Fraction = std::ldexp(Fraction, kWordBits);
    const auto Word = static_cast<std::uint32_t>(Fraction);
    Fraction -= Word;
    Mantissa.push_back(Word);
    Binary -= kWordBits;
  }
  std::reverse(Mantissa.begin(), Mantissa.end());
  Exponent = Binary;
  return Mantissa;
}

// Value x 2^Bits in at least MinWords words.
TWords ShiftedLeft(const TWords& Value, int Bits, std::size_t MinWords) {
  const auto WordShift = static_cast<std::size_t>(Bits / kWordBits);
  const int BitShift = Bits % kWordBits;
  TWords Result(std::max(Value.size() + WordShift + 1, MinWords), 0);
  for (std::size_t I = 0; I < Value.size(); ++I) {
    const std::uint64_t Shifted = std::uint64_t{Value[I]} << BitShift;
    Result[I + WordShift] |= static_cast<std::uint32_t>(Shifted);
    Result[I + WordShift + 1] |= static_cast<std::uint32_t>(Shifted >> kWordBits);
  }
  return Result;
}

// Value without its zero words at the top.
TWordSpan WithoutHighZeros(TWordSpan Value) {
  while (!Value.empty() && Value.back() == 0) Value = Value.first(Value.size() - 1);
  return Value;
}

// Divides Value by kChunk in place and returns the remainder.
std::uint32_t DivideByChunk(TWordSpan Value) {
  std::uint64_t Remainder = 0;
  for (auto Word = Value.rbegin(); Word != Value.rend(); ++Word) {
    const std::uint64_t Current = (Remainder << kWordBits) | *Word;
    *Word = static_cast<std::uint32_t>(Current / kChunk);
    Remainder = Current % kChunk;
  }
  return static_cast<std::uint32_t>(Remainder);
}

// Multiplies Value by kChunk in place and returns what carries out of the top word.
std::uint32_t MultiplyByChunk(TWordSpan Value) {
  std::uint64_t Carry = 0;
  for (std::uint32_t& Word : Value) {
    const std::uint64_t Product = std::uint64_t{Word} * kChunk + Carry;
    Word = static_cast<std::uint32_t>(Product);
    Carry = Product >> kWordBits;
  }
  return static_cast<std::uint32_t>(Carry);
}

// Nine digits, with leading zeros.
void AppendChunk(std::string& Digits, std::uint32_t Chunk) {
  char Text[kChunkDigits];
  for (int I = kChunkDigits - 1; I >= 0; --I, Chunk /= 10) {
    Text[I] = static_cast<char>('0' + Chunk % 10);
  }
  Digits.append(Text, kChunkDigits);
}

// Appends the digits of a natural number, which it uses up; nothing for zero.
void AppendInteger(std::string& Digits, TWordSpan Value) {
  std::vector<std::uint32_t> Chunks;  // the least significant first
  for (Value = WithoutHighZeros(Value); !Value.empty(); Value = WithoutHighZeros(Value)) {
    Chunks.push_back(DivideByChunk(Value));
  }
  if (Chunks.empty()) return;
  Digits += std::to_string(Chunks.back());
  for (auto Chunk = std::next(Chunks.rbegin()); Chunk != Chunks.rend(); ++Chunk) {
    AppendChunk(Digits, *Chunk);
  }
}

// Appends the digits after the point of Value / 2^(32 x Value.size()), which it uses
// up: up to the last nonzero one (and a few zeros after it), or Limit of them. Every
// step moves the lowest nonzero bit up by nine places, so the fraction runs out.
void AppendFraction(std::string& Digits, TWordSpan Value, int Limit) {
  const std::size_t End = Digits.size() + static_cast<std::size_t>(std::max(Limit, 0));
  while (Digits.size() < End) {
    while (!Value.empty() && Value.front() == 0) Value = Value.subspan(1);
    if (Value.empty()) break;
    AppendChunk(Digits, MultiplyByChunk(Value));
  }
  if (Digits.size() > End) Digits.resize(End);
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

TDecimal ExactDecimal(long double Value, int FractionDigits) {
  TDecimal Decimal;
  if (!std::isfinite(Value)) return Decimal;
  Decimal.Negative = std::signbit(Value);
  const long double Magnitude = std::fabs(Value);
  if (Magnitude == 0) return Decimal;
  int Exponent = 0;
  const TWords Mantissa = MantissaOf(Magnitude, Exponent);
  // The value in fixed point, with whole words after the binary point.
  const int FractionWords = Exponent < 0 ? (kWordBits - 1 - Exponent) / kWordBits : 0;
  TWords Fixed = ShiftedLeft(Mantissa, Exponent + FractionWords * kWordBits,
                             static_cast<std::size_t>(FractionWords));
  const TWordSpan Whole(Fixed);
  const auto Point = static_cast<std::size_t>(FractionWords);
  AppendInteger(Decimal.Digits, Whole.subspan(Point));
  Decimal.Exponent = static_cast<int>(Decimal.Digits.size());
  AppendFraction(Decimal.Digits, Whole.first(Point), FractionDigits);
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
