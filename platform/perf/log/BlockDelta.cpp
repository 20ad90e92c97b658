#include "perf/log/BlockDelta.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>

#include "perf/log/LogBytes.h"
#include "registry/PerfDataRecords.h"

namespace gaugery::counterlog {

namespace {

// Changed bytes closer than this are stored as one run: a run's two numbers cost about
// as much as the equal bytes between them.
constexpr DWORD kRunJoinDistance = 4;

// Op 0 stores a unit whole; op 1 + zigzag(reference - expected) refers to a unit of the
// previous block, expected being the one after the last referred to.
constexpr std::uint64_t kLiteralOp = 0;

template <class TRecord>
TRecord RecordAt(const BYTE* Data, std::uint64_t At) {
  TRecord Record;
  std::memcpy(&Record, Data + At, sizeof Record);
  return Record;
}

void AppendKeyNumber(std::string& Key, std::uint32_t Value) {
  Key.append(reinterpret_cast<const char*>(&Value), sizeof Value);
}

class TCutter {
 public:
  TCutter(const BYTE* Data, DWORD Size, bool WithKeys)
      : Data_(Data), Size_(Size), WithKeys_(WithKeys) {}

  TBlockLayout Cut() {
    const auto Header = RecordAt<TPERF_DATA_BLOCK>(Data_, 0);
    std::uint64_t At = Header.HeaderLength;
    Add(0, At, "H");
    std::map<DWORD, std::uint32_t> SeenObjects;
    for (DWORD Object = 0; Object < Header.NumObjectTypes; ++Object) {
      const auto Record = RecordAt<TPERF_OBJECT_TYPE>(Data_, At);
      std::string ObjectKey;
      AppendKeyNumber(ObjectKey, Record.ObjectNameTitleIndex);
      AppendKeyNumber(ObjectKey, SeenObjects[Record.ObjectNameTitleIndex]++);
      CutObject(At, Record, ObjectKey);
      At += Record.TotalByteLength;
    }
    Add(At, Size_, "T");
    return std::move(Layout_);
  }

 private:
  void CutObject(std::uint64_t At, const TPERF_OBJECT_TYPE& Object, const std::string& Key) {
    const std::uint64_t End = At + Object.TotalByteLength;
    std::uint64_t Next = At + Object.DefinitionLength;
    Add(At, Next, "O" + Key);
    if (Object.NumInstances == PERF_NO_INSTANCES) {
      Add(Next, End, "C" + Key);
      return;
    }
    std::unordered_map<std::string, std::uint32_t> SeenInstances;
    for (LONG Instance = 0; Instance < Object.NumInstances; ++Instance) {
      const auto Definition = RecordAt<TPERF_INSTANCE_DEFINITION>(Data_, Next);
      const std::uint64_t BlockAt = Next + Definition.ByteLength;
      const auto Counters = RecordAt<TPERF_COUNTER_BLOCK>(Data_, BlockAt);
      const std::uint64_t InstanceEnd = BlockAt + Counters.ByteLength;
      std::string InstanceKey;
      if (WithKeys_) {
        InstanceKey = "I" + Key + InstanceName(Next, Definition);
        AppendKeyNumber(InstanceKey, static_cast<std::uint32_t>(Definition.UniqueID));
        AppendKeyNumber(InstanceKey, SeenInstances[InstanceKey]++);
      }
      Add(Next, InstanceEnd, InstanceKey);
      Next = InstanceEnd;
    }
    Add(Next, End, "P" + Key);
  }

  // The bytes of the instance's name that lie inside the block.
  std::string InstanceName(std::uint64_t At, const TPERF_INSTANCE_DEFINITION& Definition) const {
    const std::uint64_t First = std::min<std::uint64_t>(At + Definition.NameOffset, Size_);
    const std::uint64_t Last = std::min<std::uint64_t>(First + Definition.NameLength, Size_);
    return std::string(reinterpret_cast<const char*>(Data_ + First), Last - First);
  }

  void Add(std::uint64_t First, std::uint64_t Last, std::string Key) {
    if (Last <= First) return;
    Layout_.Units.push_back({static_cast<DWORD>(First), static_cast<DWORD>(Last - First)});
    if (WithKeys_) Layout_.Keys.push_back(std::move(Key));
  }

