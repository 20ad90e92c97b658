// Snapshots and name tables of a remote computer that a fake server stands in for:
// what the network delivers passes the block check before anything walks it, and a
// server that goes away leaves the stale block.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "BlockBuilder.h"
#include "ErrorOf.h"
#include "FakeHttpServer.h"
#include "PerfData.h"
#include "PerfTitles.h"

namespace gaugery {
namespace {

using test::GaugeryReply;
using test::TFakeHttpServer;
using testing::ErrorOf;

std::string BytesOf(const test::TBlock& Block) {
  return std::string(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Bytes.size());
}

test::TBlock ProcessorBlock(std::int64_t Busy) {
  return test::BuildBlock({.Objects = {{.NameIndex = 238,
                                        .Counters = {{.NameIndex = 6}},
                                        .HasInstances = true,
                                        .Instances = {{.Name = "0", .Values = {Busy}}}}},
                           .SystemName = "REMOTEHOST"});
}

// Serves the blocks in turn, the last one repeating, with an English table.
class BlockServer {
 public:
  explicit BlockServer(std::vector<std::string> Blocks)
      : Blocks_(std::move(Blocks)), Server_([this](const std::string& Target) {
          if (Target == "/perflib/") return GaugeryReply("009\n");
          if (Target == "/perflib/009/Counter")
            return GaugeryReply(test::MultiStringBytes({{238, "Processor"}, {6, "Busy"}}));
          if (Target == "/perflib/009/Help") return GaugeryReply(test::MultiStringBytes({}));
          const std::size_t Next = std::min<std::size_t>(Served_++, Blocks_.size() - 1);
          return GaugeryReply(Blocks_[Next]);
        }) {}

  std::string Name() const { return Server_.ComputerName(); }

 private:
  std::vector<std::string> Blocks_;
  std::atomic<std::size_t> Served_{0};
  TFakeHttpServer Server_;
};

TEST(RemotePerfData, GarbageIsRefusedAndAServerThatWentAwayLeavesTheStaleBlock) {
  const test::TBlock Good = ProcessorBlock(1234);
  test::TBlock Lying = ProcessorBlock(1);
  Lying.Header().TotalByteLength = 1 << 20;  // claims more than was sent
  auto Server = std::make_unique<BlockServer>(
      std::vector<std::string>{std::string(500, '\xEE'), BytesOf(Lying), BytesOf(Good)});
  const std::string Name = Server->Name();

  TPerfData Snapshot("Global", Name);
  EXPECT_EQ(Snapshot.Generation(), 0u) << "garbage is no block";
  Snapshot.Refresh();
  EXPECT_EQ(Snapshot.Generation(), 0u) << "a block whose lengths leave the bytes sent";
  Snapshot.Refresh();
  const std::uint64_t Generation = Snapshot.Generation();
  ASSERT_NE(Generation, 0u);
  EXPECT_EQ(Snapshot.SystemName(), "REMOTEHOST");

  Server.reset();
  Snapshot.Refresh();
  EXPECT_EQ(Snapshot.Generation(), Generation);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Snapshot.PerfData()), Good.Bytes.size()),
            BytesOf(Good));
  EXPECT_EQ(ErrorOf([&] { TPerfData Again("Global", Name); }),
            "Error connecting to remote registry on " + Name + " (53)");
  TStringList Lines;
  EXPECT_EQ(ErrorOf([&] { GetPerfInfoStrings("009", "Counter", &Lines, Name); }),
            "Cannot open remote registry on " + Name + " (53)");
}

TEST(RemotePerfData, TitleTablesOfTheComputerComeOverTheWire) {
  BlockServer Server({BytesOf(ProcessorBlock(1))});
  TPerfTitles Titles(nullptr);
  Titles.SetComputerName(Server.Name());
  EXPECT_EQ(Titles.TitleByIdx("6"), "Busy");
  EXPECT_EQ(Titles.IdxOfTitle("processor"), "238");
  EXPECT_EQ(Titles.TitleCount(), 2);
}

}  // namespace
}  // namespace gaugery
