// The objects, counters and instances commands, on the live machine and on a
// synthetic block replayed from a file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
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
  const ProgramRun Text = RunGaugery("objects --help");
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
  const json German = JsonOf("counters --locale 007 --help --json " +
                             JsonOf("objects --locale 007 --json")[0]["title"].get<std::string>());
  EXPECT_FALSE(German[0]["help"].get<std::string>().empty());
}

TEST(GaugeryInstances, ListsProcessesAndRefusesObjectsWithoutInstances) {
  const json Instances = JsonOf("instances --json Process");
  ASSERT_FALSE(Instances.empty());
  EXPECT_EQ(Instances.back()["name"], "_Total");
  EXPECT_EQ(Instances.back()["uniqueId"], -1);

  const ProgramRun Memory = RunGaugery("instances Memory");
  EXPECT_EQ(Memory.ExitCode, 1);
  EXPECT_EQ(Memory.Err, "Object \"Memory\" has no instances\n");
  const ProgramRun Unknown = RunGaugery("counters Foo");
  EXPECT_EQ(Unknown.ExitCode, 1);
  EXPECT_EQ(Unknown.Err, "Unknown performance object : \"Foo\"\n");
  EXPECT_EQ(RunGaugery("counters").ExitCode, 2);
  EXPECT_EQ(RunGaugery("objects Process").ExitCode, 2);
  EXPECT_EQ(RunGaugery("instances --help").ExitCode, 0);
}

TEST(GaugeryInstances, ObjectWithoutInstancesAtTheMomentListsNothing) {
  using namespace gaugery::test;
  const TBlock Block = BuildBlock(
      {.Objects = {{.NameIndex = 4, .Counters = {{.NameIndex = 24}}},
                   {.NameIndex = 230, .Counters = {{.NameIndex = 784}}, .HasInstances = true}}});
  const std::string File = ::testing::TempDir() + "gaugery-" + std::to_string(getpid()) + ".blk";
  std::ofstream(File, std::ios::binary)
      .write(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Size());
  const ProgramRun Instances = RunGaugery("--replay " + File + " instances Process");
  const json Objects = JsonOf("--replay " + File + " objects --json");
  std::remove(File.c_str());
  EXPECT_EQ(Instances.ExitCode, 0) << Instances.Err;
  EXPECT_EQ(Instances.Out, "");
  EXPECT_EQ(Objects, json::parse(R"([{"position": 0, "index": 4, "title": "Memory"},
                                     {"position": 1, "index": 230, "title": "Process"}])"));
}

}  // namespace
