#include "BlockInputs.h"

#include <algorithm>
#include <cstring>

#include "BlockBuilder.h"

namespace gaugery::fuzz {

namespace {

using test::BuildBlock;
using test::TBlock;

constexpr std::size_t kEditSize = 6;

// Every shape the walkers distinguish: an object without instances, one with 0
// instances, instances with and without names, values of 4 and 8 bytes and a longer one.
std::vector<TBlock> MakeBases() {
  std::vector<TBlock> Bases;
  Bases.push_back(
      BuildBlock({.Objects = {
                      {.NameIndex = 4,
                       .Counters = {{.NameIndex = 24, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                    {.NameIndex = 26}},
                       .Values = {7, 8}},
                      {.NameIndex = 20, .Counters = {{.NameIndex = 22}}, .HasInstances = true},
                      {.NameIndex = 230,
                       .Counters = {{.NameIndex = 6, .Type = PERF_100NSEC_TIMER},
                                    {.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4}},
                       .HasInstances = true,
                       .Instances = {{.Name = "Idle", .Values = {1, 0}},
                                     {.Name = "Prozeß", .Values = {3, 4}, .UniqueID = 4},
                                     {.Name = "", .Values = {5, 6}}}},
                  }}));
  Bases.push_back(BuildBlock(
      {.Objects = {{.NameIndex = 238,
                    .Counters = {{.NameIndex = 6, .Type = PERF_100NSEC_TIMER_INV},
                                 {.NameIndex = 148, .Type = PERF_COUNTER_COUNTER, .Size = 4},
                                 {.NameIndex = 1000, .Type = PERF_COUNTER_TEXT, .Size = 16}},
                    .HasInstances = true,
                    .Instances = {{.Name = "0", .Values = {1, 2}}, {.Name = "_Total"}}}},
       .SystemName = ""}));
  return Bases;
}

const std::vector<TBlock>& Bases() {
  static const std::vector<TBlock> Made = MakeBases();
  return Made;
}

std::vector<BYTE> EditedBase(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return {};
  std::vector<BYTE> Block = Bases()[Data[0] % Bases().size()].Bytes;
  const auto Number16 = [&](std::size_t Pos) -> std::size_t {
    return Data[Pos] | Data[Pos + 1] << 8;
  };
  std::size_t At = 1;
  for (; At + kEditSize <= Size; At += kEditSize) {
    const std::size_t Offset = Number16(At) % (Block.size() - sizeof(DWORD) + 1);
    std::memcpy(Block.data() + Offset, Data + At + 2, sizeof(DWORD));
  }
  const std::size_t Cut = Size - At >= 2 ? Number16(At) % (Block.size() + 1) : 0;
  // A copy of exactly the remaining size: a shrunk vector would keep its capacity.
  return {Block.begin(), Block.end() - static_cast<std::ptrdiff_t>(Cut)};
}

}  // namespace

std::vector<std::vector<BYTE>> BlocksOfInput(const std::uint8_t* Data, std::size_t Size) {
  std::vector<std::vector<BYTE>> Blocks;
  Blocks.emplace_back(Data, Data + Size);
  Blocks.push_back(EditedBase(Data, Size));
  return Blocks;
}

}  // namespace gaugery::fuzz
