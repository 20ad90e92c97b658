// The read and type commands: raw values through a filter, and type-word texts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "BlockBuilder.h"
#include "ProgramRun.h"

using nlohmann::json;

namespace {

using namespace gaugery;
using namespace gaugery::test;

// Runs the command on a replay of Block, under the live machine's names.
ProgramRun RunOnBlock(const TBlock& Block, const std::string& Arguments) {
  const std::string File =
      ::testing::TempDir() + "gaugery-read-" + std::to_string(getpid()) + ".blk";
  std::ofstream(File, std::ios::binary)
      .write(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Size());
  ProgramRun Run = RunGaugery("--replay " + File + " " + Arguments);
  std::remove(File.c_str());
  return Run;
}

// Process (230) with ID Process (784, 4 bytes) and Thread Count (680, 8 bytes), then
// Memory (4) with Available Bytes (24) and Committed Bytes (26) of variable length.
TBlock ProcessBlock() {
  return BuildBlock(
      {.Objects = {{.NameIndex = 230,
                    .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                                 {.NameIndex = 680}},
                    .HasInstances = true,
                    .Instances = {{.Name = "init", .Values = {1, 3}},
                                  {.Name = "odd", .Values = {0xFFFFFFFF, -1}}}},
                   {.NameIndex = 4,
                    .Counters = {{.NameIndex = 24},
                                 {.NameIndex = 26,
                                  .Type = PERF_COUNTER_LARGE_RAWCOUNT | PERF_SIZE_VARIABLE_LEN}},
                    .Values = {123456789012, 5}}}});
}

TEST(GaugeryRead, PrintsOneRowPerInstanceInBlockOrder) {
  const ProgramRun Text =
      RunOnBlock(ProcessBlock(), "read process \"ID Process\" \"Thread Count\"");
  EXPECT_EQ(Text.ExitCode, 0) << Text.Err;
  EXPECT_EQ(Text.Out, "init\t1\t3\nodd\t4294967295\t-1\n");

  const ProgramRun Json = RunOnBlock(ProcessBlock(), "read --json Process \"ID Process\"");
  EXPECT_EQ(Json.ExitCode, 0) << Json.Err;
  EXPECT_EQ(json::parse(Json.Out), json::parse(R"({"object": "Process",
      "counters": ["ID Process"], "rows": [{"instance": "init", "values": [1]},
      {"instance": "odd", "values": [4294967295]}]})"));
}

TEST(GaugeryRead, ObjectWithoutInstancesGivesOneRowOfValues) {
  const ProgramRun Text = RunOnBlock(ProcessBlock(), "read Memory \"Available Bytes\"");
  EXPECT_EQ(Text.ExitCode, 0) << Text.Err;
  EXPECT_EQ(Text.Out, "123456789012\n");
  const ProgramRun Json = RunOnBlock(ProcessBlock(), "read --json Memory \"Available Bytes\"");
  EXPECT_EQ(json::parse(Json.Out)["rows"], json::parse(R"([{"instance": null,
      "values": [123456789012]}])"));
}

TEST(GaugeryRead, ItemErrorsEndTheCommand) {
  struct {
    const char* Arguments;
    int ExitCode;
    const char* Err;
  } const Failures[] = {
      {"read Memory Nonsense", 1, "Invalid performance counter name : Nonsense\n"},
      {"read Nonsense \"ID Process\"", 1, "Invalid performance object name : Nonsense\n"},
      {"read Memory \"Available Bytes\" \"Cache Bytes\"", 1,
       "Invalid performance counter name : Cache Bytes\n"},
  };
  for (const auto& Failure : Failures) {
    const ProgramRun Run = RunOnBlock(ProcessBlock(), Failure.Arguments);
    EXPECT_EQ(Run.ExitCode, Failure.ExitCode) << Failure.Arguments;
    EXPECT_EQ(Run.Err, Failure.Err) << Failure.Arguments;
    EXPECT_EQ(Run.Out, "") << Failure.Arguments;
  }
  EXPECT_EQ(RunGaugery("read Process").ExitCode, 2);
}

TEST(GaugeryRead, RefusesCountersOfOtherSizes) {
  TBlock TwoBytes = ProcessBlock();
  TwoBytes.Counter(1, 1).CounterType = PERF_COUNTER_LARGE_RAWCOUNT;
  TwoBytes.Counter(1, 1).CounterSize = 2;
  for (const TBlock& Block : {ProcessBlock(), TwoBytes}) {
    const ProgramRun Run = RunOnBlock(Block, "read Memory \"Committed Bytes\"");
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_EQ(Run.Err, "Invalid counter block size\n");
  }
}

TEST(GaugeryRead, LiveProcessesIncludeThisOne) {
  const ProgramRun Run = RunGaugery("read --json Process \"ID Process\"");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  const json Read = json::parse(Run.Out);
  bool Found = false;
  for (const json& Row : Read["rows"])
    Found = Found || Row["values"][0] == getpid();
  EXPECT_TRUE(Found);
}

TEST(GaugeryType, PrintsTheSixLines) {
  const ProgramRun Counter = RunGaugery("type 0x10410400");
  EXPECT_EQ(Counter.ExitCode, 0);
  EXPECT_EQ(Counter.Out,
            "DWord ( CounterSize = 4)\nAn increasing numeric value\nDivide counter / delta "
            "time\nUse system Performance freq for base\nCompute difference first\nDisplay with "
            "suffix \"/sec\"\n");
  const ProgramRun NoData = RunGaugery("type 1073742336 0");
  EXPECT_EQ(NoData.Out.substr(0, NoData.Out.find('\n')), "Zero length ( CounterSize = 0)");
  EXPECT_EQ(RunGaugery("type").ExitCode, 2);
  EXPECT_EQ(RunGaugery("type 0x1FFFFFFFF").ExitCode, 2);
  EXPECT_EQ(RunGaugery("type 12ab").ExitCode, 2);
  EXPECT_EQ(RunGaugery("type 1 2 3").ExitCode, 2);
}

}  // namespace
