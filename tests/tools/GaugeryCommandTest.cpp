// End-to-end runs of the `gaugery` program on the live machine and on captured blocks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "ProgramRun.h"

using nlohmann::json;

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
  std::remove(File.c_str());
  ASSERT_EQ(First.ExitCode, 0) << First.Err;
  EXPECT_EQ(First.Out, Second.Out);
  EXPECT_NE(FindObject(json::parse(First.Out), 230), nullptr);
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
  EXPECT_NE(Missing.Err.find("/nonexistent/x.blk"), std::string::npos) << Missing.Err;
}
