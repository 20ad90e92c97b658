// Every command that takes object titles, run as its users run it on the live machine,
// reading the Thread object that the machine's "Global" leaves out; and the sample a
// one-shot command holds, which has only the objects it names.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

#include "PerfData.h"
#include "ProgramRun.h"
#include "Replay.h"
#include "WinGaugery.h"
#include "registry/PerfProviders.h"

namespace {

using namespace gaugery;

// Whether the rows of `read` end with this thread's id as a value.
bool ListsThisThread(const std::string& Out) {
  return Out.find("\t" + std::to_string(syscall(SYS_gettid)) + "\n") != std::string::npos;
}

TEST(ThreadCommands, EveryCommandReadsTheThreadObject) {
  const ProgramRun Read = RunGaugery("read Thread \"ID Thread\"");
  EXPECT_EQ(Read.ExitCode, 0) << Read.Err;
  EXPECT_TRUE(ListsThisThread(Read.Out));

  const ProgramRun Path = RunGaugery("read \"\\Thread(*)\\ID Thread\" \"\\Process(*)\\ID Process\"");
  EXPECT_EQ(Path.ExitCode, 0) << Path.Err;
  EXPECT_TRUE(ListsThisThread(Path.Out));
  EXPECT_NE(Path.Out.find("\\Process("), std::string::npos);

  const ProgramRun Dump = RunGaugery("dump --object 232");
  EXPECT_EQ(Dump.ExitCode, 0) << Dump.Err;
  EXPECT_NE(Dump.Out.find("Object 232 \"Thread\""), std::string::npos);

  const ProgramRun Watch = RunGaugery("watch --interval 0.1 --count 1 Thread \"ID Thread\"");
  EXPECT_EQ(Watch.ExitCode, 0) << Watch.Err;
  EXPECT_NE(Watch.Out.find("/1\t"), std::string::npos);

  const ProgramRun Instances = RunGaugery("instances Thread");
  EXPECT_EQ(Instances.ExitCode, 0) << Instances.Err;
  EXPECT_NE(Instances.Out.find("_Total/_Total"), std::string::npos);

  const ProgramRun Counters = RunGaugery("counters Thread");
  EXPECT_EQ(Counters.ExitCode, 0) << Counters.Err;
  EXPECT_NE(Counters.Out.find("ID Thread"), std::string::npos);
}

TEST(ThreadCommands, AnObjectTheSampleLacksIsNamedInTheError) {
  TCaptureFiles Files;
  const test::TBlock Memory = test::BuildBlock(
      {.Objects = {{.NameIndex = 4, .Counters = {{.NameIndex = 24}}, .Values = {1}}}});
  const ProgramRun Read = RunGaugery(Files.Replay(Memory) + "read Thread \"ID Thread\"");
  EXPECT_EQ(Read.ExitCode, 1);
  EXPECT_EQ(Read.Err.find("gaugery: Invalid performance object name : Thread"), 0u) << Read.Err;
}

TEST(HeldSample, ACommandNamingObjectsHoldsThoseAlone) {
  EXPECT_EQ(cli::ObjectsValueName({"Memory", "thread", "#9000", "No such object"}, "009"),
            "4 232 9000");
  EXPECT_EQ(cli::ObjectsValueName({"No such object"}, "009"), "Global");
  EXPECT_EQ(cli::IndexListValueName({}), "Global");

  cli::HoldOneSample(cli::ObjectsValueName({"Memory"}, "009"));
  {
    TPerfData Held("Global", "");
    ASSERT_EQ(Held.PerfData()->NumObjectTypes, 1u);
    EXPECT_EQ(FirstObject(Held.PerfData())->ObjectNameTitleIndex, 4u);
  }
  RestoreDefaultPerfProviders();
}

}  // namespace
