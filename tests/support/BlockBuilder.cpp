#include "BlockBuilder.h"

#include <algorithm>

#include "framework/Unicode.h"

namespace gaugery::test {

namespace {

std::size_t AlignUp(std::size_t Value, std::size_t Alignment) {
  return (Value + Alignment - 1) / Alignment * Alignment;
}

void PadTo8(std::vector<BYTE>& Bytes) { Bytes.resize(AlignUp(Bytes.size(), 8), 0); }

// Appends a record and answers its offset.
template <class T>
std::size_t Append(std::vector<BYTE>& Bytes, const T& Record) {
  const std::size_t Offset = Bytes.size();
  Bytes.resize(Offset + sizeof Record);
  std::memcpy(Bytes.data() + Offset, &Record, sizeof Record);
  return Offset;
}

// Appends a UTF-16 text with its NUL and answers its length in bytes.
std::size_t AppendWide(std::vector<BYTE>& Bytes, const std::string& Text) {
  WideString Wide = ToWide(Text);
  const std::size_t Length = (Wide.size() + 1) * sizeof(WCHAR);
  const std::size_t Offset = Bytes.size();
  Bytes.resize(Offset + Length);
  std::memcpy(Bytes.data() + Offset, Wide.c_str(), Length);
  return Length;
}

// Where each counter's value lies in a counter block, and the block's length.
struct TValueLayout {
  std::vector<DWORD> Offsets;
  DWORD BlockLength = 0;
};

TValueLayout LayOutValues(const std::vector<TCounterSpec>& Counters) {
  TValueLayout Layout;
  std::size_t Next = sizeof(TPERF_COUNTER_BLOCK);
  for (const TCounterSpec& Counter : Counters) {
    const std::size_t Alignment = Counter.Size >= 8 ? 8 : Counter.Size >= 4 ? 4 : 1;
    const std::size_t Offset = Counter.Offset ? *Counter.Offset : AlignUp(Next, Alignment);
    Next = std::max<std::size_t>(Next, Offset + Counter.Size);
    Layout.Offsets.push_back(static_cast<DWORD>(Offset));
  }
  Layout.BlockLength = static_cast<DWORD>(AlignUp(Next, 8));
  return Layout;
}

std::size_t AppendCounterBlock(std::vector<BYTE>& Bytes, const std::vector<TCounterSpec>& Counters,
                               const TValueLayout& Layout, const std::vector<std::int64_t>& Values) {
  const std::size_t Offset = Append(Bytes, TPERF_COUNTER_BLOCK{Layout.BlockLength});
  Bytes.resize(Offset + Layout.BlockLength, 0);
  for (std::size_t Index = 0; Index < Counters.size() && Index < Values.size(); ++Index) {
    // Little-endian: the first Size bytes of the 64-bit value are the value at that size.
    const std::size_t Width = std::min<std::size_t>(Counters[Index].Size, sizeof(std::int64_t));
    std::memcpy(Bytes.data() + Offset + Layout.Offsets[Index], &Values[Index], Width);
  }
  return Offset;
}

void AppendInstance(std::vector<BYTE>& Bytes, const TInstanceSpec& Plan, TObjectLayout& Layout) {
  TPERF_INSTANCE_DEFINITION Instance{};
  Instance.ParentObjectTitleIndex = Plan.ParentObjectTitleIndex;
  Instance.ParentObjectInstance = Plan.ParentObjectInstance;
  Instance.UniqueID = Plan.UniqueID;
  Instance.NameOffset = sizeof Instance;
  const std::size_t Offset = Append(Bytes, Instance);
  const std::size_t NameLength = AppendWide(Bytes, Plan.Name);
  PadTo8(Bytes);
  auto& Written = *reinterpret_cast<TPERF_INSTANCE_DEFINITION*>(Bytes.data() + Offset);
  Written.NameLength = static_cast<DWORD>(NameLength);
  Written.ByteLength = static_cast<DWORD>(Bytes.size() - Offset);
  Layout.Instances.push_back(Offset);
}

TPERF_COUNTER_DEFINITION MakeCounter(const TCounterSpec& Plan, DWORD ValueOffset) {
  TPERF_COUNTER_DEFINITION Counter{};
  Counter.ByteLength = sizeof Counter;
  Counter.CounterNameTitleIndex = Plan.NameIndex;
  Counter.CounterHelpTitleIndex = Plan.HelpIndex != 0 ? Plan.HelpIndex : Plan.NameIndex + 1;
  Counter.DefaultScale = Plan.DefaultScale;
  Counter.DetailLevel = Plan.DetailLevel;
  Counter.CounterType = Plan.Type;
  Counter.CounterSize = Plan.Size;
  Counter.CounterOffset = ValueOffset;
  return Counter;
}

TObjectLayout AppendObject(std::vector<BYTE>& Bytes, const TObjectSpec& Plan) {
  TObjectLayout Layout;
  TPERF_OBJECT_TYPE Object{};
  Object.HeaderLength = sizeof Object;
  Object.ObjectNameTitleIndex = Plan.NameIndex;
  Object.ObjectHelpTitleIndex = Plan.HelpIndex != 0 ? Plan.HelpIndex : Plan.NameIndex + 1;
  Object.DetailLevel = Plan.DetailLevel;
  Object.NumCounters = static_cast<DWORD>(Plan.Counters.size());
  Object.DefaultCounter = Plan.DefaultCounter;
  Object.NumInstances =
      Plan.HasInstances ? static_cast<LONG>(Plan.Instances.size()) : PERF_NO_INSTANCES;
  Object.PerfTime = Plan.PerfTime;
  Object.PerfFreq = Plan.PerfFreq;
  Layout.Offset = Append(Bytes, Object);

  const TValueLayout Values = LayOutValues(Plan.Counters);
  for (std::size_t Index = 0; Index < Plan.Counters.size(); ++Index) {
    Layout.Counters.push_back(Append(Bytes, MakeCounter(Plan.Counters[Index], Values.Offsets[Index])));
  }
  PadTo8(Bytes);
  const auto DefinitionLength = static_cast<DWORD>(Bytes.size() - Layout.Offset);

  if (Plan.HasInstances) {
    for (const TInstanceSpec& Instance : Plan.Instances) {
      AppendInstance(Bytes, Instance, Layout);
      Layout.CounterBlocks.push_back(AppendCounterBlock(Bytes, Plan.Counters, Values, Instance.Values));
    }
  } else {
    Layout.CounterBlocks.push_back(AppendCounterBlock(Bytes, Plan.Counters, Values, Plan.Values));
  }

  auto& Written = *reinterpret_cast<TPERF_OBJECT_TYPE*>(Bytes.data() + Layout.Offset);
  Written.DefinitionLength = DefinitionLength;
  Written.TotalByteLength = static_cast<DWORD>(Bytes.size() - Layout.Offset);
  return Layout;
}

TPERF_DATA_BLOCK MakeHeader(const TBlockSpec& Plan) {
  TPERF_DATA_BLOCK Header{};
  const WCHAR Signature[4] = {u'P', u'E', u'R', u'F'};
  std::memcpy(Header.Signature, Signature, sizeof Signature);
  Header.LittleEndian = 1;
  Header.Version = 1;
  Header.Revision = 1;
  Header.NumObjectTypes = static_cast<DWORD>(Plan.Objects.size());
  Header.DefaultObject = Plan.DefaultObject;
  Header.SystemTime = Plan.SystemTime;
  Header.PerfTime = Plan.PerfTime;
  Header.PerfFreq = Plan.PerfFreq;
  Header.PerfTime100nSec = Plan.PerfTime100nSec;
  return Header;
}

}  // namespace

TBlock BuildBlock(const TBlockSpec& Plan) {
  TBlock Block;
  std::vector<BYTE>& Bytes = Block.Bytes;
  Append(Bytes, MakeHeader(Plan));
  Block.SystemNameOffset = Bytes.size();
  const std::size_t NameLength = AppendWide(Bytes, Plan.SystemName);
  PadTo8(Bytes);
  Block.HeaderLength = Bytes.size();
  for (const TObjectSpec& Object : Plan.Objects) Block.Objects.push_back(AppendObject(Bytes, Object));

  TPERF_DATA_BLOCK& Header = Block.Header();
  Header.SystemNameLength = static_cast<DWORD>(NameLength);
  Header.SystemNameOffset = static_cast<DWORD>(Block.SystemNameOffset);
  Header.HeaderLength = static_cast<DWORD>(Block.HeaderLength);
  Header.TotalByteLength = Block.Size();
  return Block;
}

TBlock WithObjectsShifted(const TBlock& Good, const std::vector<BYTE>& Leftover) {
  TBlock Shifted = Good;
  const auto ObjectStart = static_cast<std::ptrdiff_t>(Good.HeaderLength);
  Shifted.Bytes.insert(Shifted.Bytes.begin() + ObjectStart, Leftover.begin(), Leftover.end());
  for (TObjectLayout& Object : Shifted.Objects) {
    for (std::vector<std::size_t>* Offsets :
         {&Object.Counters, &Object.Instances, &Object.CounterBlocks}) {
      for (std::size_t& Offset : *Offsets) Offset += Leftover.size();
    }
    Object.Offset += Leftover.size();
  }
  return Shifted;
}

std::vector<BYTE> TBlock::ObjectBytes() const {
  return std::vector<BYTE>(Bytes.begin() + static_cast<std::ptrdiff_t>(HeaderLength), Bytes.end());
}

}  // namespace gaugery::test
