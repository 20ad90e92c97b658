// End-to-end runs of the `gaugery` program on the live machine and on captured blocks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ProgramRun.h"
#include "perf/log/CounterLogWriter.h"

using nlohmann::json;
using namespace gaugery;
using gaugery::test::BuildBlock;
using gaugery::test::TBlock;

namespace {

const json* FindObject(const json& Dump, int Index) {
  for (const json& Object : Dump["objects"])
    if (Object["index"] == Index) return &Object;
  return nullptr;
}

std::string TempFile(const char* Name) {
  return ::testing::TempDir() + "gaugery-" + std::to_string(getpid()) + "-" + Name;
}

}  // namespace

TEST(GaugeryDump, JsonShowsThisProcessAmongTheProcessInstances) {
  const ProgramRun Run = RunGaugery("dump --json");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  const json Dump = json::parse(Run.Out);
  EXPECT_FALSE(Dump["systemName"].get<std::string>().empty());
  EXPECT_EQ(Dump["perfFreq"], 10000000);
  const json* Process = FindObject(Dump, 230);
  ASSERT_NE(Process, nullptr);
  EXPECT_EQ(Process->at("numInstances").get<int>(), Process->at("instances").size());
  EXPECT_EQ(Process->at("instances").back()["name"], "_Total");
  // The shell that popen starts is a child of this process: its parent id is ours.
  bool FoundChild = false;
  for (const json& Instance : Process->at("instances"))
    FoundChild = FoundChild || Instance["values"]["1410"] == getpid();
  EXPECT_TRUE(FoundChild);
  const json* Memory = FindObject(Dump, 4);
  ASSERT_NE(Memory, nullptr);
  EXPECT_EQ(Memory->at("numInstances"), -1);
  EXPECT_GT(Memory->at("values")["24"].get<long long>(), 0);
}

TEST(GaugeryDump, ObjectOptionSelectsObjectsByIndex) {
  const ProgramRun Run = RunGaugery("dump --object 238 --object 2 --json");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  const json Dump = json::parse(Run.Out);
  ASSERT_EQ(Dump["objects"].size(), 2u);
  EXPECT_EQ(Dump["objects"][0]["index"], 238);
  EXPECT_EQ(Dump["objects"][1]["index"], 2);

  const ProgramRun Missing = RunGaugery("dump --object 238 --object 12345");
  EXPECT_EQ(Missing.ExitCode, 1);
  EXPECT_EQ(Missing.Out, "");
  EXPECT_EQ(Missing.Err, "gaugery: no object with title index 12345 in the sample\n");
}

TEST(GaugeryDump, TextListsObjectsCountersAndInstances) {
  const ProgramRun Run = RunGaugery("dump --object 238");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_NE(Run.Out.find("Object 238 \"Processor\" (help 239)"), std::string::npos);
  EXPECT_NE(Run.Out.find("counter 6 \"% Processor Time\" (help 7) type 0x21510500 size 8"),
            std::string::npos);
  EXPECT_NE(Run.Out.find("instance \"_Total\""), std::string::npos);
}

TEST(GaugeryCapture, ReplayedBlockDumpsExactlyAsCaptured) {
  const std::string File = TempFile("capture.blk");
  const ProgramRun Capture = RunGaugery("capture " + File);
  ASSERT_EQ(Capture.ExitCode, 0) << Capture.Err;
  const ProgramRun First = RunGaugery("--replay " + File + " dump --json");
  const ProgramRun Second = RunGaugery("--replay " + File + " dump --json");
  // Written to standard output, the replayed block is the file, byte for byte.
  const ProgramRun Again = RunGaugery("--replay " + File + " capture -");
  std::ifstream In(File, std::ios::binary);
  const std::string Captured((std::istreambuf_iterator<char>(In)),
                             std::istreambuf_iterator<char>());
  std::remove(File.c_str());
  ASSERT_EQ(First.ExitCode, 0) << First.Err;
  EXPECT_EQ(First.Out, Second.Out);
  EXPECT_NE(FindObject(json::parse(First.Out), 230), nullptr);
  EXPECT_EQ(Again.ExitCode, 0) << Again.Err;
  EXPECT_TRUE(Again.Out == Captured)
      << Again.Out.size() << " bytes, " << Captured.size() << " captured";
}

