#include "registry/PerfBlockCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "BlockBuilder.h"

namespace gaugery {
namespace {

using test::BuildBlock;
using test::TBlock;

// The last value of the last instance ends exactly at the end of the block, its
// counter block and its object, so that one byte more leaves all three.
TBlock ReferenceBlock() {
  return BuildBlock({.Objects = {
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

// A block whose header says it ends at byte 208, with its one object at HeaderLength
// (96): a header, a counter definition and a counter block with one 4-byte value.
TBlock Block208(std::int64_t Value) {
  TBlock Block = BuildBlock(
      {.Objects = {{.NameIndex = 4,
                    .Counters = {{.NameIndex = 1406, .Type = PERF_RAW_FRACTION, .Size = 4}},
                    .Values = {Value}}},
       .SystemName = "PC"});
  EXPECT_EQ(Block.HeaderLength, 96u);
  EXPECT_EQ(Block.Size(), 208u);
  return Block;
}

std::vector<BYTE> FirstBytesOf(const TBlock& Block, std::size_t Offset, std::size_t Count) {
  const auto Start = Block.Bytes.begin() + static_cast<std::ptrdiff_t>(Offset);
  return {Start, Start + static_cast<std::ptrdiff_t>(Count)};
}

// The real-world case: the header claims 208 bytes, but the one object was written 88
// bytes past HeaderLength, so what lies at HeaderLength is left over from before:
// nothing yet, the same object of an older sample, or another object. Whether the
// query reported the 208 bytes of the header or everything written, no component may
// walk it.
TEST(PerfBlockCheck, RefusesObjectsWrittenPastTheHeaderLength) {
  const TBlock Good = Block208(7);
  const TBlock Older = Block208(6);
  const TBlock Other = ReferenceBlock();
  const std::vector<std::pair<std::string, std::vector<BYTE>>> Leftovers = {
      {"zeros", std::vector<BYTE>(88, 0)},
      {"the object of an older sample", FirstBytesOf(Older, Older.HeaderLength, 88)},
      {"another object", FirstBytesOf(Other, Other.Objects[2].Offset, 88)},
  };
  for (const auto& [What, Leftover] : Leftovers) {
    TBlock Shifted = test::WithObjectsShifted(Good, Leftover);
    ASSERT_EQ(Shifted.Header().TotalByteLength, 208u);
    for (const DWORD Returned : {DWORD{208}, Shifted.Size()}) {
      SCOPED_TRACE(What + ", " + std::to_string(Returned) + " bytes returned");
      EXPECT_FALSE(IsWellFormedBlock(Shifted.Bytes.data(), Returned));
    }
  }
}

TEST(PerfBlockCheck, ObjectsLieWhereTheHeaderLengthSays) {
  TBlock Good = Block208(7);
  EXPECT_TRUE(Check(Good));

  // Written past HeaderLength in a header that counts the gap into the block's length:
  // the zeros at HeaderLength are still no object.
  TBlock Gap = test::WithObjectsShifted(Good, std::vector<BYTE>(88, 0));
  Gap.Header().TotalByteLength = Gap.Size();
  EXPECT_FALSE(Check(Gap));

  // A header that counts the gap into its own length puts the object where it is.
  Gap.Header().HeaderLength += 88;
  EXPECT_TRUE(Check(Gap));
}

struct TCorruption {
  std::string What;
  std::function<void(TBlock&)> Apply;
  // The objects before the corrupted one; -1 when the header is what is wrong.
  int Keeps;
};

// Every length or offset one step outside what the block holds.
std::vector<TCorruption> Corruptions() {
  return {
      {"signature other than PERF", [](TBlock& B) { B.Header().Signature[3] = u'f'; }, -1},
      {"HeaderLength below the header", [](TBlock& B) { B.Header().HeaderLength = 87; }, -1},
      {"HeaderLength past TotalByteLength",
       [](TBlock& B) { B.Header().HeaderLength = B.Header().TotalByteLength + 1; }, -1},
      {"TotalByteLength below HeaderLength",
       [](TBlock& B) { B.Header().TotalByteLength = B.Header().HeaderLength - 1; }, -1},
      {"one object too many", [](TBlock& B) { B.Header().NumObjectTypes += 1; }, 3},
      {"system name offset at the end",
       [](TBlock& B) { B.Header().SystemNameOffset = B.Header().TotalByteLength - 1; }, -1},
      {"object header too short", [](TBlock& B) { B.Object(0).HeaderLength = 63; }, 0},
      {"DefinitionLength below HeaderLength",
       [](TBlock& B) { B.Object(1).DefinitionLength = B.Object(1).HeaderLength - 1; }, 1},
      {"TotalByteLength below DefinitionLength",
       [](TBlock& B) { B.Object(1).TotalByteLength = B.Object(1).DefinitionLength - 1; }, 1},
      {"last object one byte longer", [](TBlock& B) { B.Object(2).TotalByteLength += 1; }, 2},
      {"object one byte shorter than its block",
       [](TBlock& B) { B.Object(0).TotalByteLength -= 1; }, 0},
      {"one counter definition too many", [](TBlock& B) { B.Object(2).NumCounters += 1; }, 2},
      {"counter definition too short", [](TBlock& B) { B.Counter(2, 0).ByteLength = 39; }, 2},
      {"last counter definition past DefinitionLength",
       [](TBlock& B) { B.Counter(2, 1).ByteLength += 1; }, 2},
      {"value one byte past the counter block",
       [](TBlock& B) { B.Counter(2, 1).CounterOffset += 1; }, 2},
      {"value one byte longer than the counter block",
       [](TBlock& B) { B.Counter(2, 1).CounterSize += 1; }, 2},
      {"value offset that wraps in 32 bits",
       [](TBlock& B) { B.Counter(0, 1).CounterOffset = 0xFFFFFFFF; }, 0},
      {"value past the object's own counter block",
       [](TBlock& B) { B.CounterBlock(0).ByteLength -= 8; }, 0},
      {"NumInstances -2", [](TBlock& B) { B.Object(1).NumInstances = -2; }, 1},
      {"one instance too many", [](TBlock& B) { B.Object(2).NumInstances += 1; }, 2},
      {"instance definition too short", [](TBlock& B) { B.Instance(2, 1).ByteLength = 23; }, 2},
      {"instance past the object",
       [](TBlock& B) { B.Instance(2, 1).ByteLength = B.Object(2).TotalByteLength; }, 2},
      {"instance name past the block",
       [](TBlock& B) { B.Instance(2, 0).NameOffset = B.Header().TotalByteLength; }, 2},
      {"instance name without NUL up to the end of the block",
       [](TBlock& B) {
         // The last value (0x7FFF7FFF7FFF7FFF) holds no NUL code unit.
         B.Instance(2, 1).NameOffset =
             static_cast<DWORD>(B.Size() - sizeof(std::int64_t) - B.Objects[2].Instances[1]);
       }, 2},
      {"counter block too short", [](TBlock& B) { B.CounterBlock(0).ByteLength = 3; }, 0},
      {"last counter block one byte longer",
       [](TBlock& B) { B.CounterBlock(2, 1).ByteLength += 1; }, 2},
      {"object's own counter block past the object",
       [](TBlock& B) { B.CounterBlock(0).ByteLength += 8; }, 0},
  };
}

// A broken header leaves nothing; a broken object leaves the objects before it, and the
// problem names that object.
TEST(PerfBlockCheck, RefusesEveryLengthOrOffsetOneStepOutside) {
  for (const TCorruption& Corruption : Corruptions()) {
    SCOPED_TRACE(Corruption.What);
    TBlock Block = ReferenceBlock();
    Corruption.Apply(Block);
    EXPECT_FALSE(Check(Block));
    const TBlockCheck Found = CheckBlock(Block.Bytes.data(), Block.Size());
    EXPECT_FALSE(Found.Problem.empty());
    EXPECT_EQ(Found.HeaderSound, Corruption.Keeps >= 0);
    if (Corruption.Keeps < 0) continue;
    EXPECT_EQ(Found.Objects, Block.Header().NumObjectTypes);
    EXPECT_EQ(Found.SoundObjects, static_cast<DWORD>(Corruption.Keeps));
    const std::string Object = "object " + std::to_string(Corruption.Keeps + 1) + " of ";
    EXPECT_EQ(Found.Problem.rfind(Object, 0), 0u) << Found.Problem;
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
