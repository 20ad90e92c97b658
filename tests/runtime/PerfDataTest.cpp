#include "PerfData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "FakeProviders.h"
#include "WinGaugery.h"
#include "registry/PerfProviders.h"

namespace gaugery {
namespace {

using test::BuildBlock;
using test::TBlock;
using test::TFakeProviders;
using test::TInstanceSpec;

// A small block told apart from others by its header times.
TBlock Sample(std::int64_t PerfTime) {
  return BuildBlock({.Objects = {{.NameIndex = 238, .Counters = {{.NameIndex = 6}},
                                  .Values = {PerfTime * 2}}},
                     .SystemName = "SAMPLEHOST",
                     .PerfTime = PerfTime,
                     .PerfTime100nSec = PerfTime * 10});
}

// A block of roughly Size bytes: one object with as many instances as it takes.
TBlock LargeSample(std::size_t Size) {
  std::vector<TInstanceSpec> Instances(Size / 64, {.Name = "instance", .Values = {1}});
  return BuildBlock({.Objects = {{.NameIndex = 230,
                                  .Counters = {{.NameIndex = 6}},
                                  .HasInstances = true,
                                  .Instances = std::move(Instances)}}});
}

// The same block with its one object written 88 bytes past HeaderLength, over the first
// bytes of that object from before, in a header that still claims the original length.
TBlock Shifted(const TBlock& Good) {
  const auto ObjectStart = Good.Bytes.begin() + static_cast<std::ptrdiff_t>(Good.HeaderLength);
  return test::WithObjectsShifted(Good, {ObjectStart, ObjectStart + 88});
}

TFakeProviders WholeBlocks(std::vector<TBlock> Samples) {
  return TFakeProviders({{.Samples = std::move(Samples), .WritesWholeBlock = true}});
}

bool HoldsBlock(TPerfData& Snapshot, const TBlock& Block) {
  return std::memcmp(Snapshot.PerfData(), Block.Bytes.data(), Block.Bytes.size()) == 0;
}

bool SameHeader(const TPERF_DATA_BLOCK* Header, const TBlock& Block) {
  return std::memcmp(Header, Block.Bytes.data(), sizeof(TPERF_DATA_BLOCK)) == 0;
}

TEST(PerfData, ConstructionReadsTheFirstSample) {
  TFakeProviders Fakes = WholeBlocks({Sample(100)});
  TPerfData Snapshot("Global", "");
  const TBlock Expected = Sample(100);

  EXPECT_TRUE(HoldsBlock(Snapshot, Expected));
  EXPECT_EQ(Snapshot.Key(), "Global");
  EXPECT_EQ(Snapshot.ComputerName(), "");
  EXPECT_EQ(Snapshot.PerfTime(), 100);
  EXPECT_EQ(Snapshot.PerfFreq(), 10000000);
  EXPECT_EQ(Snapshot.PerfTime100nSec(), 1000);
  EXPECT_EQ(Snapshot.SystemName(), "SAMPLEHOST");
  const SYSTEMTIME Time = Snapshot.SystemTime();
  EXPECT_EQ(Time.wYear, 2024);
  EXPECT_EQ(Time.wMilliseconds, 500);
  EXPECT_NE(Snapshot.Generation(), 0u);
  EXPECT_EQ(Snapshot.BufferSize(), 8192u);

  const TPERF_DATA_BLOCK Zero{};
  EXPECT_EQ(std::memcmp(Snapshot.PrevPerfData(), &Zero, sizeof Zero), 0);
  EXPECT_EQ(Snapshot.PrevPerfData(), Snapshot.GetPrevPerfData());
}

TEST(PerfData, PrevPerfDataHoldsTheHeaderBeforeTheLatestRefresh) {
  TFakeProviders Fakes = WholeBlocks({Sample(100), Sample(200), Sample(300)});
  TPerfData Snapshot("Global", "");
  Snapshot.Refresh();
  EXPECT_TRUE(SameHeader(Snapshot.PrevPerfData(), Sample(100)));
  Snapshot.Refresh();
  EXPECT_TRUE(SameHeader(Snapshot.PrevPerfData(), Sample(200)));
  EXPECT_TRUE(HoldsBlock(Snapshot, Sample(300)));
}

TEST(PerfData, ReadsTheRegistryHeaderAndProviderObjects) {
  TFakeProviders Fakes({{.Samples = {Sample(100)}}});
  TPerfData Snapshot("Global", "");
  PPERF_DATA_BLOCK Block = Snapshot.PerfData();
  ASSERT_EQ(Block->NumObjectTypes, 1u);
  PPERF_OBJECT_TYPE Object = FirstObject(Block);
  EXPECT_EQ(Object->ObjectNameTitleIndex, 238u);
  std::int64_t Value;
  std::memcpy(&Value, OffsetPointer(ObjectBlock(Object), FirstCounter(Object)->CounterOffset),
              sizeof Value);
  EXPECT_EQ(Value, 200);
  EXPECT_FALSE(Snapshot.SystemName().empty());
}

TEST(PerfData, BufferDoublesUntilTheBlockFitsAndKeepsItsSize) {
  const TBlock Large = LargeSample(20000);
  ASSERT_GT(Large.Size(), 16384u);
  ASSERT_LE(Large.Size(), 32768u);
  TFakeProviders Fakes = WholeBlocks({Sample(100), Large});

  TPerfData Snapshot("Global", "");
  EXPECT_EQ(Snapshot.BufferSize(), 8192u);
  Snapshot.Refresh();
  EXPECT_EQ(Snapshot.BufferSize(), 32768u);
  EXPECT_TRUE(HoldsBlock(Snapshot, Large));

  Fakes.SetSamples(0, {Sample(300)});
  Snapshot.Refresh();
  EXPECT_EQ(Snapshot.BufferSize(), 32768u) << "the buffer never shrinks";
  EXPECT_TRUE(HoldsBlock(Snapshot, Sample(300)));
  Fakes.SetSamples(0, {LargeSample(20000)});
  Snapshot.Refresh();
  EXPECT_EQ(Snapshot.BufferSize(), 32768u);
  // 1 + 3 attempts (8192, 16384, 32768) + 1 + 1: later refreshes fit at once.
  EXPECT_EQ(Fakes.CollectCount(0), 6);
}

TEST(PerfData, EveryAcceptedBlockGetsANewGeneration) {
  TFakeProviders Fakes = WholeBlocks({Sample(100), Sample(200)});
  TPerfData First("Global", "");
  TPerfData Second("Global", "");
  EXPECT_NE(First.Generation(), Second.Generation());
  const std::uint64_t Before = First.Generation();
  First.Refresh();
  EXPECT_GT(First.Generation(), Before);
}

// Sample(PerfTime) followed by a second object, Memory, whose one value lies past its
// counter block.
TBlock WithBrokenSecondObject(std::int64_t PerfTime) {
  TBlock Block = BuildBlock({.Objects = {{.NameIndex = 238, .Counters = {{.NameIndex = 6}},
                                          .Values = {PerfTime * 2}},
                                         {.NameIndex = 4, .Counters = {{.NameIndex = 24}},
                                          .Values = {7}}},
                             .PerfTime = PerfTime});
  Block.Counter(1, 0).CounterOffset += 8;
  return Block;
}

TEST(PerfData, BlockIsKeptUpToItsFirstMalformedObject) {
  TFakeProviders Fakes = WholeBlocks({Sample(100), WithBrokenSecondObject(200)});
  TPerfData Snapshot("Global", "");
  EXPECT_EQ(Snapshot.LastRefresh().Result, TRefreshResult::Whole);
  EXPECT_EQ(Snapshot.LastRefresh().Problem, "");
  const std::uint64_t Generation = Snapshot.Generation();

  Snapshot.Refresh();
  EXPECT_GT(Snapshot.Generation(), Generation);
  EXPECT_EQ(Snapshot.PerfTime(), 200);
  ASSERT_EQ(Snapshot.PerfData()->NumObjectTypes, 1u) << "the sound Processor object stays";
  EXPECT_EQ(FirstObject(Snapshot.PerfData())->ObjectNameTitleIndex, 238u);
  const TRefreshReport& Report = Snapshot.LastRefresh();
  EXPECT_EQ(Report.Result, TRefreshResult::Cut);
  EXPECT_EQ(Report.Objects, 2u);
  EXPECT_EQ(Report.KeptObjects, 1u);
  EXPECT_NE(Report.Problem.find("object 2 of 2"), std::string::npos) << Report.Problem;
  EXPECT_NE(Report.Problem.find("a counter value lies past its counter block"),
            std::string::npos)
      << Report.Problem;
}

// Written past HeaderLength, the object is not where the block says: nothing of it is
// kept, but the sound header is, with the time of its sample.
TEST(PerfData, BlockWhoseFirstObjectIsMalformedKeepsItsHeaderAlone) {
  TFakeProviders Fakes = WholeBlocks({Sample(100), Shifted(Sample(200)), Sample(300)});
  TPerfData Snapshot("Global", "");
  Snapshot.Refresh();
  EXPECT_EQ(Snapshot.PerfTime(), 200);
  EXPECT_EQ(Snapshot.PerfData()->NumObjectTypes, 0u);
  EXPECT_EQ(Snapshot.LastRefresh().Result, TRefreshResult::Cut);
  EXPECT_EQ(Snapshot.LastRefresh().KeptObjects, 0u);

  Snapshot.Refresh();
  EXPECT_TRUE(HoldsBlock(Snapshot, Sample(300)));
  EXPECT_EQ(Snapshot.LastRefresh().Result, TRefreshResult::Whole);
}

TEST(PerfData, MalformedHeaderKeepsTheCurrentBlock) {
  TBlock Bad = Sample(200);
  Bad.Header().TotalByteLength = Bad.Size() + 8;
  TFakeProviders Fakes = WholeBlocks({Sample(100), Bad, Sample(300)});
  TPerfData Snapshot("Global", "");
  const std::uint64_t Generation = Snapshot.Generation();

  Snapshot.Refresh();
  EXPECT_TRUE(HoldsBlock(Snapshot, Sample(100)));
  EXPECT_EQ(Snapshot.Generation(), Generation);
  EXPECT_TRUE(SameHeader(Snapshot.PrevPerfData(), Sample(100)));
  EXPECT_EQ(Snapshot.LastRefresh().Result, TRefreshResult::Refused);
  EXPECT_EQ(Snapshot.LastRefresh().Problem, "shorter than its header says");

  Snapshot.Refresh();
  EXPECT_TRUE(HoldsBlock(Snapshot, Sample(300)));
  EXPECT_GT(Snapshot.Generation(), Generation);
}

TEST(PerfData, FailedQueryKeepsTheCurrentBlock) {
  TFakeProviders Fakes = WholeBlocks({Sample(100), Sample(200)});
  TPerfData Snapshot("Global", "");
  const std::uint64_t Generation = Snapshot.Generation();
  Fakes.SetCollectError(0, ERROR_ACCESS_DENIED);
  Snapshot.Refresh();
  EXPECT_TRUE(HoldsBlock(Snapshot, Sample(100)));
  EXPECT_EQ(Snapshot.Generation(), Generation);
  EXPECT_EQ(Snapshot.LastRefresh().Result, TRefreshResult::Failed);
  EXPECT_EQ(Snapshot.LastRefresh().Problem, "the query failed (error 5)");
}

TEST(PerfData, RefusedFirstBlockLeavesTheZeroBuffer) {
  TBlock Bad = Sample(100);
  Bad.Header().HeaderLength = 80;
  TFakeProviders Fakes = WholeBlocks({Bad});
  TPerfData Snapshot("Global", "");
  EXPECT_EQ(Snapshot.Generation(), 0u);
  EXPECT_EQ(Snapshot.PerfTime(), 0);
  EXPECT_EQ(Snapshot.SystemName(), "");
  EXPECT_EQ(Snapshot.PerfData()->NumObjectTypes, 0u);
  EXPECT_EQ(Snapshot.LastRefresh().Result, TRefreshResult::Refused);
}

// Fills the room it is offered, but 88 bytes further on than it was told (what a
// provider does under Wine's placement), and reports nothing.
DWORD GAUGERY_WINAPI OverrunningCollect(LPWSTR, PPointer Data, LPDWORD TotalBytes,
                                        LPDWORD NumObjectTypes) {
  std::memset(static_cast<BYTE*>(*Data) + 88, 0xAB, *TotalBytes);
  *TotalBytes = 0;
  *NumObjectTypes = 0;
  return ERROR_SUCCESS;
}

// The sanitizers fail this test if the writes reach past the snapshot's buffers.
TEST(PerfData, RegistryWritingALittlePastTheOfferedSizeStaysInTheBuffer) {
  SetPerfProviders({{.Name = "overrunning", .Collect = &OverrunningCollect}});
  {
    TPerfData Snapshot("Global", "");
    Snapshot.Refresh();
    EXPECT_EQ(Snapshot.BufferSize(), 8192u);
    EXPECT_EQ(Snapshot.PerfData()->NumObjectTypes, 0u);
    EXPECT_GT(Snapshot.Generation(), 0u) << "the block was accepted";
  }
  RestoreDefaultPerfProviders();
}

TEST(PerfData, IncludingAnObjectQueriesOnlyForOneTheBlockLacksAndOnlyOnce) {
  TFakeProviders Fakes = WholeBlocks({Sample(100), Sample(200), Sample(300)});
  TPerfData Snapshot("Global", "");
  Snapshot.Refresh();
  EXPECT_TRUE(Snapshot.IncludeObject(238));
  EXPECT_EQ(Fakes.CollectCount(0), 2) << "a held object costs no query";

  // This provider serves the same objects whatever is asked: 230 never comes.
  EXPECT_FALSE(Snapshot.IncludeObject(230));
  EXPECT_EQ(Fakes.CollectCount(0), 3);
  EXPECT_EQ(Snapshot.PerfTime(), 300) << "the block was read again";
  EXPECT_TRUE(SameHeader(Snapshot.PrevPerfData(), Sample(100)))
      << "reading again is no new sample: the header before stays";
  EXPECT_EQ(Snapshot.Key(), "Global") << "the value goes back";
  EXPECT_FALSE(Snapshot.IncludeObject(230));
  EXPECT_EQ(Fakes.CollectCount(0), 3) << "an object that did not come is not asked again";
}

TEST(PerfData, IncludingAnObjectNeedsAnAcceptedBlock) {
  TFakeProviders Fakes = WholeBlocks({Sample(100)});
  Fakes.SetCollectError(0, ERROR_ACCESS_DENIED);
  TPerfData Snapshot("Global", "");
  EXPECT_FALSE(Snapshot.IncludeObject(230));
  EXPECT_EQ(Snapshot.Key(), "Global");
}

TEST(PerfData, UnreachableComputerFailsConstruction) {
  TFakeProviders Fakes({});
  try {
    TPerfData Snapshot("Global", "NOSUCHHOST");
    FAIL() << "connected to NOSUCHHOST";
  } catch (const Exception& Error) {
    EXPECT_EQ(Error.Message(), "Error connecting to remote registry on NOSUCHHOST (53)");
  }
  TPerfData Local("Global", "localhost");
  EXPECT_EQ(Local.ComputerName(), "localhost");
}

TEST(GlobalPerfData, EqualNamesShareOneCountedSnapshot) {
  TFakeProviders Fakes = WholeBlocks({Sample(100)});
  TPerfDataList* List = GlobalPerfDataList();
  const int Lines = List->Count();

  TPerfData* First = GetGlobalPerfData("");
  TPerfData* Second = GetGlobalPerfData("");
  EXPECT_EQ(First, Second);
  const int Index = List->IndexOfPerfData(First);
  ASSERT_GE(Index, 0);
  EXPECT_EQ(List->Strings(Index), "");
  EXPECT_EQ(List->Entries(Index)->RefCount, 2);

  TPerfData* Lower = GetGlobalPerfData("localhost");
  TPerfData* Mixed = GetGlobalPerfData("LocalHost");
  EXPECT_EQ(Lower, Mixed);
  EXPECT_NE(Lower, First);
  EXPECT_EQ(List->Strings(List->IndexOfPerfData(Lower)), "LOCALHOST");
  EXPECT_EQ(Lower->ComputerName(), "localhost") << "the name reaches the snapshot";
  EXPECT_EQ(List->Count(), Lines + 2);

  ReleaseGlobalPerfData(Lower);
  ReleaseGlobalPerfData(Mixed);
  ReleaseGlobalPerfData(First);
  EXPECT_EQ(First, Second) << "the caller's reference is left as it was";
  EXPECT_EQ(List->IndexOfPerfData(Second), Index) << "one holder is left";
  ReleaseGlobalPerfData(Second);
  EXPECT_EQ(List->IndexOfPerfData(Second), -1);
  EXPECT_EQ(List->Count(), Lines);
  ReleaseGlobalPerfData(Second);  // a third release finds nothing to do
  EXPECT_EQ(List->Count(), Lines);
}

TEST(GlobalPerfData, ReleaseIgnoresNullAndUnregisteredSnapshots) {
  TFakeProviders Fakes = WholeBlocks({Sample(100)});
  TPerfDataList* List = GlobalPerfDataList();
  const int Lines = List->Count();
  TPerfData* Null = nullptr;
  ReleaseGlobalPerfData(Null);
  TPerfData Own("Global", "");
  TPerfData* Unregistered = &Own;
  ReleaseGlobalPerfData(Unregistered);
  EXPECT_EQ(List->Count(), Lines);
}

TEST(GlobalPerfData, FailedConnectionRegistersNothing) {
  TPerfDataList* List = GlobalPerfDataList();
  const int Lines = List->Count();
  EXPECT_THROW(GetGlobalPerfData("NOSUCHHOST"), Exception);
  EXPECT_EQ(List->Count(), Lines);
  EXPECT_EQ(List->IndexOf("NOSUCHHOST"), -1);
}

}  // namespace
}  // namespace gaugery