// A block that its header says ends at byte 208, then what a capture may hold after it.
TBlock SmallBlock() {
  return BuildBlock(
      {.Objects = {{.NameIndex = 4,
                    .Counters = {{.NameIndex = 24, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4}},
                    .Values = {7}}},
       .SystemName = "PC"});
}

// Only the bytes the header claims are a block; the rest of a file is not read.
TEST(GaugeryReplay, ServesTheBlockItsHeaderClaims) {
  TBlock Padded = SmallBlock();
  const std::size_t Claimed = Padded.Size();
  Padded.Bytes.resize(Claimed + 5000, 0xEE);
  TCaptureFiles Files;
  const ProgramRun Run = RunGaugery(Files.Replay(Padded) + "capture -");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_EQ(Run.Out.size(), Claimed);
  EXPECT_EQ(Run.Err, "captured 208 bytes, 1 objects, into standard output\n");
}

// Binary bytes on a terminal would garble it; a pipe or a file takes them.
TEST(GaugeryReplay, CaptureToStandardOutputRefusesATerminal) {
  TCaptureFiles Files;
  const ProgramRun Run = RunGaugeryOnTerminal(Files.Replay(SmallBlock()) + "capture -");
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_EQ(Run.Out, "");
  EXPECT_EQ(Run.Err,
            "gaugery: will not write a binary block to a terminal: redirect standard output to "
            "a file or a pipe\n");
}

TEST(GaugeryReplay, RefusesFilesThatAreNotOneCompleteBlock) {
  const TBlock Good = SmallBlock();
  auto Changed = [&](auto Change) {
    TBlock Block = SmallBlock();
    Change(Block);
    return Block.Bytes;
  };
  struct {
    const char* What;
    std::vector<BYTE> Bytes;
    const char* Problem;
  } const Damaged[] = {
      {"empty", {}, "the file is empty"},
      {"shorter than a header",
       {Good.Bytes.begin(), Good.Bytes.begin() + 40},
       "the file has 40 bytes, fewer than a block header"},
      {"cut short",
       {Good.Bytes.begin(), Good.Bytes.end() - 100},
       "the file has 108 of the 208 bytes its header claims"},
      {"text", std::vector<BYTE>(300, 'x'), "its signature is not PERF"},
      {"a header length past the block", Changed([](TBlock& B) { B.Header().HeaderLength = 4000; }),
       "its total length is shorter than its header"},
      {"a system name without its end",
       Changed([](TBlock& B) { B.Header().SystemNameOffset = B.Header().TotalByteLength; }),
       "its system name does not end inside the block"},
      {"a claim of 4 GiB", Changed([](TBlock& B) { B.Header().TotalByteLength = 0xFFFFFFF0; }),
       "its header claims 4294967280 bytes, more than the 2 GiB a snapshot holds"},
  };
  TCaptureFiles Files;
  for (const auto& File : Damaged) {
    SCOPED_TRACE(File.What);
    const std::string Name = Files.Save(File.Bytes);
    const ProgramRun Run = RunGaugery("--replay " + Name + " objects");
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_EQ(Run.Out, "");
    EXPECT_EQ(Run.Err, "gaugery: not a complete performance data block: " + Name + " (" +
                           File.Problem + ")\n");
  }
  // A device is refused after its first bytes, not read to its end.
  const ProgramRun Zeros = RunGaugery("--replay /dev/zero dump");
  EXPECT_EQ(Zeros.ExitCode, 1);
  EXPECT_EQ(Zeros.Err,
            "gaugery: not a complete performance data block: /dev/zero (its signature is not "
            "PERF)\n");
}

