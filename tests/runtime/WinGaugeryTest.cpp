#include "WinGaugery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "BlockBuilder.h"

namespace gaugery {
namespace {

using test::BuildBlock;
using test::TBlock;

// Objects with no instances, with 0 and with 2 instances, in that order.
TBlock ThreeObjectBlock() {
  return BuildBlock({.Objects = {
                         {.NameIndex = 4,
                          .Counters = {{.NameIndex = 10, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                       {.NameIndex = 12}},
                          .Values = {7, 0x123456789}},
                         {.NameIndex = 20, .Counters = {{.NameIndex = 22}}, .HasInstances = true},
                         {.NameIndex = 230,
                          .Counters = {{.NameIndex = 6}},
                          .HasInstances = true,
                          .Instances = {{.Name = "Idle", .Values = {11}},
                                        {.Name = "Prozeß-äöü", .Values = {22}}}},
                     }});
}

BYTE* At(TBlock& Block, std::size_t Offset) { return Block.Bytes.data() + Offset; }

std::int64_t Value64(PPERF_COUNTER_BLOCK CounterBlock, PPERF_COUNTER_DEFINITION Counter) {
  std::int64_t Value;
  std::memcpy(&Value, OffsetPointer(CounterBlock, Counter->CounterOffset), sizeof Value);
  return Value;
}

TEST(WinGaugery, WalksObjectsCountersAndBlocksInBlockOrder) {
  TBlock Block = ThreeObjectBlock();
  PPERF_OBJECT_TYPE Object = FirstObject(Block.Data());
  for (int Index = 0; Index < 3; ++Index) {
    ASSERT_EQ(reinterpret_cast<BYTE*>(Object), At(Block, Block.Objects[Index].Offset));
    PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
    for (std::size_t Ctr = 0; Ctr < Block.Objects[Index].Counters.size(); ++Ctr) {
      EXPECT_EQ(reinterpret_cast<BYTE*>(Counter), At(Block, Block.Objects[Index].Counters[Ctr]));
      Counter = NextCounter(Counter);
    }
    Object = NextObject(Object);
  }
  EXPECT_EQ(reinterpret_cast<BYTE*>(Object), Block.Bytes.data() + Block.Bytes.size());
}

TEST(WinGaugery, FirstObjectFollowsHeaderLengthOnly) {
  TBlock Block = ThreeObjectBlock();
  Block.Header().TotalByteLength = 0;
  Block.Header().NumObjectTypes = 0;
  Block.Header().HeaderLength = 200;
  EXPECT_EQ(reinterpret_cast<BYTE*>(FirstObject(Block.Data())), At(Block, 200));
}

TEST(WinGaugery, ObjectWithoutInstancesHasItsOwnBlock) {
  TBlock Block = ThreeObjectBlock();
  PPERF_OBJECT_TYPE Object = FirstObject(Block.Data());
  EXPECT_EQ(FirstInstance(Object), nullptr);
  PPERF_COUNTER_BLOCK Own = ObjectBlock(Object);
  ASSERT_EQ(reinterpret_cast<BYTE*>(Own), At(Block, Block.Objects[0].CounterBlocks[0]));
  EXPECT_EQ(Own, OffsetPointer(Object, Object->DefinitionLength));
  EXPECT_EQ(Value64(Own, NextCounter(FirstCounter(Object))), 0x123456789);
}

TEST(WinGaugery, ObjectWithZeroInstancesHasNoBlockButAnInstancePlace) {
  TBlock Block = ThreeObjectBlock();
  PPERF_OBJECT_TYPE Object = NextObject(FirstObject(Block.Data()));
  ASSERT_EQ(Object->NumInstances, 0);
  EXPECT_EQ(ObjectBlock(Object), nullptr);
  EXPECT_EQ(FirstInstance(Object), OffsetPointer(Object, Object->DefinitionLength));
}

TEST(WinGaugery, InstancesFollowTheirCounterBlocks) {
  TBlock Block = ThreeObjectBlock();
  PPERF_OBJECT_TYPE Object = NextObject(NextObject(FirstObject(Block.Data())));
  PPERF_INSTANCE_DEFINITION First = FirstInstance(Object);
  ASSERT_EQ(reinterpret_cast<BYTE*>(First), At(Block, Block.Objects[2].Instances[0]));
  PPERF_COUNTER_BLOCK FirstBlock = InstanceBlock(First);
  EXPECT_EQ(FirstBlock, OffsetPointer(First, First->ByteLength));

  PPERF_INSTANCE_DEFINITION Second = NextInstance(First);
  EXPECT_EQ(Second, OffsetPointer(First, First->ByteLength + FirstBlock->ByteLength));
  EXPECT_EQ(Second, NextBlockInstance(FirstBlock));
  EXPECT_EQ(reinterpret_cast<BYTE*>(Second), At(Block, Block.Objects[2].Instances[1]));

  EXPECT_EQ(PerfInstName(First), "Idle");
  EXPECT_EQ(PerfInstName(Second), "Prozeß-äöü");
  EXPECT_EQ(Value64(InstanceBlock(Second), FirstCounter(Object)), 22);
}

TEST(WinGaugery, InstanceNameRulesOfNameLengthAndNul) {
  TBlock Block = BuildBlock({.Objects = {{.NameIndex = 230,
                                          .Counters = {{.NameIndex = 6}},
                                          .HasInstances = true,
                                          .Instances = {{.Name = "explorer"}}}}});
  TPERF_INSTANCE_DEFINITION& Instance = Block.Instance(0, 0);
  const std::size_t NameAt = Block.Objects[0].Instances[0] + Instance.NameOffset;

  Instance.NameLength = 0;
  EXPECT_EQ(PerfInstName(&Instance), "") << "NameLength 0 means no name, whatever the text";

  Instance.NameLength = 18;
  Block.Poke<WCHAR>(NameAt + 3 * sizeof(WCHAR), 0);
  EXPECT_EQ(PerfInstName(&Instance), "exp") << "the text stops at the first NUL";

  Instance.NameLength = 2;
  Block.Poke<WCHAR>(NameAt + 3 * sizeof(WCHAR), u'l');
  EXPECT_EQ(PerfInstName(&Instance), "explorer") << "NameLength does not bound the text";
}

TEST(WinGaugery, InstanceNameAtAnOddAddress) {
  TBlock Block = BuildBlock({.Objects = {{.NameIndex = 230,
                                          .Counters = {{.NameIndex = 6}},
                                          .HasInstances = true,
                                          .Instances = {{.Name = "abcd"}}}}});
  TPERF_INSTANCE_DEFINITION& Instance = Block.Instance(0, 0);
  Instance.NameOffset += 1;
  const std::size_t NameAt = Block.Objects[0].Instances[0] + Instance.NameOffset;
  const WCHAR Name[] = GAUGERY_WTEXT("xy");
  Block.Poke(NameAt, Name);
  EXPECT_EQ(PerfInstName(&Instance), "xy");
}

TEST(WinGaugery, OffsetPointerZeroExtendsTheOffset) {
  std::vector<BYTE> Bytes(8);
  BYTE* Buffer = Bytes.data();
  EXPECT_EQ(OffsetPointer(Buffer, 5), Buffer + 5);
  if constexpr (sizeof(void*) == 8) {
    const auto Base = reinterpret_cast<std::uintptr_t>(Buffer);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(OffsetPointer(Buffer, 0x80000000u)),
              Base + 0x80000000u)
        << "2 GiB forward, not backward";
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(OffsetPointer(Buffer, 0xFFFFFFFFu)),
              Base + 0xFFFFFFFFu);
  }
}

}  // namespace
}  // namespace gaugery
