#include "registry/PerfBlockCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "registry/PerfDataRecords.h"

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

// The checks below answer what is wrong with a record, or null when nothing is.
using TProblem = const char*;

// Counter definitions from the object's HeaderLength, all before its DefinitionLength.
// ValueEnd receives the largest CounterOffset + CounterSize of the object.
TProblem CheckCounterDefinitions(const TBlockView& Block, Offset ObjectAt,
                                 const TPERF_OBJECT_TYPE& Object, Offset& ValueEnd) {
  const Offset End = ObjectAt + Object.DefinitionLength;
  Offset At = ObjectAt + Object.HeaderLength;
  ValueEnd = 0;
  for (DWORD Index = 0; Index < Object.NumCounters; ++Index) {
    TPERF_COUNTER_DEFINITION Counter;
    if (!Block.Read(At, End, Counter)) return "a counter definition lies past its definitions";
    if (Counter.ByteLength < sizeof Counter) return "a counter definition is too short";
    if (!Block.Fits(At, Counter.ByteLength, End)) {
      return "a counter definition lies past its definitions";
    }
    ValueEnd = std::max(ValueEnd, Offset{Counter.CounterOffset} + Counter.CounterSize);
    At += Counter.ByteLength;
  }
  return nullptr;
}

// A counter block at At, before End, holding every counter value of its object.
// Next receives the place after it.
TProblem CheckCounterBlock(const TBlockView& Block, Offset At, Offset End, Offset ValueEnd,
                           Offset& Next) {
  TPERF_COUNTER_BLOCK CounterBlock;
  if (!Block.Read(At, End, CounterBlock)) return "a counter block lies past its object";
  if (CounterBlock.ByteLength < sizeof CounterBlock) return "a counter block is too short";
  if (CounterBlock.ByteLength < ValueEnd) return "a counter value lies past its counter block";
  if (!Block.Fits(At, CounterBlock.ByteLength, End)) return "a counter block lies past its object";
  Next = At + CounterBlock.ByteLength;
  return nullptr;
}

// An instance definition at At with its name and its counter block, before End.
// Next receives the place after the counter block.
TProblem CheckInstance(const TBlockView& Block, Offset At, Offset End, Offset ValueEnd,
                       Offset& Next) {
  TPERF_INSTANCE_DEFINITION Instance;
  if (!Block.Read(At, End, Instance)) return "an instance lies past its object";
  if (Instance.ByteLength < sizeof Instance) return "an instance definition is too short";
  if (!Block.Fits(At, Instance.ByteLength, End)) return "an instance lies past its object";
  if (Instance.NameLength != 0 && !Block.HasNulFrom(At + Instance.NameOffset)) {
    return "an instance name does not end inside the block";
  }
  return CheckCounterBlock(Block, At + Instance.ByteLength, End, ValueEnd, Next);
}

TProblem CheckObject(const TBlockView& Block, Offset At, const TPERF_OBJECT_TYPE& Object) {
  if (Object.HeaderLength < sizeof Object) return "its header is too short";
  if (Object.DefinitionLength < Object.HeaderLength ||
      Object.TotalByteLength < Object.DefinitionLength) {
    return "its lengths contradict each other";
  }
  if (!Block.Fits(At, Object.TotalByteLength, Block.Limit())) return "it runs past the block";
  Offset ValueEnd = 0;
  if (TProblem Problem = CheckCounterDefinitions(Block, At, Object, ValueEnd)) return Problem;

  const Offset End = At + Object.TotalByteLength;
  Offset Next = At + Object.DefinitionLength;
  if (Object.NumInstances == PERF_NO_INSTANCES) {
    return CheckCounterBlock(Block, Next, End, ValueEnd, Next);
  }
  if (Object.NumInstances < 0) return "its instance count is negative";
  for (LONG Index = 0; Index < Object.NumInstances; ++Index) {
    if (TProblem Problem = CheckInstance(Block, Next, End, ValueEnd, Next)) return Problem;
  }
  return nullptr;
}

// What is wrong with the header of the Size bytes at Data, or null.
TProblem CheckHeader(const void* Data, DWORD Size, TPERF_DATA_BLOCK& Header) {
  if (Data == nullptr || Size < sizeof Header) return "shorter than a block header";
  std::memcpy(&Header, Data, sizeof Header);
  if (TProblem Problem = HeaderProblem(Header)) return Problem;
  if (Header.TotalByteLength > Size) return "shorter than its header says";
  return nullptr;
}

std::string ObjectProblem(DWORD Position, DWORD Objects, Offset At, TProblem Problem) {
  return "object " + std::to_string(Position + 1) + " of " + std::to_string(Objects) +
         " (at byte " + std::to_string(At) + "): " + Problem;
}

}  // namespace

const char* HeaderProblem(const TPERF_DATA_BLOCK& Header) {
  if (std::memcmp(Header.Signature, GAUGERY_WTEXT("PERF"), sizeof Header.Signature) != 0) {
    return "its signature is not PERF";
  }
  if (Header.HeaderLength < sizeof Header) return "its header length is too short";
  if (Header.TotalByteLength < Header.HeaderLength) {
    return "its total length is shorter than its header";
  }
  return nullptr;
}

TBlockCheck CheckBlock(const void* Data, DWORD Size) {
  TBlockCheck Result;
  TPERF_DATA_BLOCK Header;
  if (TProblem Problem = CheckHeader(Data, Size, Header)) {
    Result.Problem = Problem;
    return Result;
  }
  const TBlockView Block(static_cast<const BYTE*>(Data), Header.TotalByteLength);
  if (!Block.HasNulFrom(Header.SystemNameOffset)) {
    Result.Problem = "its system name does not end inside the block";
    return Result;
  }
  Result.HeaderSound = true;
  Result.Objects = Header.NumObjectTypes;

  Offset At = Header.HeaderLength;
  for (; Result.SoundObjects < Header.NumObjectTypes; ++Result.SoundObjects) {
    TPERF_OBJECT_TYPE Object;
    TProblem Problem = Block.Read(At, Block.Limit(), Object) ? CheckObject(Block, At, Object)
                                                              : "it runs past the block";
    if (Problem != nullptr) {
      Result.Problem = ObjectProblem(Result.SoundObjects, Header.NumObjectTypes, At, Problem);
      break;
    }
    At += Object.TotalByteLength;
  }
  return Result;
}

bool IsWellFormedBlock(const void* Data, DWORD Size) { return CheckBlock(Data, Size).WellFormed(); }

}  // namespace gaugery