  const BYTE* Data_;
  DWORD Size_;
  bool WithKeys_;
  TBlockLayout Layout_;
};

std::uint64_t ZigZag(std::int64_t Value) {
  return (static_cast<std::uint64_t>(Value) << 1) ^ static_cast<std::uint64_t>(Value >> 63);
}

std::int64_t UnZigZag(std::uint64_t Value) {
  return static_cast<std::int64_t>(Value >> 1) ^ -static_cast<std::int64_t>(Value & 1);
}

// The runs of Current that differ from Previous (both Length bytes), as skip, length and
// bytes, preceded by their count.
void WriteChangedRuns(TByteWriter& Out, const BYTE* Previous, const BYTE* Current, DWORD Length) {
  struct TRun {
    DWORD First, Last;
  };
  std::vector<TRun> Runs;
  for (DWORD At = 0; At < Length; ++At) {
    if (Previous[At] == Current[At]) continue;
    if (!Runs.empty() && At - Runs.back().Last <= kRunJoinDistance) {
      Runs.back().Last = At + 1;
    } else {
      Runs.push_back({At, At + 1});
    }
  }
  Out.Number(Runs.size());
  DWORD Done = 0;
  for (const TRun& Run : Runs) {
    Out.Number(Run.First - Done);
    Out.Number(Run.Last - Run.First);
    Out.Bytes(Current + Run.First, Run.Last - Run.First);
    Done = Run.Last;
  }
}

}  // namespace

TBlockLayout CutBlock(const BYTE* Data, DWORD Size, bool WithKeys) {
  return TCutter(Data, Size, WithKeys).Cut();
}

std::vector<BYTE> EncodeDelta(const BYTE* Previous, const TBlockLayout& PreviousLayout,
                              const BYTE* Current, const TBlockLayout& CurrentLayout) {
  std::unordered_map<std::string_view, std::size_t> PreviousUnits;
  for (std::size_t Unit = 0; Unit < PreviousLayout.Keys.size(); ++Unit) {
    PreviousUnits.emplace(PreviousLayout.Keys[Unit], Unit);
  }
  std::vector<BYTE> Delta;
  TByteWriter Out(Delta);
  Out.Number(CurrentLayout.Units.size());
  std::int64_t Expected = 0;
  for (std::size_t Unit = 0; Unit < CurrentLayout.Units.size(); ++Unit) {
    const TBlockUnit& Piece = CurrentLayout.Units[Unit];
    const auto Found = PreviousUnits.find(CurrentLayout.Keys[Unit]);
    if (Found == PreviousUnits.end() ||
        PreviousLayout.Units[Found->second].Length != Piece.Length) {
      Out.Number(kLiteralOp);
      Out.Number(Piece.Length);
      Out.Bytes(Current + Piece.Offset, Piece.Length);
      continue;
    }
    const auto Reference = static_cast<std::int64_t>(Found->second);
    Out.Number(1 + ZigZag(Reference - Expected));
    Expected = Reference + 1;
    WriteChangedRuns(Out, Previous + PreviousLayout.Units[Found->second].Offset,
                     Current + Piece.Offset, Piece.Length);
  }
  return Delta;
}

std::vector<BYTE> DecodeDelta(const BYTE* Previous, const TBlockLayout& PreviousLayout,
                              const BYTE* Delta, std::size_t DeltaSize, DWORD BlockSize) {
  TByteReader In(Delta, DeltaSize, "a stored sample");
  std::size_t Bound = DeltaSize;
  for (const TBlockUnit& Unit : PreviousLayout.Units) Bound += Unit.Length;
  if (BlockSize > Bound) In.Fail("its block is larger than its parts");
  std::vector<BYTE> Block;
  Block.reserve(BlockSize);
  std::vector<bool> Used(PreviousLayout.Units.size(), false);
  const std::uint64_t Units = In.Number();
  std::int64_t Expected = 0;
  for (std::uint64_t Unit = 0; Unit < Units; ++Unit) {
    const std::uint64_t Op = In.Number();
    if (Op == kLiteralOp) {
      const std::uint64_t Length = In.Number();
      if (Length > BlockSize - Block.size()) In.Fail("a part runs past its block");
      const BYTE* Bytes = In.Bytes(static_cast<std::size_t>(Length));
      Block.insert(Block.end(), Bytes, Bytes + Length);
      continue;
    }
    const std::int64_t Reference = Expected + UnZigZag(Op - 1);
    if (Reference < 0 || static_cast<std::uint64_t>(Reference) >= Used.size() || Used[Reference]) {
      In.Fail("a part refers to no earlier part");
    }
    Used[Reference] = true;
    Expected = Reference + 1;
    const TBlockUnit& Source = PreviousLayout.Units[Reference];
    if (Source.Length > BlockSize - Block.size()) In.Fail("a part runs past its block");
    const std::size_t First = Block.size();
    Block.insert(Block.end(), Previous + Source.Offset, Previous + Source.Offset + Source.Length);
    const std::uint64_t Runs = In.Number();
    std::uint64_t At = 0;
    for (std::uint64_t Run = 0; Run < Runs; ++Run) {
      const std::uint64_t Skip = In.Number();
      const std::uint64_t Length = In.Number();
      if (Skip > Source.Length - At || Length > Source.Length - At - Skip) {
        In.Fail("a change runs past its part");
      }
      At += Skip;
      const BYTE* Bytes = In.Bytes(static_cast<std::size_t>(Length));
      std::copy(Bytes, Bytes + Length, Block.begin() + static_cast<std::ptrdiff_t>(First + At));
      At += Length;
    }
  }
  if (Block.size() != BlockSize || In.Remaining() != 0) In.Fail("its parts do not make its block");
  return Block;
}

}  // namespace gaugery::counterlog
