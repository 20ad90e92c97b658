// Samples stored against the one before them: what the delta rebuilds, what it costs,
// and the deltas it refuses.
#include "perf/log/BlockDelta.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "BlockBuilder.h"
#include "ErrorOf.h"
#include "LogSamples.h"
#include "perf/log/LogBytes.h"

namespace gaugery::counterlog {
namespace {

using test::TBlock;
using testing::ErrorOf;

std::vector<BYTE> Delta(const TBlock& Previous, const TBlock& Current) {
  return EncodeDelta(Previous.Bytes.data(), CutBlock(Previous.Bytes.data(), Previous.Size(), true),
                     Current.Bytes.data(), CutBlock(Current.Bytes.data(), Current.Size(), true));
}

std::vector<BYTE> Rebuilt(const TBlock& Previous, const std::vector<BYTE>& Stored, DWORD Size) {
  return DecodeDelta(Previous.Bytes.data(), CutBlock(Previous.Bytes.data(), Previous.Size(), false),
                     Stored.data(), Stored.size(), Size);
}

TBlock Processes(const std::vector<std::pair<std::string, LONG>>& Instances, std::int64_t Value = 7,
                 int Counters = 2) {
  test::TObjectSpec Object{.NameIndex = 230, .HasInstances = true};
  for (int Counter = 0; Counter < Counters; ++Counter) {
    Object.Counters.push_back({.NameIndex = static_cast<DWORD>(6 + 2 * Counter)});
  }
  for (const auto& [Name, Id] : Instances) {
    Object.Instances.push_back({.Name = Name, .Values = {Id * 10LL, Value}, .UniqueID = Id});
  }
  return test::BuildBlock({.Objects = {Object}});
}

TEST(BlockDelta, UnitsCoverTheBlockInOrder) {
  const TBlock Block = test::LogSample(3);
  const TBlockLayout Layout = CutBlock(Block.Bytes.data(), Block.Size(), true);
  ASSERT_EQ(Layout.Keys.size(), Layout.Units.size());
  DWORD Next = 0;
  for (const TBlockUnit& Unit : Layout.Units) {
    EXPECT_EQ(Unit.Offset, Next);
    EXPECT_GT(Unit.Length, 0u);
    Next = Unit.Offset + Unit.Length;
  }
  EXPECT_EQ(Next, Block.Size());
  // header, the System object's definitions and counter block, the Process object's
  // definitions and one unit per instance
  EXPECT_EQ(Layout.Units.size(), 1u + 2u + 1u + 23u);
  EXPECT_TRUE(CutBlock(Block.Bytes.data(), Block.Size(), false).Keys.empty());
}

TEST(BlockDelta, RebuildsTheBlockWhateverChanged) {
  const TBlock Before = Processes({{"a", 1}, {"b", 2}, {"c", 3}});
  const std::vector<TBlock> Afters = {
      Processes({{"a", 1}, {"b", 2}, {"c", 3}}, 8),         // values
      Processes({{"c", 3}, {"a", 1}, {"b", 2}}),            // order
      Processes({{"a", 1}, {"new", 9}, {"c", 3}}),          // one gone, one new
      Processes({{"a", 1}, {"b", 4}, {"c", 3}}),            // same name, other id
      Processes({{"a", 1}, {"longer name", 2}, {"c", 3}}),  // other layout
      Processes({{"a", 1}, {"b", 2}, {"c", 3}}, 7, 1),      // other definitions
      Processes({}),
      test::LogSample(1),
  };
  for (const TBlock& After : Afters) {
    EXPECT_EQ(Rebuilt(Before, Delta(Before, After), After.Size()), After.Bytes);
  }
}

TEST(BlockDelta, SameNameInstancesAreMatchedInTurn) {
  const TBlock Before = Processes({{"svc", -1}, {"svc", -1}, {"svc", -1}}, 1);
  const TBlock After = Processes({{"svc", -1}, {"svc", -1}}, 2);
  EXPECT_EQ(Rebuilt(Before, Delta(Before, After), After.Size()), After.Bytes);
}

TEST(BlockDelta, AnUnchangedInstanceCostsAFewBytes) {
  std::vector<std::pair<std::string, LONG>> Many;
  for (LONG Id = 0; Id < 200; ++Id) Many.push_back({"process number " + std::to_string(Id), Id});
  const TBlock Before = Processes(Many, 1);
  const TBlock Same = Processes(Many, 1);
  EXPECT_LE(Delta(Before, Same).size(), 3 * 203u) << "three numbers a unit";
  // One value of every instance changed: the runs hold the changed bytes, not the units.
  const TBlock Changed = Processes(Many, 2);
  EXPECT_LT(Delta(Before, Changed).size(), Changed.Size() / 8);
}

TEST(BlockDelta, RefusesDeltasThatDoNotMakeTheirBlock) {
  const TBlock Before = Processes({{"a", 1}, {"b", 2}});
  const TBlock After = Processes({{"a", 1}, {"b", 2}}, 9);
  const std::vector<BYTE> Good = Delta(Before, After);
  EXPECT_EQ(ErrorOf([&] { Rebuilt(Before, Good, After.Size() + 1); }),
            "a stored sample is damaged (its parts do not make its block)");
  EXPECT_EQ(ErrorOf([&] { Rebuilt(Before, Good, 0x7FFFFFFF); }),
            "a stored sample is damaged (its block is larger than its parts)");

  auto Crafted = [](std::initializer_list<std::uint64_t> Numbers) {
    std::vector<BYTE> Bytes;
    TByteWriter Out(Bytes);
    for (std::uint64_t Number : Numbers) Out.Number(Number);
    return Bytes;
  };
  // Unit 0 twice, a unit past the last, a change past its unit.
  EXPECT_EQ(ErrorOf([&] {
              Rebuilt(Before, Crafted({2, 1, 0, 2, 0}), Before.Size());
            }),
            "a stored sample is damaged (a part refers to no earlier part)");
  EXPECT_EQ(ErrorOf([&] {
              Rebuilt(Before, Crafted({1, 1 + 2 * 1000, 0}), 10);
            }),
            "a stored sample is damaged (a part refers to no earlier part)");
  EXPECT_EQ(ErrorOf([&] {
              Rebuilt(Before, Crafted({1, 1, 1, 80, 1000}), Before.Size());
            }),
            "a stored sample is damaged (a change runs past its part)");
  EXPECT_EQ(ErrorOf([&] {
              Rebuilt(Before, Crafted({1, 0, 50}), 10);
            }),
            "a stored sample is damaged (a part runs past its block)");
  EXPECT_EQ(ErrorOf([&] {
              Rebuilt(Before, {0x80, 0x80}, 10);
            }),
            "a stored sample is damaged (a field runs past its end)");
}

}  // namespace
}  // namespace gaugery::counterlog
