#include "perf/log/LogBytes.h"

#include "framework/Exceptions.h"

namespace gaugery::counterlog {

std::uint32_t LoadU32(const BYTE* P) {
  return std::uint32_t{P[0]} | std::uint32_t{P[1]} << 8 | std::uint32_t{P[2]} << 16 |
         std::uint32_t{P[3]} << 24;
}

std::uint64_t LoadU64(const BYTE* P) {
  return std::uint64_t{LoadU32(P)} | std::uint64_t{LoadU32(P + 4)} << 32;
}

void StoreU32(BYTE* P, std::uint32_t Value) {
  for (int Byte = 0; Byte < 4; ++Byte) P[Byte] = static_cast<BYTE>(Value >> (8 * Byte));
}

void TByteWriter::U32(std::uint32_t Value) {
  for (int Byte = 0; Byte < 4; ++Byte) Out_.push_back(static_cast<BYTE>(Value >> (8 * Byte)));
}

void TByteWriter::U64(std::uint64_t Value) {
  U32(static_cast<std::uint32_t>(Value));
  U32(static_cast<std::uint32_t>(Value >> 32));
}

void TByteWriter::Number(std::uint64_t Value) {
  while (Value >= 0x80) {
    Out_.push_back(static_cast<BYTE>(Value | 0x80));
    Value >>= 7;
  }
  Out_.push_back(static_cast<BYTE>(Value));
}

void TByteWriter::Bytes(const void* Data, std::size_t Length) {
  const auto* First = static_cast<const BYTE*>(Data);
  Out_.insert(Out_.end(), First, First + Length);
}

void TByteWriter::Text(const std::string& Value) {
  Number(Value.size());
  Bytes(Value.data(), Value.size());
}

void TByteWriter::Wide(const WideString& Value) {
  Number(Value.size());
  for (WCHAR Unit : Value) {
    Out_.push_back(static_cast<BYTE>(Unit));
    Out_.push_back(static_cast<BYTE>(static_cast<std::uint16_t>(Unit) >> 8));
  }
}

void TByteReader::Fail(const std::string& Problem) const {
  throw Exception(std::string(What_) + " is damaged (" + Problem + ")");
}

const BYTE* TByteReader::Bytes(std::size_t Length) {
  if (Length > Remaining()) Fail("a field runs past its end");
  const BYTE* Field = Data_ + At_;
  At_ += Length;
  return Field;
}

std::uint8_t TByteReader::U8() { return *Bytes(1); }
std::uint32_t TByteReader::U32() { return LoadU32(Bytes(4)); }
std::uint64_t TByteReader::U64() { return LoadU64(Bytes(8)); }

std::uint64_t TByteReader::Number() {
  std::uint64_t Value = 0;
  for (int Shift = 0; Shift < 64; Shift += 7) {
    const BYTE Byte = U8();
    Value |= std::uint64_t{Byte & 0x7Fu} << Shift;
    if ((Byte & 0x80) == 0) return Value;
  }
  Fail("a number is too long");
}

std::string TByteReader::Text() {
  const std::uint64_t Length = Number();
  if (Length > Remaining()) Fail("a text runs past its end");
  const BYTE* Field = Bytes(static_cast<std::size_t>(Length));
  return std::string(reinterpret_cast<const char*>(Field), static_cast<std::size_t>(Length));
}

WideString TByteReader::Wide() {
  const std::uint64_t Units = Number();
  if (Units > Remaining() / 2) Fail("a text runs past its end");
  const BYTE* Field = Bytes(static_cast<std::size_t>(Units) * 2);
  WideString Value(static_cast<std::size_t>(Units), WCHAR{0});
  for (std::size_t Unit = 0; Unit < Value.size(); ++Unit) {
    Value[Unit] = static_cast<WCHAR>(Field[2 * Unit] | Field[2 * Unit + 1] << 8);
  }
  return Value;
}

}  // namespace gaugery::counterlog
