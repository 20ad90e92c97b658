// The replay provider: capture files served through the registry, in turn, whole or
// by the objects an index list names.
#include "perf/ReplayProvider.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ErrorOf.h"
#include "registry/PerfBlockCheck.h"
#include "framework/Unicode.h"
#include "registry/Registry.h"

namespace gaugery {
namespace {

using test::BuildBlock;
using test::TBlock;
using testing::ErrorOf;

// A block of the objects with the given indexes, told apart by its PerfTime.
TBlock Captured(std::int64_t PerfTime, std::vector<DWORD> Objects = {238}) {
  test::TBlockSpec Plan{.PerfTime = PerfTime};
  for (DWORD Index : Objects) {
    Plan.Objects.push_back({.NameIndex = Index, .Counters = {{.NameIndex = 6}}, .Values = {Index}});
  }
  return BuildBlock(Plan);
}

// Capture files written for one test and removed after it; the replay serves them.
class ReplayTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RestoreDefaultPerfProviders();
    for (const std::string& File : Files_) std::remove(File.c_str());
  }

  std::string Write(const std::vector<BYTE>& Bytes) {
    const std::string File = ::testing::TempDir() + "gaugery-replay-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                             std::to_string(Files_.size()) + ".blk";
    std::ofstream(File, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<long>(Bytes.size()));
    Files_.push_back(File);
    return File;
  }

  // Serves Blocks, each written to a capture file and read back from it.
  void Replay(const std::vector<TBlock>& Blocks) {
    std::vector<TBlockBytes> Read;
    for (const TBlock& Block : Blocks) Read.push_back(ReadCaptureFile(Write(Block.Bytes)));
    SetPerfProviders({ReplayProvider(std::move(Read))});
  }

  // The answer to a query of ValueName with a buffer of Size bytes; empty on failure.
  static std::vector<BYTE> Query(const std::string& ValueName, DWORD Size = 65536) {
    std::vector<BYTE> Bytes(Size);
    const LONG Result = RegQueryValueExW(HKEY_PERFORMANCE_DATA, ToWide(ValueName).c_str(), nullptr,
                                         nullptr, Bytes.data(), &Size);
    Bytes.resize(Result == ERROR_SUCCESS ? Size : 0);
    return Bytes;
  }

  static std::int64_t PerfTimeOf(const std::vector<BYTE>& Block) {
    return Block.size() < sizeof(TPERF_DATA_BLOCK)
               ? -1
               : reinterpret_cast<const TPERF_DATA_BLOCK*>(Block.data())->PerfTime;
  }

 private:
  std::vector<std::string> Files_;
};

TEST_F(ReplayTest, ServesTheFilesInTurnAndRepeatsTheLast) {
  const TBlock First = Captured(100);
  Replay({First, Captured(200)});
  EXPECT_EQ(Query("Global"), First.Bytes) << "byte for byte";
  EXPECT_EQ(PerfTimeOf(Query("Global")), 200);
  EXPECT_EQ(PerfTimeOf(Query("Global")), 200);
  RestartReplay();
  EXPECT_EQ(PerfTimeOf(Query("Global")), 100);
}

TEST_F(ReplayTest, AQueryShortOfSpaceDoesNotMoveOn) {
  const TBlock First = Captured(100);
  Replay({First, Captured(200)});
  EXPECT_TRUE(Query("Global", First.Size() - 1).empty());
  EXPECT_EQ(PerfTimeOf(Query("Global", First.Size())), 100);
}

TEST_F(ReplayTest, IndexListsServeTheListedObjectsOtherNamesTheHeader) {
  Replay({Captured(100, {238, 230, 2})});
  const std::vector<BYTE> Listed = Query("2 238");
  ASSERT_TRUE(IsWellFormedBlock(Listed.data(), static_cast<DWORD>(Listed.size())));
  const auto& Header = *reinterpret_cast<const TPERF_DATA_BLOCK*>(Listed.data());
  EXPECT_EQ(Header.NumObjectTypes, 2u);
  EXPECT_EQ(Header.TotalByteLength, Listed.size());
  const auto* Object =
      reinterpret_cast<const TPERF_OBJECT_TYPE*>(Listed.data() + Header.HeaderLength);
  EXPECT_EQ(Object->ObjectNameTitleIndex, 238u) << "in the capture's order";

  const std::vector<BYTE> Costly = Query("Costly");
  ASSERT_TRUE(IsWellFormedBlock(Costly.data(), static_cast<DWORD>(Costly.size())));
  EXPECT_EQ(reinterpret_cast<const TPERF_DATA_BLOCK*>(Costly.data())->NumObjectTypes, 0u);
}

TEST_F(ReplayTest, FilesThatCannotBeServedAreRefusedByName) {
  const std::string Missing = ::testing::TempDir() + "gaugery-replay-missing.blk";
  EXPECT_NE(ErrorOf([&] { ReadCaptureFile(Missing); }).find(Missing), std::string::npos);
  const std::string Stub = Write(std::vector<BYTE>(10, 0x5A));
  EXPECT_EQ(ErrorOf([&] { ReadCaptureFile(Stub); }).rfind(
                "not a complete performance data block: " + Stub, 0),
            0u);
  const TBlock Whole = Captured(100);
  const std::string Cut = Write({Whole.Bytes.begin(), Whole.Bytes.end() - 1});
  EXPECT_NE(ErrorOf([&] { ReadCaptureFile(Cut); }).find(Cut), std::string::npos);
  EXPECT_EQ(ErrorOf([] { ReplayProvider({}); }), "No block to replay");

  TBlock Foreign = Captured(100);
  Foreign.Poke<WCHAR>(6, u'X');  // "PERX"
  const std::string Signed = Write(Foreign.Bytes);
  EXPECT_EQ(ErrorOf([&] { ReadCaptureFile(Signed); }),
            "not a complete performance data block: " + Signed + " (its signature is not PERF)");
  EXPECT_EQ(ErrorOf([&] { ReplayProvider({Foreign.Bytes}); }),
            "not a complete performance data block (its signature is not PERF)");
}

}  // namespace
}  // namespace gaugery
