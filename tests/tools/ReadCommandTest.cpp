// The read and type commands: raw values through a filter, by titles or by counter
// paths, and type-word texts.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ProgramRun.h"

using nlohmann::json;

namespace {

using namespace gaugery;
using namespace gaugery::test;

// Runs the command on a replay of Block, under the live machine's names.
ProgramRun RunOnBlock(const TBlock& Block, const std::string& Arguments) {
  TCaptureFiles Files;
  return RunGaugery(Files.Replay(Block) + Arguments);
}

// Process (230) with ID Process (784, 4 bytes) and Thread Count (680, 8 bytes).
TObjectSpec ProcessObject(std::vector<TInstanceSpec> Instances) {
  return {.NameIndex = 230,
          .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                       {.NameIndex = 680}},
          .HasInstances = true,
          .Instances = std::move(Instances)};
}

// Process, then Memory (4) with Available Bytes (24) and Committed Bytes (26) of
// variable length.
TBlock ProcessBlock() {
  return BuildBlock(
      {.Objects = {ProcessObject({{.Name = "init", .Values = {1, 3}},
                                  {.Name = "odd", .Values = {0xFFFFFFFF, -1}}}),
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
      {"read Memory Nonsense", 1,
       "gaugery: Invalid performance counter name : Nonsense; run \"gaugery counters Memory\" "
       "to list the counters of Memory\n"},
      {"read Nonsense \"ID Process\"", 1,
       "gaugery: Invalid performance object name : Nonsense; run \"gaugery objects\" to list "
       "the objects\n"},
      {"read --locale 009 Memory \"Available Bytes\" \"Cache Bytes\"", 1,
       "gaugery: Invalid performance counter name : Cache Bytes (locale 009); run \"gaugery "
       "counters --locale 009 Memory\" to list the counters of Memory\n"},
      {"read '\\Process(init)\\ID Process' '\\No Such Object\\Bytes Sent/sec'", 1,
       "gaugery: Invalid performance object name : No Such Object; run \"gaugery objects\" "
       "to list the objects\n"},
      {"read '\\Process\\ID Process'", 1,
       "gaugery: the object Process has instances: name one, as in \\Process(NAME)\\ID "
       "Process, or all with \\Process(*)\\ID Process\n"},
      {"read '\\Memory(x)\\Available Bytes'", 1,
       "gaugery: the object Memory has no instances: name it as \\Memory\\Available Bytes\n"},
      {"read '\\Process(odd#1)\\ID Process'", 1,
       "gaugery: no instance odd#1 of Process in the sample\n"},
      {"read '\\\\nosuchhost\\Memory\\Available Bytes'", 1,
       "gaugery: Error connecting to remote registry on nosuchhost (53)\n"},
  };
  for (const auto& Failure : Failures) {
    const ProgramRun Run = RunOnBlock(ProcessBlock(), Failure.Arguments);
    EXPECT_EQ(Run.ExitCode, Failure.ExitCode) << Failure.Arguments;
    EXPECT_EQ(Run.Err, Failure.Err) << Failure.Arguments;
    EXPECT_EQ(Run.Out, "") << Failure.Arguments;
  }
  EXPECT_EQ(RunGaugery("read Process").ExitCode, 2);
  EXPECT_EQ(RunGaugery("read '\\Process(init)' ").ExitCode, 2);
  EXPECT_EQ(RunGaugery("read '\\Process(init)\\ID Process' Memory").ExitCode, 2);
}

// Process with the instances init, sh, SH and sh in block order, then Memory.
TBlock ShellsBlock() {
  return BuildBlock({.Objects = {ProcessObject({{.Name = "init", .Values = {1, 3}},
                                                {.Name = "sh", .Values = {10, 1}},
                                                {.Name = "SH", .Values = {11, 2}},
                                                {.Name = "sh", .Values = {12, 4}}}),
                                 {.NameIndex = 4, .Counters = {{.NameIndex = 24}}, .Values = {777}}}});
}

TEST(GaugeryRead, PathsNameInstancesAsNumberedInBlockOrder) {
  const ProgramRun Text =
      RunOnBlock(ShellsBlock(),
                 "read '\\Process(sh#2)\\ID Process' '\\memory\\available bytes' "
                 "'\\\\localhost\\Process(*)\\Thread Count' '\\PROCESS(Sh)\\thread count'");
  ASSERT_EQ(Text.ExitCode, 0) << Text.Err;
  // Same names are numbered ignoring case; labels keep the titles as written.
  EXPECT_EQ(Text.Out,
            "\\Process(sh#2)\\ID Process\t12\n"
            "\\memory\\available bytes\t777\n"
            "\\\\localhost\\Process(init)\\Thread Count\t3\n"
            "\\\\localhost\\Process(sh)\\Thread Count\t1\n"
            "\\\\localhost\\Process(SH#1)\\Thread Count\t2\n"
            "\\\\localhost\\Process(sh#2)\\Thread Count\t4\n"
            "\\PROCESS(Sh)\\thread count\t1\n");

  const ProgramRun Json = RunOnBlock(ShellsBlock(), "read --json '\\Process(SH#1)\\ID Process'");
  EXPECT_EQ(json::parse(Json.Out),
            json::parse(R"([{"path": "\\Process(SH#1)\\ID Process", "value": 11}])"));
}

// Every query of a replay sequence serves the next file: a value of a second sample
// would come from the second file.
TEST(GaugeryRead, PathsOfSeveralObjectsShareOneSample) {
  TBlock Later = ShellsBlock();
  Later.Poke<std::int64_t>(Later.Objects[1].CounterBlocks[0] + Later.Counter(1, 0).CounterOffset,
                           888);
  Later.Poke<std::uint32_t>(Later.Objects[0].CounterBlocks[0] + Later.Counter(0, 0).CounterOffset,
                            99);
  TCaptureFiles Files;
  const ProgramRun Run =
      RunGaugery(Files.Replay(ShellsBlock()) + Files.Replay(Later) +
                 "read '\\Memory\\Available Bytes' '\\Process(init)\\ID Process'");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_EQ(Run.Out, "\\Memory\\Available Bytes\t777\n\\Process(init)\\ID Process\t1\n");
}

TEST(GaugeryRead, TerminalGetsAHeaderAndAlignedColumns) {
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(ShellsBlock());
  const ProgramRun Table =
      RunGaugeryOnTerminal(Replay + "read Process \"ID Process\" \"Thread Count\"");
  ASSERT_EQ(Table.ExitCode, 0) << Table.Err;
  EXPECT_EQ(Table.Out,
            "instance  ID Process  Thread Count\r\n"
            "init               1             3\r\n"
            "sh                10             1\r\n"
            "SH                11             2\r\n"
            "sh                12             4\r\n");
  const ProgramRun Paths = RunGaugeryOnTerminal(Replay + "read '\\Memory\\Available Bytes'");
  EXPECT_EQ(Paths.Out, "path                     value\r\n\\Memory\\Available Bytes    777\r\n");
}

TEST(GaugeryRead, RefusesCountersOfOtherSizes) {
  TBlock TwoBytes = ProcessBlock();
  TwoBytes.Counter(1, 1).CounterType = PERF_COUNTER_LARGE_RAWCOUNT;
  TwoBytes.Counter(1, 1).CounterSize = 2;
  for (const TBlock& Block : {ProcessBlock(), TwoBytes}) {
    const ProgramRun Run = RunOnBlock(Block, "read Memory \"Committed Bytes\"");
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_EQ(Run.Err, "gaugery: Invalid counter block size\n");
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

#ifndef _WIN32
// ICU is loaded only when a text needs it: a one-shot read of ASCII names never pays for
// it, a name outside ASCII does. The dynamic loader names every library it opens.
TEST(GaugeryRead, LoadsIcuOnlyForTextOutsideAscii) {
  const ProgramRun Ascii = RunGaugery("read Memory \"Available Bytes\"", "LD_DEBUG=files");
  ASSERT_EQ(Ascii.ExitCode, 0) << Ascii.Err;
  EXPECT_EQ(Ascii.Err.find("libicu"), std::string::npos);

  const ProgramRun Umlaut = RunGaugery("read Memory \"Verfügbare Bytes\"", "LD_DEBUG=files");
  EXPECT_NE(Umlaut.Err.find("file=libicuuc"), std::string::npos);
  EXPECT_NE(Umlaut.Err.find("file=libicui18n"), std::string::npos);
}
#endif

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


// An object and a counter whose titles the name tables lack are named by "#" and their
// title indexes, by every command that takes titles.
TEST(GaugeryRead, TitleIndexesNameWhatTheNameTablesLack) {
  const TBlock Untitled = BuildBlock(
      {.Objects = {{.NameIndex = 9000, .Counters = {{.NameIndex = 9002}}, .Values = {77}}}});
  const ProgramRun Read = RunOnBlock(Untitled, "read \"#9000\" \"#9002\"");
  EXPECT_EQ(Read.ExitCode, 0) << Read.Err;
  EXPECT_EQ(Read.Out, "77\n");

  const ProgramRun Path = RunOnBlock(Untitled, "read \"\\#9000\\#9002\"");
  EXPECT_EQ(Path.ExitCode, 0) << Path.Err;
  EXPECT_EQ(Path.Out, "\\#9000\\#9002\t77\n");

  const ProgramRun Counters = RunOnBlock(Untitled, "counters \"#9000\"");
  EXPECT_EQ(Counters.ExitCode, 0) << Counters.Err;
  EXPECT_NE(Counters.Out.find("(no title: index 9002)"), std::string::npos) << Counters.Out;

  EXPECT_EQ(RunOnBlock(Untitled, "instances \"#9000\"").ExitCode, 0);
}

}  // namespace