// Process (230) is sound; Memory (4) after it has a counter offset past its counter
// block. Process stays, Memory goes, and the command says so.
TEST(GaugeryReplay, KeepsTheObjectsBeforeAMalformedOne) {
  TBlock Block = BuildBlock(
      {.Objects = {{.NameIndex = 230,
                    .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4}},
                    .HasInstances = true,
                    .Instances = {{.Name = "init", .Values = {1}}}},
                   {.NameIndex = 4, .Counters = {{.NameIndex = 24}}, .Values = {7}}}});
  Block.Counter(1, 0).CounterOffset = 64;
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(Block);
  const std::string Warning =
      "gaugery: warning: the performance data block was cut to 1 of its 2 objects: object 2 of "
      "2 (at byte " +
      std::to_string(Block.Objects[1].Offset) + "): a counter value lies past its counter block\n";
  const ProgramRun Objects = RunGaugery(Replay + "objects");
  EXPECT_EQ(Objects.ExitCode, 0);
  EXPECT_EQ(Objects.Out, "0  Process\n");
  EXPECT_EQ(Objects.Err, Warning);
  const ProgramRun Read = RunGaugery(Replay + "read Process \"ID Process\"");
  EXPECT_EQ(Read.Out, "init\t1\n");
  EXPECT_EQ(Read.Err, Warning);
}

// Every command on a replayed block, --object included: under the sanitizers, this is
// what shows that no command reads what it should not.
TEST(GaugeryReplay, EveryCommandRunsOnACapturedBlock) {
  const std::string File = TempFile("every.blk");
  ASSERT_EQ(RunGaugery("capture " + File).ExitCode, 0);
  const std::string Replay = "--replay " + File + " --replay " + File + " ";
  const std::vector<std::string> Commands = {
      "dump",
      "dump --json --object 230 --object 4",
      "dump --locale 007 --object 238",
      "objects --help-texts",
      "objects --json",
      "counters --help-texts Process",
      "instances --json Processor",
      "instances Memory",
      "read Process \"ID Process\" \"Thread Count\" \"Elapsed Time\"",
      "read --json '\\Process(*)\\ID Process' '\\Memory\\Available Bytes'",
      "watch --count 1 --interval 0 Process \"% Processor Time\"",
      "watch --count 1 --interval 0 --json '\\Processor(*)\\% Processor Time'",
      "watch --count 1 --interval 0 --csv --avg System \"System Up Time\"",
      "top --count 1",
      "capture " + TempFile("again.blk"),
  };
  for (const std::string& Command : Commands) {
    const ProgramRun Run = RunGaugery(Replay + Command);
    EXPECT_EQ(Run.ExitCode, 0) << Command << "\n" << Run.Err;
    EXPECT_EQ(Run.Err, "") << Command;
  }
  std::remove(File.c_str());
  std::remove(TempFile("again.blk").c_str());
}

TEST(GaugeryUsage, HelpListsEveryCommandInLinesOf80Columns) {
  const ProgramRun Program = RunGaugery("help");
  ASSERT_EQ(Program.ExitCode, 0);
  EXPECT_EQ(Program.Out, RunGaugery("--help").Out);
  std::vector<std::string> Commands;
  std::istringstream Lines(Program.Out);
  bool InList = false;
  for (std::string Line; std::getline(Lines, Line);) {
    if (Line == "Commands:" || Line.empty()) {
      InList = Line == "Commands:";
    } else if (InList && Line[2] != ' ') {
      Commands.push_back(Line.substr(2, Line.find(' ', 2) - 2));
    }
  }
  EXPECT_NE(std::find(Commands.begin(), Commands.end(), "help"), Commands.end());
  EXPECT_GE(Commands.size(), 12u);
  std::vector<std::string> Texts{Program.Out};
  for (const std::string& Command : Commands) {
    const ProgramRun Help = RunGaugery("help " + Command);
    EXPECT_EQ(Help.ExitCode, 0) << Command;
    Texts.push_back(Help.Out);
  }
  for (const std::string& Text : Texts) {
    std::istringstream In(Text);
    for (std::string Line; std::getline(In, Line);) EXPECT_LE(Line.size(), 80u) << Line;
  }
  EXPECT_EQ(RunGaugery("help nonsense").ExitCode, 2);
  EXPECT_EQ(RunGaugery("help read watch").ExitCode, 2);
}

