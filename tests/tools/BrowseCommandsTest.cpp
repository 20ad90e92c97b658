// The objects, counters and instances commands, on the live machine and on a
// synthetic block replayed from a file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "BlockBuilder.h"
#include "ProgramRun.h"

using nlohmann::json;
using ::testing::StartsWith;

namespace {

json JsonOf(const std::string& Arguments) {
  const ProgramRun Run = RunGaugery(Arguments);
  EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
  return Run.ExitCode == 0 ? json::parse(Run.Out) : json::array();
}

TEST(GaugeryObjects, ListsTitlesAtBlockPositionsWithHelpOnRequest) {
  const json Objects = JsonOf("objects --json");
  const json Block = JsonOf("dump --json")["objects"];
  ASSERT_EQ(Objects.size(), Block.size());
  for (std::size_t Position = 0; Position < Objects.size(); ++Position) {
    EXPECT_EQ(Objects[Position]["position"], Position);
    EXPECT_EQ(Objects[Position]["index"], Block[Position]["index"]);
    EXPECT_FALSE(Objects[Position].contains("help"));
  }
  const ProgramRun Text = RunGaugery("objects --help-texts");
  EXPECT_EQ(Text.ExitCode, 0);
  EXPECT_THAT(Text.Out, StartsWith("0  " + Objects[0]["title"].get<std::string>() + "\n    "));
}

TEST(GaugeryCounters, ListsEveryDefinitionWithItsTypeWord) {
  const json Counters = JsonOf("counters --json process");
  const json Dump = JsonOf("dump --object 230 --json")["objects"][0]["counters"];
  ASSERT_EQ(Counters.size(), Dump.size());
  for (std::size_t Position = 0; Position < Counters.size(); ++Position) {
    EXPECT_EQ(Counters[Position]["index"], Dump[Position]["index"]);
    EXPECT_EQ(Counters[Position]["type"], Dump[Position]["type"]);
  }
  const json German = JsonOf("counters --locale 007 --help-texts --json " +
                             JsonOf("objects --locale 007 --json")[0]["title"].get<std::string>());
  EXPECT_FALSE(German[0]["help"].get<std::string>().empty());
}

TEST(GaugeryInstances, ListsProcessesAndNothingForObjectsWithoutInstances) {
  const json Instances = JsonOf("instances --json Process");
  ASSERT_FALSE(Instances.empty());
  EXPECT_EQ(Instances.back()["name"], "_Total");
  EXPECT_EQ(Instances.back()["uniqueId"], -1);

  const ProgramRun Memory = RunGaugery("instances Memory");
  EXPECT_EQ(Memory.ExitCode, 0) << Memory.Err;
  EXPECT_EQ(Memory.Out, "");
  EXPECT_EQ(JsonOf("instances --json Memory"), json::array());
  const ProgramRun Unknown = RunGaugery("counters Foo");
  EXPECT_EQ(Unknown.ExitCode, 1);
  EXPECT_EQ(Unknown.Err,
            "gaugery: Unknown performance object : \"Foo\"; run \"gaugery objects\" to list the "
            "objects\n");
  const ProgramRun German = RunGaugery("instances --locale 007 'Network Interface'");
  EXPECT_EQ(German.Err,
            "gaugery: Unknown performance object : \"Network Interface\" (locale 007); run "
            "\"gaugery objects --locale 007\" to list the objects\n");
  EXPECT_EQ(RunGaugery("counters").ExitCode, 2);
  EXPECT_EQ(RunGaugery("objects Process").ExitCode, 2);
  EXPECT_EQ(RunGaugery("instances --help").ExitCode, 0);
}

TEST(GaugeryInstances, ObjectWithoutInstancesAtTheMomentListsNothing) {
  using namespace gaugery::test;
  const TBlock Block = BuildBlock(
      {.Objects = {{.NameIndex = 4, .Counters = {{.NameIndex = 24}}},
                   {.NameIndex = 230, .Counters = {{.NameIndex = 784}}, .HasInstances = true}}});
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(Block);
  const ProgramRun Instances = RunGaugery(Replay + "instances Process");
  EXPECT_EQ(Instances.ExitCode, 0) << Instances.Err;
  EXPECT_EQ(Instances.Out, "");
  EXPECT_EQ(JsonOf(Replay + "objects --json"),
            json::parse(R"([{"position": 0, "index": 4, "title": "Memory"},
                            {"position": 1, "index": 230, "title": "Process"}])"));
}

// Object 9999 and counter 9998 are in no name table.
TEST(GaugeryObjects, TitlesTheTablesLackShowTheirIndex) {
  using namespace gaugery::test;
  const TBlock Block = BuildBlock(
      {.Objects = {{.NameIndex = 9999, .Counters = {{.NameIndex = 9998}, {.NameIndex = 24}}}}});
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(Block);
  const ProgramRun Objects = RunGaugery(Replay + "objects");
  EXPECT_EQ(Objects.Out, "0  (no title: index 9999)\n");
  EXPECT_EQ(JsonOf(Replay + "objects --json"),
            json::parse(R"([{"position": 0, "index": 9999, "title": null}])"));
  const ProgramRun Dump = RunGaugery(Replay + "dump --json");
  EXPECT_EQ(json::parse(Dump.Out)["objects"][0]["title"], nullptr);
}

TEST(GaugeryCounters, TerminalGetsAHeaderAndAlignedColumns) {
  using namespace gaugery::test;
  const TBlock Block = BuildBlock(
      {.Objects = {{.NameIndex = 4, .Counters = {{.NameIndex = 24}, {.NameIndex = 9998}}}}});
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(Block);
  const ProgramRun Counters = RunGaugeryOnTerminal(Replay + "counters Memory");
  EXPECT_EQ(Counters.Out,
            "position  type        title\r\n"
            "       0  0x00010100  Available Bytes\r\n"
            "       1  0x00010100  (no title: index 9998)\r\n");
  const ProgramRun Objects = RunGaugeryOnTerminal(Replay + "objects");
  EXPECT_EQ(Objects.Out, "position  title\r\n       0  Memory\r\n");
}

}  // namespace
