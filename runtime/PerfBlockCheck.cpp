#include "PerfBlockCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "WinPerf.h"

namespace gaugery {

namespace {

// Offsets from the block's start, wide enough that no sum of two 32-bit fields wraps.
using Offset = std::uint64_t;

// The bytes a component may walk: the first TotalByteLength bytes of the block.
class TBlockView {
 public:
  TBlockView(const BYTE* Data, Offset Limit) : Data_(Data), Limit_(Limit) {
    FindLastNul(0);
    FindLastNul(1);
  }

  Offset Limit() const { return Limit_; }

  // Copies the record at At when it lies wholly before End (End <= Limit).
  template <class TRecord>
  bool Read(Offset At, Offset End, TRecord& Record) const {
    if (!Fits(At, sizeof(TRecord), End)) return false;
    std::memcpy(&Record, Data_ + At, sizeof(TRecord));
    return true;
  }

  // True when a NUL code unit follows At (At itself included) inside the block,
  // stepping by code units from At. Constant time, so that many names pointing at
  // the same long text keep the whole check linear.
  bool HasNulFrom(Offset At) const {
    const Offset Parity = At % 2;
    return HasNul_[Parity] && At <= LastNul_[Parity];
  }

  static bool Fits(Offset At, Offset Length, Offset End) { return At <= End && Length <= End - At; }

 private:
  // The last NUL code unit that starts at an offset of the given parity.
  void FindLastNul(Offset Parity) {
    HasNul_[Parity] = false;
    if (Limit_ < 2 + Parity) return;
    for (Offset At = Limit_ - 2 - (Limit_ - Parity) % 2;; At -= 2) {
      if (Data_[At] == 0 && Data_[At + 1] == 0) {
        HasNul_[Parity] = true;
        LastNul_[Parity] = At;
        return;
      }
      if (At < 2) return;
    }
  }

  const BYTE* Data_;
  Offset Limit_;
  bool HasNul_[2] = {false, false};
  Offset LastNul_[2] = {0, 0};
};

// Counter definitions from the object's HeaderLength, all before its DefinitionLength.
// ValueEnd receives the largest CounterOffset + CounterSize of the object.
bool CheckCounterDefinitions(const TBlockView& Block, Offset ObjectAt,
                             const TPERF_OBJECT_TYPE& Object, Offset& ValueEnd) {
  const Offset End = ObjectAt + Object.DefinitionLength;
  Offset At = ObjectAt + Object.HeaderLength;
  ValueEnd = 0;
  for (DWORD Index = 0; Index < Object.NumCounters; ++Index) {
    TPERF_COUNTER_DEFINITION Counter;
    if (!Block.Read(At, End, Counter)) return false;
    if (Counter.ByteLength < sizeof Counter || !Block.Fits(At, Counter.ByteLength, End)) {
      return false;
    }
    ValueEnd = std::max(ValueEnd, Offset{Counter.CounterOffset} + Counter.CounterSize);
    At += Counter.ByteLength;
  }
  return true;
}

// A counter block at At, before End, holding every counter value of its object.
// Next receives the place after it.
bool CheckCounterBlock(const TBlockView& Block, Offset At, Offset End, Offset ValueEnd,
                       Offset& Next) {
  TPERF_COUNTER_BLOCK CounterBlock;
  if (!Block.Read(At, End, CounterBlock)) return false;
  if (CounterBlock.ByteLength < sizeof CounterBlock || CounterBlock.ByteLength < ValueEnd ||
      !Block.Fits(At, CounterBlock.ByteLength, End)) {
    return false;
  }
  Next = At + CounterBlock.ByteLength;
  return true;
}

// An instance definition at At with its name and its counter block, before End.
// Next receives the place after the counter block.
bool CheckInstance(const TBlockView& Block, Offset At, Offset End, Offset ValueEnd, Offset& Next) {
  TPERF_INSTANCE_DEFINITION Instance;
  if (!Block.Read(At, End, Instance)) return false;
  if (Instance.ByteLength < sizeof Instance || !Block.Fits(At, Instance.ByteLength, End)) {
    return false;
  }
  if (Instance.NameLength != 0 && !Block.HasNulFrom(At + Instance.NameOffset)) return false;
  return CheckCounterBlock(Block, At + Instance.ByteLength, End, ValueEnd, Next);
}

bool CheckObject(const TBlockView& Block, Offset At, const TPERF_OBJECT_TYPE& Object) {
  if (Object.HeaderLength < sizeof Object || Object.DefinitionLength < Object.HeaderLength ||
      Object.TotalByteLength < Object.DefinitionLength ||
      !Block.Fits(At, Object.TotalByteLength, Block.Limit())) {
    return false;
  }
  Offset ValueEnd = 0;
  if (!CheckCounterDefinitions(Block, At, Object, ValueEnd)) return false;

  const Offset End = At + Object.TotalByteLength;
  Offset Next = At + Object.DefinitionLength;
  if (Object.NumInstances == PERF_NO_INSTANCES) {
    return CheckCounterBlock(Block, Next, End, ValueEnd, Next);
  }
  if (Object.NumInstances < 0) return false;
  for (LONG Index = 0; Index < Object.NumInstances; ++Index) {
    if (!CheckInstance(Block, Next, End, ValueEnd, Next)) return false;
  }
  return true;
}

}  // namespace

bool IsWellFormedBlock(const void* Data, DWORD Size) {
  TPERF_DATA_BLOCK Header;
  if (Data == nullptr || Size < sizeof Header) return false;
  std::memcpy(&Header, Data, sizeof Header);
  if (Header.HeaderLength < sizeof Header || Header.TotalByteLength < Header.HeaderLength ||
      Header.TotalByteLength > Size) {
    return false;
  }

  const TBlockView Block(static_cast<const BYTE*>(Data), Header.TotalByteLength);
  if (!Block.HasNulFrom(Header.SystemNameOffset)) return false;

  Offset At = Header.HeaderLength;
  for (DWORD Index = 0; Index < Header.NumObjectTypes; ++Index) {
    TPERF_OBJECT_TYPE Object;
    if (!Block.Read(At, Block.Limit(), Object) || !CheckObject(Block, At, Object)) return false;
    At += Object.TotalByteLength;
  }
  return true;
}

}  // namespace gaugery