// --help after any command and -h anywhere print the usage; the option lines of every
// command's usage stay in their column.
TEST(GaugeryUsage, EveryCommandTakesTheHelpOptions) {
  const std::string Program = RunGaugery("help").Out;
  EXPECT_EQ(RunGaugery("-h").Out, Program);
  for (const std::string Command : {"names", "objects", "counters", "top", "watch", "dump"}) {
    const ProgramRun Usage = RunGaugery("help " + Command);
    EXPECT_EQ(RunGaugery(Command + " --help").Out, Usage.Out) << Command;
    const ProgramRun Short = RunGaugery(Command + " --locale 009 -h");
    EXPECT_EQ(Short.ExitCode, 0) << Command;
    EXPECT_EQ(Short.Out, Usage.Out) << Command;
    const std::string Options = Usage.Out.substr(Usage.Out.rfind("\n\n") + 2);
    std::istringstream Lines(Options);
    for (std::string Line; std::getline(Lines, Line);)
      EXPECT_EQ(Line.rfind("  ", 0), 0u) << Command << ": " << Line;
  }
  // After "--" it is an operand.
  EXPECT_EQ(RunGaugery("counters -- --help").ExitCode, 1);
}

TEST(GaugeryUsage, ExitCodesTellUsageFromErrors) {
  EXPECT_EQ(RunGaugery("--help").ExitCode, 0);
  EXPECT_EQ(RunGaugery("dump --help").ExitCode, 0);
  EXPECT_EQ(RunGaugery("").ExitCode, 2);
  EXPECT_EQ(RunGaugery("frobnicate").ExitCode, 2);
  EXPECT_EQ(RunGaugery("dump --bogus").ExitCode, 2);
  EXPECT_EQ(RunGaugery("dump --object x").ExitCode, 2);
  EXPECT_EQ(RunGaugery("capture").ExitCode, 2);

  const ProgramRun Missing = RunGaugery("--replay /nonexistent/x.blk dump");
  EXPECT_EQ(Missing.ExitCode, 1);
  EXPECT_EQ(
      Missing.Err,
      "gaugery: Cannot read capture file \"/nonexistent/x.blk\": No such file or directory\n");
}

// A counter log given to --replay: its samples in turn, named with the log's own tables.
TEST(GaugeryReplay, ALogReplaysItsSamplesWithItsNames) {
  const std::string File = TempFile("day.glog");
  using namespace std::string_literals;
  const std::u16string Counter = u"1\0" u"7002\0" u"7000\0" u"Kaffeemaschine\0" u"7002\0" u"Tassen\0\0"s;
  std::vector<TBlock> Blocks;
  {
    TCounterLogWriter Writer(File, {.ComputerName = "RECORDER"},
                             {{"009", WideString(Counter.begin(), Counter.end()), WideString(1, 0)}});
    for (int Number = 1; Number <= 3; ++Number) {
      Blocks.push_back(BuildBlock(
          {.Objects = {{.NameIndex = 7000, .Counters = {{.NameIndex = 7002}}, .Values = {Number}}},
           .PerfTime = Number}));
      Writer.WriteSample(Blocks.back().Bytes.data(), Blocks.back().Size());
    }
  }
  const ProgramRun First = RunGaugery("--replay " + File + " capture -");
  const ProgramRun Named = RunGaugery("--replay " + File + " dump");
  const ProgramRun Mixed = RunGaugery("--replay " + File + " --replay " + File + " dump");
  std::remove(File.c_str());
  ASSERT_EQ(First.ExitCode, 0) << First.Err;
  EXPECT_TRUE(First.Out == std::string(Blocks[0].Bytes.begin(), Blocks[0].Bytes.end()));
  ASSERT_EQ(Named.ExitCode, 0) << Named.Err;
  EXPECT_NE(Named.Out.find("Object 7000 \"Kaffeemaschine\""), std::string::npos) << Named.Out;
  EXPECT_NE(Named.Out.find("counter 7002 \"Tassen\""), std::string::npos);
  EXPECT_EQ(Mixed.ExitCode, 1);
  EXPECT_EQ(Mixed.Err, "gaugery: A counter log replays alone, without other files\n");
}
