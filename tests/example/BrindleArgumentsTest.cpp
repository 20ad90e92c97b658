// Brindle's command line, the same for both front ends.
#include <gtest/gtest.h>

#include "BrindleArguments.h"
#include "registry/PerfProviders.h"

namespace gaugery {
namespace {

TEST(BrindleArguments, WrongUsageEndsWithTwoAndTheUsage) {
  const struct {
    std::vector<std::string> Arguments;
    std::string Error;
  } Cases[] = {
      {{"--replay"}, "option --replay needs a file"},
      {{"--computer"}, "option --computer needs a computer name"},
      {{"--token"}, "option --token needs a file"},
      {{"--replay", "a.blk", "--computer", "host"}, "--replay and --computer exclude each other"},
      {{"--begin"}, "option --begin needs a time"},
      {{"--replay", "a.glog", "--end", "25:00"},
       "option --end needs a time (2026-12-08T03:00:00, or 03:00), not \"25:00\""},
      {{"--begin", "03:00"}, "--begin and --end need --replay LOG"},
      {{"--colour"}, "unknown option --colour"},
      {{"host"}, "unexpected operand host"}};
  for (const auto& Case : Cases) {
    const TBrindleArguments Read = ReadBrindleArguments(Case.Arguments);
    EXPECT_EQ(Read.ExitCode, 2) << Case.Error;
    EXPECT_EQ(Read.Error, Case.Error);
    EXPECT_EQ(EndingText(Read), "brindle: " + Case.Error + "\n" + BrindleUsage);
  }
}

TEST(BrindleArguments, HelpAndVersionEndWithZeroAndAComputerStartsTheWindow) {
  const TBrindleArguments Help = ReadBrindleArguments({"--help"});
  EXPECT_EQ(Help.ExitCode, 0);
  EXPECT_TRUE(Help.ShowUsage);
  EXPECT_TRUE(Help.Error.empty());
  EXPECT_EQ(EndingText(Help), BrindleUsage);

  // Asked for after other options, and whatever follows.
  const TBrindleArguments Version = ReadBrindleArguments({"--computer", "far", "--version", "x"});
  EXPECT_EQ(Version.ExitCode, 0);
  EXPECT_EQ(EndingText(Version), "Brindle 4.1 (Gaugery " GAUGERY_VERSION ")\n");
  // A file named like an option is a file.
  EXPECT_EQ(ParseBrindleArguments({"--replay", "--help"}).ReplayFiles,
            std::vector<std::string>{"--help"});

  const TBrindleArguments Remote = ReadBrindleArguments({"--computer", "far:9441"});
  EXPECT_FALSE(Remote.ExitCode.has_value());
  EXPECT_EQ(Remote.ComputerName, "far:9441");
}

TEST(BrindleArguments, ParsingPutsNoReplayInService) {
  const std::size_t Before = PerfProviders().size();
  const TBrindleArguments Read =
      ParseBrindleArguments({"--replay", "/nonexistent/a.blk", "--replay", "b.blk"});
  EXPECT_FALSE(Read.ExitCode.has_value());
  EXPECT_EQ(Read.ReplayFiles, (std::vector<std::string>{"/nonexistent/a.blk", "b.blk"}));
  EXPECT_EQ(PerfProviders().size(), Before);
}

TEST(BrindleArguments, ATokenFileThatCannotBeReadEndsWithOneAndItsReason) {
  const TBrindleArguments Read =
      ReadBrindleArguments({"--computer", "far:9441", "--token", "/nonexistent/token"});
  EXPECT_EQ(Read.ExitCode, 1);
  EXPECT_EQ(Read.Error, "Cannot read the token file \"/nonexistent/token\"");
  EXPECT_FALSE(Read.ShowUsage);
}

// A refused file keeps the providers in service as they were.
TEST(BrindleArguments, AFileThatCannotBeReplayedEndsWithOneAndItsReason) {
  const std::size_t Before = PerfProviders().size();
  const TBrindleArguments Read = ReadBrindleArguments({"--replay", "/nonexistent/capture.blk"});
  EXPECT_EQ(Read.ExitCode, 1);
  EXPECT_NE(Read.Error.find("/nonexistent/capture.blk"), std::string::npos) << Read.Error;
  EXPECT_FALSE(Read.ShowUsage);
  EXPECT_EQ(EndingText(Read), "brindle: " + Read.Error + "\n");
  EXPECT_EQ(PerfProviders().size(), Before);
}

}  // namespace
}  // namespace gaugery
