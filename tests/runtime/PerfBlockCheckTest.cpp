#include "PerfBlockCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BlockBuilder.h"

namespace gaugery {
namespace {

using test::BuildBlock;
using test::TBlock;

// The last value of the last instance ends exactly at the end of the block, its
// counter block and its object, so that one byte more leaves all three.
TBlock ReferenceBlock() {
  return BuildBlock(
      {.Objects = {
           {.NameIndex = 4,
            .Counters = {{.NameIndex = 10, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                         {.NameIndex = 12}},
            .Values = {7, 8}},
           {.NameIndex = 20, .Counters = {{.NameIndex = 22}}, .HasInstances = true},
           {.NameIndex = 230,
            .Counters = {{.NameIndex = 6, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                         {.NameIndex = 784}},
            .HasInstances = true,
            .Instances = {{.Name = "Idle", .Values = {1, 2}},
                          {.Name = "System", .Values = {3, 0x7FFF7FFF7FFF7FFF}}}},
       }});
}

bool Check(TBlock& Block) { return IsWellFormedBlock(Block.Bytes.data(), Block.Size()); }

TEST(PerfBlockCheck, AcceptsWellFormedBlocks) {
  TBlock Block = ReferenceBlock();
  EXPECT_TRUE(Check(Block));

  TBlock Empty = BuildBlock({});
  EXPECT_TRUE(Check(Empty));

  // Bytes after TotalByteLength are never walked.
  Block.Bytes.resize(Block.Bytes.size() + 100, 0xEE);
  EXPECT_TRUE(Check(Block));
}

TEST(PerfBlockCheck, RefusesTooSmallOrMissingData) {
  TBlock Block = BuildBlock({});
  EXPECT_FALSE(IsWellFormedBlock(nullptr, 4096));
  EXPECT_FALSE(IsWellFormedBlock(Block.Bytes.data(), 87));
  EXPECT_FALSE(IsWellFormedBlock(Block.Bytes.data(), Block.Size() - 1))
      << "TotalByteLength beyond the bytes returned";
}

// A query that returned an object 88 bytes past where the header says objects start,
// in a header claiming 208 bytes: the object header at HeaderLength then holds
// leftover bytes (here those of an older sample's object).
TEST(PerfBlockCheck, RefusesObjectsWrittenPastTheHeaderLength) {
  TBlock Good = BuildBlock(
      {.Objects = {{.NameIndex = 238, .Counters = {{.NameIndex = 6}}}}, .SystemName = "HOST"});
  ASSERT_EQ(Good.HeaderLength, 104u);
  ASSERT_EQ(Good.Size(), 208u);

  TBlock Shifted = Good;
  const auto ObjectStart = Good.Bytes.begin() + static_cast<std::ptrdiff_t>(Good.HeaderLength);
  Shifted.Bytes.insert(Shifted.Bytes.begin() + static_cast<std::ptrdiff_t>(Good.HeaderLength),
                       ObjectStart, ObjectStart + 88);
  Shifted.Object(0).TotalByteLength = 208;
  ASSERT_EQ(Shifted.Header().TotalByteLength, 208u);
  EXPECT_FALSE(IsWellFormedBlock(Shifted.Bytes.data(), Shifted.Size()));
}

struct TCorruption {
  std::string What;
  std::function<void(TBlock&)> Apply;
};

// Every length or offset one step outside what the block holds.
std::vector<TCorruption> Corruptions() {
  return {
      {"HeaderLength below the header", [](TBlock& B) { B.Header().HeaderLength = 87; }},
      {"HeaderLength past TotalByteLength",
       [](TBlock& B) { B.Header().HeaderLength = B.Header().TotalByteLength + 1; }},
      {"TotalByteLength below HeaderLength",
       [](TBlock& B) { B.Header().TotalByteLength = B.Header().HeaderLength - 1; }},
      {"one object too many", [](TBlock& B) { B.Header().NumObjectTypes += 1; }},
      {"system name offset at the end",
       [](TBlock& B) { B.Header().SystemNameOffset = B.Header().TotalByteLength - 1; }},
      {"object header too short", [](TBlock& B) { B.Object(0).HeaderLength = 63; }},
      {"DefinitionLength below HeaderLength",
       [](TBlock& B) { B.Object(1).DefinitionLength = B.Object(1).HeaderLength - 1; }},
      {"TotalByteLength below DefinitionLength",
       [](TBlock& B) { B.Object(1).TotalByteLength = B.Object(1).DefinitionLength - 1; }},
      {"last object one byte longer", [](TBlock& B) { B.Object(2).TotalByteLength += 1; }},
      {"object one byte shorter than its block",
       [](TBlock& B) { B.Object(0).TotalByteLength -= 1; }},
      {"one counter definition too many", [](TBlock& B) { B.Object(2).NumCounters += 1; }},
      {"counter definition too short", [](TBlock& B) { B.Counter(2, 0).ByteLength = 39; }},
      {"last counter definition past DefinitionLength",
       [](TBlock& B) { B.Counter(2, 1).ByteLength += 1; }},
      {"value one byte past the counter block", [](TBlock& B) { B.Counter(2, 1).CounterOffset += 1; }},
      {"value one byte longer than the counter block",
       [](TBlock& B) { B.Counter(2, 1).CounterSize += 1; }},
      {"value offset that wraps in 32 bits",
       [](TBlock& B) { B.Counter(0, 1).CounterOffset = 0xFFFFFFFF; }},
      {"value past the object's own counter block",
       [](TBlock& B) { B.CounterBlock(0).ByteLength -= 8; }},
      {"NumInstances -2", [](TBlock& B) { B.Object(1).NumInstances = -2; }},
      {"one instance too many", [](TBlock& B) { B.Object(2).NumInstances += 1; }},
      {"instance definition too short", [](TBlock& B) { B.Instance(2, 1).ByteLength = 23; }},
      {"instance past the object",
       [](TBlock& B) { B.Instance(2, 1).ByteLength = B.Object(2).TotalByteLength; }},
      {"instance name past the block",
       [](TBlock& B) { B.Instance(2, 0).NameOffset = B.Header().TotalByteLength; }},
      {"instance name without NUL up to the end of the block",
       [](TBlock& B) {
         // The last value (0x7FFF7FFF7FFF7FFF) holds no NUL code unit.
         B.Instance(2, 1).NameOffset = static_cast<DWORD>(
             B.Size() - sizeof(std::int64_t) - B.Objects[2].Instances[1]);
       }},
      {"counter block too short", [](TBlock& B) { B.CounterBlock(0).ByteLength = 3; }},
      {"last counter block one byte longer", [](TBlock& B) { B.CounterBlock(2, 1).ByteLength += 1; }},
      {"object's own counter block past the object",
       [](TBlock& B) { B.CounterBlock(0).ByteLength += 8; }},
  };
}

TEST(PerfBlockCheck, RefusesEveryLengthOrOffsetOneStepOutside) {
  for (const TCorruption& Corruption : Corruptions()) {
    SCOPED_TRACE(Corruption.What);
    TBlock Block = ReferenceBlock();
    Corruption.Apply(Block);
    EXPECT_FALSE(Check(Block));
  }
}

TEST(PerfBlockCheck, SystemNameNeedsItsNulInsideTheBlock) {
  TBlock Block = BuildBlock({.SystemName = "HOST"});
  // Replace the NUL and the padding after the name by text up to the block's end.
  for (std::size_t At = Block.SystemNameOffset + 8; At < Block.Size(); At += 2) {
    Block.Poke<WCHAR>(At, u'X');
  }
  EXPECT_FALSE(Check(Block));
  Block.Poke<WCHAR>(Block.Size() - 2, 0);
  EXPECT_TRUE(Check(Block)) << "a NUL in the very last code unit is inside";
}

TEST(PerfBlockCheck, InstanceNamesAreCheckedOnlyWhenTheyExist) {
  TBlock Block = ReferenceBlock();
  Block.Instance(2, 0).NameOffset = Block.Header().TotalByteLength + 1000;
  Block.Instance(2, 0).NameLength = 0;
  EXPECT_TRUE(Check(Block)) << "a name of length 0 is never read";
}

TEST(PerfBlockCheck, NameNulIsSearchedByCodeUnitsFromTheNameStart) {
  TBlock Block = ReferenceBlock();
  // The last counter block ends with 03 00 00 00 FF 7F FF 7F FF 7F FF 7F. From the
  // last 00 byte the units are 0xFF00, 0xFF7F, ...: zero bytes, but no NUL unit.
  const std::size_t Instance = Block.Objects[2].Instances[1];
  const std::size_t LastValue = Block.Size() - sizeof(std::int64_t);
  Block.Instance(2, 1).NameOffset = static_cast<DWORD>(LastValue - 1 - Instance);
  EXPECT_FALSE(Check(Block));
  Block.Instance(2, 1).NameOffset = static_cast<DWORD>(LastValue - 3 - Instance);
  EXPECT_TRUE(Check(Block));
}

}  // namespace
}  // namespace gaugery
