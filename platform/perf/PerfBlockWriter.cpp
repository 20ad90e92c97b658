#include "perf/PerfBlockWriter.h"

#include <algorithm>
#include <cstring>

namespace gaugery {

namespace {

constexpr std::size_t RecordAlignment = 8;
constexpr char16_t ReplacementCharacter = 0xFFFD;

std::size_t Aligned(std::size_t Bytes) {
  return (Bytes + RecordAlignment - 1) / RecordAlignment * RecordAlignment;
}

template <typename TRecord>
void Store(BYTE* At, const TRecord& Record) {
  std::memcpy(At, &Record, sizeof Record);
}

bool IsContinuation(unsigned char Byte) { return (Byte & 0xC0) == 0x80; }

// Decodes one code point at the start of Text and returns the bytes it took; an
// ill-formed sequence gives U+FFFD for its first byte.
std::size_t DecodeCodePoint(std::string_view Text, char32_t& CodePoint) {
  auto Lead = static_cast<unsigned char>(Text[0]);
  std::size_t Length = Lead < 0x80 ? 1 : Lead >= 0xC2 && Lead < 0xE0 ? 2
                                      : Lead >= 0xE0 && Lead < 0xF0 ? 3
                                      : Lead >= 0xF0 && Lead < 0xF5 ? 4
                                                                     : 0;
  CodePoint = ReplacementCharacter;
  if (Length == 1) CodePoint = Lead == 0 ? ReplacementCharacter : Lead;
  if (Length < 2 || Length > Text.size()) return 1;
  char32_t Value = Lead & (0x7F >> Length);
  for (std::size_t At = 1; At < Length; ++At) {
    auto Byte = static_cast<unsigned char>(Text[At]);
    if (!IsContinuation(Byte)) return 1;
    Value = Value << 6 | (Byte & 0x3F);
  }
  constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  bool Surrogate = Value >= 0xD800 && Value <= 0xDFFF;
  if (Value < Smallest[Length] || Value > 0x10FFFF || Surrogate) return 1;
  CodePoint = Value;
  return Length;
}

// Calls Emit for every UTF-16 code unit of the UTF-8 text.
template <typename TEmit>
void ForEachUtf16Unit(std::string_view Text, TEmit&& Emit) {
  while (!Text.empty()) {
    char32_t CodePoint;
    Text.remove_prefix(DecodeCodePoint(Text, CodePoint));
    if (CodePoint < 0x10000) {
      Emit(static_cast<char16_t>(CodePoint));
    } else {
      Emit(static_cast<char16_t>(0xD800 + ((CodePoint - 0x10000) >> 10)));
      Emit(static_cast<char16_t>(0xDC00 + ((CodePoint - 0x10000) & 0x3FF)));
    }
  }
}

}  // namespace

void WriteCounterValue(BYTE* Block, const TCounterLayout& Counter, std::uint64_t Value) {
  if (Counter.Size == sizeof(std::uint64_t)) {
    std::memcpy(Block + Counter.Offset, &Value, sizeof Value);
  } else {
    auto Low = static_cast<std::uint32_t>(Value);
    std::memcpy(Block + Counter.Offset, &Low, sizeof Low);
  }
}

BYTE* TPerfBlockWriter::Reserve(std::size_t Bytes) {
  std::size_t Length = Aligned(Bytes);
  if (Overflowed_ || Length > Capacity_ - Used_) {
    Overflowed_ = true;
    return nullptr;
  }
  BYTE* At = Start_ + Used_;
  std::memset(At, 0, Length);
  Used_ += static_cast<DWORD>(Length);
  return At;
}

void TPerfBlockWriter::BeginObject(DWORD TitleIndex, std::span<const TCounterLayout> Counters,
                                   bool HasInstances, std::int64_t PerfTime) {
  ObjectStart_ = Used_;
  Instances_ = HasInstances ? 0 : PERF_NO_INSTANCES;
  CounterBlockLength_ = sizeof(TPERF_COUNTER_BLOCK);
  for (const TCounterLayout& Counter : Counters) {
    CounterBlockLength_ = std::max(CounterBlockLength_, Counter.Offset + Counter.Size);
  }
  CounterBlockLength_ = static_cast<DWORD>(Aligned(CounterBlockLength_));

  std::size_t DefinitionLength =
      sizeof(TPERF_OBJECT_TYPE) + Counters.size() * sizeof(TPERF_COUNTER_DEFINITION);
  BYTE* At = Reserve(DefinitionLength);
  if (At == nullptr) return;
  TPERF_OBJECT_TYPE Object{};
  Object.DefinitionLength = static_cast<DWORD>(DefinitionLength);
  Object.HeaderLength = sizeof(TPERF_OBJECT_TYPE);
  Object.ObjectNameTitleIndex = TitleIndex;
  Object.ObjectHelpTitleIndex = TitleIndex + 1;
  Object.DetailLevel = PERF_DETAIL_NOVICE;
  Object.NumCounters = static_cast<DWORD>(Counters.size());
  Object.PerfTime = PerfTime;
  Object.PerfFreq = FileTimeFrequency;
  Store(At, Object);
  At += sizeof Object;
  for (const TCounterLayout& Counter : Counters) {
    TPERF_COUNTER_DEFINITION Definition{};
    Definition.ByteLength = sizeof Definition;
    Definition.CounterNameTitleIndex = Counter.Index;
    Definition.CounterHelpTitleIndex = Counter.Index + 1;
    Definition.DetailLevel = PERF_DETAIL_NOVICE;
    Definition.CounterType = Counter.Type;
    Definition.CounterSize = Counter.Size;
    Definition.CounterOffset = Counter.Offset;
    Store(At, Definition);
    At += sizeof Definition;
  }
}

BYTE* TPerfBlockWriter::AddInstance(std::string_view Name) {
  std::size_t Units = 1;  // the terminating NUL
  ForEachUtf16Unit(Name, [&Units](char16_t) { ++Units; });
  if (Units > Capacity_) {
    Overflowed_ = true;
    return nullptr;
  }
  std::size_t NameLength = Units * sizeof(char16_t);
  std::size_t ByteLength = Aligned(sizeof(TPERF_INSTANCE_DEFINITION) + NameLength);
  BYTE* At = Reserve(ByteLength);
  if (At == nullptr) return nullptr;
  TPERF_INSTANCE_DEFINITION Instance{};
  Instance.ByteLength = static_cast<DWORD>(ByteLength);
  Instance.UniqueID = PERF_NO_UNIQUE_ID;
  Instance.NameOffset = sizeof Instance;
  Instance.NameLength = static_cast<DWORD>(NameLength);
  Store(At, Instance);
  BYTE* Unit = At + sizeof Instance;
  ForEachUtf16Unit(Name, [&Unit](char16_t Code) {
    std::memcpy(Unit, &Code, sizeof Code);
    Unit += sizeof Code;
  });
  BYTE* Block = AddCounterBlock();
  if (Block != nullptr) ++Instances_;
  return Block;
}

BYTE* TPerfBlockWriter::AddObjectBlock() { return AddCounterBlock(); }

BYTE* TPerfBlockWriter::AddCounterBlock() {
  BYTE* Block = Reserve(CounterBlockLength_);
  if (Block != nullptr) Store(Block, TPERF_COUNTER_BLOCK{CounterBlockLength_});
  return Block;
}

void TPerfBlockWriter::EndObject() {
  if (Overflowed_) return;
  BYTE* Object = Start_ + ObjectStart_;
  DWORD TotalByteLength = Used_ - ObjectStart_;
  std::memcpy(Object + offsetof(TPERF_OBJECT_TYPE, TotalByteLength), &TotalByteLength,
              sizeof TotalByteLength);
  std::memcpy(Object + offsetof(TPERF_OBJECT_TYPE, NumInstances), &Instances_, sizeof Instances_);
  ++Objects_;
}

}  // namespace gaugery
