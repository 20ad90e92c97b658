// The field encodings of counter log records: little-endian fixed-width integers,
// unsigned LEB128 numbers, and texts prefixed by their length. Reading is bounds-checked:
// a field that runs past the bytes at hand raises an Exception naming what was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::counterlog {

// Appends fields to Out.
class TByteWriter {
 public:
  explicit TByteWriter(std::vector<BYTE>& Out) : Out_(Out) {}

  void U8(std::uint8_t Value) { Out_.push_back(Value); }
  void U32(std::uint32_t Value);
  void U64(std::uint64_t Value);
  void Number(std::uint64_t Value);
  void Bytes(const void* Data, std::size_t Length);
  // A UTF-8 text: its byte count as a Number, then its bytes.
  void Text(const std::string& Value);
  // UTF-16 code units: their count as a Number, then each unit little-endian.
  void Wide(const WideString& Value);

 private:
  std::vector<BYTE>& Out_;
};

// Reads fields from Size bytes at Data; What names the record in messages.
class TByteReader {
 public:
  TByteReader(const BYTE* Data, std::size_t Size, const char* What)
      : Data_(Data), Size_(Size), What_(What) {}

  std::uint8_t U8();
  std::uint32_t U32();
  std::uint64_t U64();
  std::uint64_t Number();
  // The next Length bytes, in place.
  const BYTE* Bytes(std::size_t Length);
  std::string Text();
  WideString Wide();

  std::size_t Remaining() const { return Size_ - At_; }
  std::size_t Position() const { return At_; }
  // Raises the reader's Exception: "<What> is damaged (<Problem>)".
  [[noreturn]] void Fail(const std::string& Problem) const;

 private:
  const BYTE* Data_;
  std::size_t Size_;
  std::size_t At_ = 0;
  const char* What_;
};

// Little-endian fixed-width integers at P, for frame heads and tails.
std::uint32_t LoadU32(const BYTE* P);
std::uint64_t LoadU64(const BYTE* P);
void StoreU32(BYTE* P, std::uint32_t Value);

}  // namespace gaugery::counterlog
