#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "FakeProviders.h"
#include "SystemFacts.h"
#include "registry/PerfBlockCheck.h"
#include "WinGaugery.h"
#include "framework/Unicode.h"
#include "framework/WinTime.h"
#include "registry/PerfProviderSet.h"
#include "registry/PerfValueName.h"
#include "registry/Registry.h"

namespace gaugery {
namespace {

using test::BuildBlock;
using test::TBlock;
using test::TFakeProviders;

TBlock OneObject(DWORD Index) {
  return BuildBlock(
      {.Objects = {{.NameIndex = Index, .Counters = {{.NameIndex = 6}}, .Values = {Index * 10}}}});
}

// The answer of one query of HKEY_PERFORMANCE_DATA with a buffer of Size bytes.
struct TAnswer {
  LONG Code = -1;
  DWORD Size = 0;
  DWORD Type = REG_NONE;
  std::vector<BYTE> Bytes;

  const TPERF_DATA_BLOCK& Header() const {
    return *reinterpret_cast<const TPERF_DATA_BLOCK*>(Bytes.data());
  }
  // The title indexes of the objects, in block order.
  std::vector<DWORD> ObjectIndexes() {
    std::vector<DWORD> Indexes;
    auto* Block = reinterpret_cast<PPERF_DATA_BLOCK>(Bytes.data());
    PPERF_OBJECT_TYPE Object = FirstObject(Block);
    for (DWORD I = 0; I < Block->NumObjectTypes; ++I, Object = NextObject(Object)) {
      Indexes.push_back(Object->ObjectNameTitleIndex);
    }
    return Indexes;
  }
};

TAnswer Query(LPCWSTR ValueName = GAUGERY_WTEXT("Global"), DWORD Size = 65536) {
  TAnswer Answer;
  Answer.Bytes.assign(Size, 0xEE);
  Answer.Size = Size;
  Answer.Code = RegQueryValueExW(HKEY_PERFORMANCE_DATA, ValueName, nullptr, &Answer.Type,
                                 Answer.Bytes.data(), &Answer.Size);
  return Answer;
}

TEST(PerfDataQuery, HeaderIsFilledLikeWindowsFillsIt) {
  TFakeProviders Fakes({{.Samples = {OneObject(238)}}, {.Samples = {OneObject(230)}}});
  const std::int64_t Before = NowAsFileTime();
  TAnswer Answer = Query();
  const std::int64_t After = NowAsFileTime();
  ASSERT_EQ(Answer.Code, ERROR_SUCCESS);
  EXPECT_EQ(Answer.Type, REG_BINARY);

  const TPERF_DATA_BLOCK& Header = Answer.Header();
  EXPECT_EQ(WideString(Header.Signature, Header.Signature + 4), GAUGERY_WTEXT("PERF"));
  EXPECT_EQ(Header.LittleEndian, 1u);
  EXPECT_EQ(Header.Version, 1u);
  EXPECT_EQ(Header.Revision, 1u);
  EXPECT_EQ(Header.TotalByteLength, Answer.Size);
  EXPECT_EQ(Header.TotalByteLength % 8, 0u);
  EXPECT_EQ(Header.HeaderLength % 8, 0u);
  EXPECT_EQ(Header.NumObjectTypes, 2u);
  EXPECT_EQ(Answer.ObjectIndexes(), (std::vector<DWORD>{238, 230})) << "in provider order";
  EXPECT_TRUE(IsWellFormedBlock(Answer.Bytes.data(), Answer.Size));

  const std::string Host = test::ThisHostName();
  EXPECT_EQ(Header.SystemNameOffset, sizeof(TPERF_DATA_BLOCK));
  EXPECT_EQ(Header.SystemNameLength, (ToWide(Host).size() + 1) * sizeof(WCHAR));
  EXPECT_EQ(WideTextAt(Answer.Bytes.data() + Header.SystemNameOffset), Host);
  EXPECT_GE(Header.HeaderLength, Header.SystemNameOffset + Header.SystemNameLength);

  EXPECT_EQ(Header.PerfFreq, 10000000);
  EXPECT_GT(Header.PerfTime, 0);
  EXPECT_GE(Header.PerfTime100nSec, Before);
  EXPECT_LE(Header.PerfTime100nSec, After);
  FILETIME SystemTime{};
  ASSERT_TRUE(SystemTimeToFileTime(&Header.SystemTime, &SystemTime));
  // SystemTime is the same UTC moment, to the millisecond.
  EXPECT_LE(Header.PerfTime100nSec - FileTimeToInt64(SystemTime), 10000);
  EXPECT_GE(Header.PerfTime100nSec - FileTimeToInt64(SystemTime), 0);
}

TEST(PerfDataQuery, TooSmallBuffersAnswerMoreData) {
  TFakeProviders Fakes({{.Samples = {OneObject(238)}}});
  const DWORD Needed = Query().Size;
  EXPECT_EQ(Query(GAUGERY_WTEXT("Global"), Needed - 1).Code, ERROR_MORE_DATA);
  EXPECT_EQ(Query(GAUGERY_WTEXT("Global"), sizeof(TPERF_DATA_BLOCK)).Code, ERROR_MORE_DATA);
  EXPECT_EQ(Query(GAUGERY_WTEXT("Global"), Needed).Code, ERROR_SUCCESS);

  DWORD Size = 0;
  EXPECT_EQ(RegQueryValueExW(HKEY_PERFORMANCE_DATA, GAUGERY_WTEXT("Global"), nullptr, nullptr,
                             nullptr, &Size),
            ERROR_MORE_DATA);
  BYTE Byte = 0;
  EXPECT_EQ(RegQueryValueExW(HKEY_PERFORMANCE_DATA, GAUGERY_WTEXT("Global"), nullptr, nullptr,
                             &Byte, nullptr),
            ERROR_INVALID_PARAMETER);
}

TEST(PerfDataQuery, AFailingProviderLeavesOnlyItsObjectsOut) {
  TFakeProviders Fakes({{.Samples = {OneObject(238)}}, {.Samples = {OneObject(230)}}});
  Fakes.SetCollectError(0, ERROR_ACCESS_DENIED);
  TAnswer Answer = Query();
  ASSERT_EQ(Answer.Code, ERROR_SUCCESS);
  EXPECT_EQ(Answer.ObjectIndexes(), std::vector<DWORD>{230});
  EXPECT_TRUE(IsWellFormedBlock(Answer.Bytes.data(), Answer.Size));

  Fakes.SetCollectError(0, ERROR_MORE_DATA);
  EXPECT_EQ(Query().Code, ERROR_MORE_DATA) << "a provider short of space fails the query";
}

TEST(PerfDataQuery, AWholeBlockProviderAnswersAlone) {
  TBlock Captured = OneObject(2);
  Captured.Header().SystemTime.wYear = 2011;
  TFakeProviders Fakes(
      {{.Samples = {OneObject(238)}}, {.Samples = {Captured}, .WritesWholeBlock = true}});
  TAnswer Answer = Query();
  ASSERT_EQ(Answer.Code, ERROR_SUCCESS);
  ASSERT_EQ(Answer.Size, Captured.Size());
  EXPECT_EQ(std::memcmp(Answer.Bytes.data(), Captured.Bytes.data(), Captured.Size()), 0)
      << "served byte for byte, header included";
  EXPECT_EQ(Fakes.CollectCount(0), 0);
  EXPECT_EQ(Query(GAUGERY_WTEXT("Global"), Captured.Size() - 1).Code, ERROR_MORE_DATA);
}

// A provider that records its calls and can be told to misbehave.
struct TRecording {
  int Opens = 0;
  int Collects = 0;
  int Closes = 0;
  DWORD OpenResult = ERROR_SUCCESS;
  // What Collect does: writes Written at Skipped bytes past *Data and moves *Data past
  // it; reports Written's size (or Overrun bytes beyond the space it was given) and
  // Claimed objects.
  std::vector<BYTE> Written;
  DWORD Skipped = 0;
  DWORD Overrun = 0;
  DWORD Claimed = 0;
  WideString ValueName;
};
TRecording Recorded;

DWORD GAUGERY_WINAPI RecordingOpen(LPWSTR) {
  ++Recorded.Opens;
  return Recorded.OpenResult;
}

DWORD GAUGERY_WINAPI RecordingCollect(LPWSTR ValueName, PPointer Data, LPDWORD TotalBytes,
                                      LPDWORD NumObjectTypes) {
  ++Recorded.Collects;
  Recorded.ValueName = ValueName;
  BYTE* Out = static_cast<BYTE*>(*Data) + Recorded.Skipped;
  std::copy(Recorded.Written.begin(), Recorded.Written.end(), Out);
  *Data = Out + Recorded.Written.size();
  const auto Size = static_cast<DWORD>(Recorded.Written.size());
  *TotalBytes = Recorded.Overrun == 0 ? Size : *TotalBytes + Recorded.Overrun;
  *NumObjectTypes = Recorded.Claimed;
  return ERROR_SUCCESS;
}

DWORD GAUGERY_WINAPI RecordingClose() {
  ++Recorded.Closes;
  return ERROR_SUCCESS;
}

// Puts the recording provider in service and the defaults back afterwards.
class ProviderSeam : public ::testing::Test {
 protected:
  void SetUp() override {
    Recorded = {};
    SetPerfProviders({{.Name = "recording",
                       .Open = &RecordingOpen,
                       .Collect = &RecordingCollect,
                       .Close = &RecordingClose}});
  }
  void TearDown() override { RestoreDefaultPerfProviders(); }
};

TEST_F(ProviderSeam, CollectReceivesTheQueriedValueName) {
  EXPECT_EQ(Query(GAUGERY_WTEXT("gLoBaL")).Code, ERROR_SUCCESS);
  EXPECT_EQ(Recorded.ValueName, GAUGERY_WTEXT("Global")) << "in its canonical spelling";
  EXPECT_EQ(Query(GAUGERY_WTEXT("230 238")).Code, ERROR_SUCCESS);
  EXPECT_EQ(Recorded.ValueName, GAUGERY_WTEXT("230 238")) << "an index list as given";

  for (LPCWSTR Other : {GAUGERY_WTEXT("Costly"), GAUGERY_WTEXT(""), GAUGERY_WTEXT("230,238"),
                        GAUGERY_WTEXT("Global ")}) {
    TAnswer Answer = Query(Other);
    EXPECT_EQ(Answer.Code, ERROR_SUCCESS);
    EXPECT_EQ(Answer.Header().NumObjectTypes, 0u);
    EXPECT_TRUE(IsWellFormedBlock(Answer.Bytes.data(), Answer.Size));
  }
  EXPECT_EQ(Recorded.Collects, 2) << "names that ask for no object reach no provider";
}

TEST_F(ProviderSeam, OpenBeforeTheFirstCollectCloseWhenReplaced) {
  EXPECT_EQ(Recorded.Opens, 0) << "installing opens nothing";
  Query();
  Query();
  EXPECT_EQ(Recorded.Opens, 1);
  EXPECT_EQ(Recorded.Collects, 2);
  RestoreDefaultPerfProviders();
  EXPECT_EQ(Recorded.Closes, 1);

  // A provider never opened is not closed; one whose Open failed is never collected.
  SetUp();
  RestoreDefaultPerfProviders();
  EXPECT_EQ(Recorded.Closes, 0);
  SetUp();
  Recorded.OpenResult = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Query().Code, ERROR_SUCCESS);
  EXPECT_EQ(Query().Header().NumObjectTypes, 0u);
  EXPECT_EQ(Recorded.Opens, 1) << "a failed Open is not retried";
  EXPECT_EQ(Recorded.Collects, 0);
  RestoreDefaultPerfProviders();
  EXPECT_EQ(Recorded.Closes, 0);
}

TEST_F(ProviderSeam, AProviderBreakingTheContractIsLeftOut) {
  Recorded.Written = OneObject(230).ObjectBytes();
  Recorded.Claimed = 1;
  EXPECT_EQ(Query().ObjectIndexes(), std::vector<DWORD>{230}) << "keeping to it";

  Recorded.Skipped = 88;
  TAnswer Skipped = Query();
  ASSERT_EQ(Skipped.Code, ERROR_SUCCESS);
  EXPECT_EQ(Skipped.Header().NumObjectTypes, 0u) << "objects written past where it was told";
  EXPECT_TRUE(IsWellFormedBlock(Skipped.Bytes.data(), Skipped.Size));

  Recorded = {.Overrun = 1, .Claimed = 1};
  EXPECT_EQ(Query().Header().NumObjectTypes, 0u) << "more bytes than it was given";

  Recorded = {.Claimed = 1};
  TAnswer Phantom = Query();
  EXPECT_EQ(Phantom.Header().NumObjectTypes, 0u) << "objects counted but not written";
  EXPECT_TRUE(IsWellFormedBlock(Phantom.Bytes.data(), Phantom.Size));
}

// 2026-03-04 05:06:07.089 UTC, when the recording provider says it read its counters.
constexpr std::int64_t kRecordedFileTime = 134'170'743'670'890'000;
TPerfSampleTime RecordedSampleTime() { return {kRecordedFileTime, 4242}; }

TEST_F(ProviderSeam, TheBlockCarriesTheMomentTheProviderReadItsCounters) {
  std::vector<TPerfProvider> Providers = PerfProviders();
  Providers[0].SampleTime = &RecordedSampleTime;
  SetPerfProviders(Providers);
  const TPERF_DATA_BLOCK Header = Query().Header();
  EXPECT_EQ(Header.PerfTime100nSec, kRecordedFileTime);
  EXPECT_EQ(Header.PerfTime, 4242);
  const SYSTEMTIME& Time = Header.SystemTime;
  EXPECT_EQ(std::vector<int>({Time.wYear, Time.wMonth, Time.wDay, Time.wHour, Time.wMinute,
                              Time.wSecond, Time.wMilliseconds}),
            std::vector<int>({2026, 3, 4, 5, 6, 7, 89}));

  // A query that reaches no provider takes the clock.
  const std::int64_t Before = NowAsFileTime();
  EXPECT_GE(Query(GAUGERY_WTEXT("Costly")).Header().PerfTime100nSec, Before);
}

TEST_F(ProviderSeam, RestoreBringsBackTheDefaultSet) {
  ASSERT_EQ(PerfProviders().size(), 1u);
  EXPECT_EQ(PerfProviders()[0].Name, "recording");
  RestoreDefaultPerfProviders();
  std::vector<std::string> Restored;
  for (const TPerfProvider& Provider : PerfProviders()) Restored.push_back(Provider.Name);
  std::vector<std::string> Defaults;
  for (const TPerfProvider& Provider : TPerfProviderSet::Defaults()) {
    Defaults.push_back(Provider.Name);
  }
  EXPECT_EQ(Restored, Defaults);
}

TEST(PerfValueName, GlobalIndexListsAndEverythingElse) {
  EXPECT_EQ(ClassifyPerfValueName(GAUGERY_WTEXT("Global")), TPerfValueKind::Global);
  EXPECT_EQ(ClassifyPerfValueName(GAUGERY_WTEXT("GLOBAL")), TPerfValueKind::Global);
  EXPECT_EQ(ClassifyPerfValueName(GAUGERY_WTEXT("238")), TPerfValueKind::IndexList);
  EXPECT_EQ(ClassifyPerfValueName(GAUGERY_WTEXT(" 230  238 ")), TPerfValueKind::IndexList);
  for (LPCWSTR Other :
       {GAUGERY_WTEXT(""), GAUGERY_WTEXT("   "), GAUGERY_WTEXT("Costly"), GAUGERY_WTEXT("Foreign"),
        GAUGERY_WTEXT("230,238"), GAUGERY_WTEXT("-238"), GAUGERY_WTEXT("2 x")}) {
    EXPECT_EQ(ClassifyPerfValueName(Other), TPerfValueKind::Other);
  }
  EXPECT_EQ(ClassifyPerfValueName(nullptr), TPerfValueKind::Other);

  EXPECT_TRUE(PerfIndexListContains(GAUGERY_WTEXT("230 238"), 238));
  EXPECT_TRUE(PerfIndexListContains(GAUGERY_WTEXT(" 2 "), 2));
  EXPECT_FALSE(PerfIndexListContains(GAUGERY_WTEXT("2300 23"), 230)) << "whole numbers only";
  EXPECT_FALSE(PerfIndexListContains(GAUGERY_WTEXT("4294967526"), 230))
      << "2^32 + 230 does not wrap";
  EXPECT_TRUE(PerfIndexListContains(GAUGERY_WTEXT("99999999999999999999 230"), 230));
  EXPECT_TRUE(PerfIndexListContains(GAUGERY_WTEXT("4294967295"), 0xFFFFFFFF));
  EXPECT_FALSE(PerfIndexListContains(GAUGERY_WTEXT(""), 0));
}

}  // namespace
}  // namespace gaugery
