// gaugery top on replayed samples: the plain lines it prints when its output is not a
// terminal, and the screen it draws on a terminal as the user scrolls, sorts, filters,
// resizes and ends it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "ProcessSamples.h"
#include "ProgramRun.h"
#include "TerminalRun.h"
#include "perf/log/CounterLogWriter.h"

namespace {

using namespace gaugery;
using namespace gaugery::testing;

// A capture file for --replay, removed with the object.
class SavedBlock {
 public:
  SavedBlock(const test::TBlock& Block, const std::string& Tag)
      : Path_(::testing::TempDir() + "gaugery-top-" + Tag + "-" + std::to_string(getpid()) +
              ".blk") {
    std::ofstream(Path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Size());
  }
  ~SavedBlock() { std::remove(Path_.c_str()); }
  SavedBlock(const SavedBlock&) = delete;
  SavedBlock& operator=(const SavedBlock&) = delete;

  const std::string& Path() const { return Path_; }

 private:
  std::string Path_;
};

const std::string Captions =
    "Task name\tID Process\tElapsed Time\tThread Count\tHandle Count\tPage File Bytes\t"
    "Page File Bytes Peak\tPool Nonpaged Bytes\tWorking Set\tCPU %\n";

// Runs the program under the C locale, whose separators are "," for thousands and ":"
// in times.
ProgramRun RunInCLocale(const std::string& Arguments) {
  const char* const Saved = std::getenv("LC_ALL");
  const std::string Restored = Saved != nullptr ? Saved : "";
  setenv("LC_ALL", "C", 1);
  ProgramRun Run = RunGaugery(Arguments);
  if (Saved != nullptr) {
    setenv("LC_ALL", Restored.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  return Run;
}

// A first sample comes before the first lines, so that processor times have a value
// from the first table on; the values are plain numbers, the running time in seconds.
TEST(GaugeryTop, PrintsOneTablePerRefreshFollowingTheProcesses) {
  const TProcessSample Init{.Name = "init",
                            .Id = 1,
                            .RunningSeconds = 93784,
                            .Threads = 2,
                            .Handles = 7,
                            .PageFileBytes = 1 << 20,
                            .PageFileBytesPeak = 1 << 21,
                            .PoolNonpagedBytes = 4096,
                            .WorkingSet = 123456789};
  TProcessSample Later = Init;
  Later.RunningSeconds += 1;
  // A start time as far back as the value goes: the running time is still computed.
  const TProcessSample Ancient{
      .Name = "ancient", .Id = 7, .StartTime = std::numeric_limits<std::int64_t>::min()};
  const TProcessSample Shell{.Name = "shell", .Id = 1234, .RunningSeconds = 59, .WorkingSet = 999};
  const SavedBlock First(ProcessBlock({Init, Shell, Ancient}), "first");
  const SavedBlock Three(ProcessBlock({Init, Shell, Ancient}, 1), "three");
  const SavedBlock Two(ProcessBlock({Later, Ancient}, 2), "two");
  const ProgramRun Run = RunInCLocale("--replay " + First.Path() + " --replay " + Three.Path() +
                                      " --replay " + Two.Path() + " top --count 2");

  EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_EQ(Run.Out, Captions +
                         "init\t1\t93784\t2\t7\t1048576\t2097152\t4096\t123456789\t0\n"
                         "shell\t1234\t59\t1\t0\t0\t0\t0\t999\t0\n"
                         "ancient\t7\t935697203685.4775\t1\t0\t0\t0\t0\t0\t0\n" +
                         Captions +
                         "init\t1\t93785\t2\t7\t1048576\t2097152\t4096\t123456789\t0\n"
                         "ancient\t7\t935697203685.4775\t1\t0\t0\t0\t0\t0\t0\n");
}

// On the live machine the one table of --count 1 already has processor times.
TEST(GaugeryTop, OneRefreshOfTheLiveMachineHasProcessorTimes) {
  const ProgramRun Run = RunGaugery("top --count 1");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  std::size_t Valued = 0;
  for (std::size_t Line = Run.Out.find('\n') + 1; Line < Run.Out.size();
       Line = Run.Out.find('\n', Line) + 1) {
    const std::string Text = Run.Out.substr(Line, Run.Out.find('\n', Line) - Line);
    if (Text.substr(Text.rfind('\t') + 1) != "-") ++Valued;
  }
  EXPECT_GT(Valued, 1u) << Run.Out;
}

// Processor time goes by process id: same-named processes keep their own, and a process
// id that a new program took over has no previous sample. _Total is the sum of what the
// processes show, although the sample's own sum went back (processes ended).
TEST(GaugeryTop, SortsByProcessorTimeOfEachProcess) {
  const SavedBlock First(ProcessBlock({{.Name = "init", .Id = 1},
                                       {.Name = "shell", .Id = 1234},
                                       {.Name = "shell", .Id = 1235, .ProcessorTime = 4'000'000},
                                       {.Name = "sleep", .Id = 1236, .ProcessorTime = 5'000'000},
                                       {.Name = "_Total", .ProcessorTime = 20'000'000}}),
                         "first");
  const SavedBlock Second(ProcessBlock({{.Name = "init", .Id = 1, .ProcessorTime = 1'000'000},
                                        {.Name = "shell", .Id = 1234, .ProcessorTime = 2'500'000},
                                        {.Name = "shell", .Id = 1235, .ProcessorTime = 4'000'000},
                                        {.Name = "bash", .Id = 1236, .ProcessorTime = 9'000'000},
                                        {.Name = "_Total", .ProcessorTime = 16'500'000}},
                                       1),
                          "second");
  const ProgramRun Run = RunInCLocale("--replay " + First.Path() + " --replay " + Second.Path() +
                                      " top --count 1 --sort cpu");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  const std::string SecondTable = Run.Out.substr(Run.Out.rfind("Task name"));
  std::vector<std::string> Shown;
  for (std::size_t Line = SecondTable.find('\n') + 1; Line < SecondTable.size();
       Line = SecondTable.find('\n', Line) + 1) {
    const std::string Text = SecondTable.substr(Line, SecondTable.find('\n', Line) - Line);
    Shown.push_back(Text.substr(0, Text.find('\t')) + " " + Text.substr(Text.rfind('\t') + 1));
  }
  EXPECT_EQ(Shown,
            (std::vector<std::string>{"shell 25", "init 10", "shell 0", "bash -", "_Total 35"}));
}

TEST(GaugeryTop, RefusesWrongUsageAndReportsAFailingRefresh) {
  EXPECT_EQ(RunGaugery("top --count 0").ExitCode, 2);
  const ProgramRun Operand = RunGaugery("top extra");
  EXPECT_EQ(Operand.ExitCode, 2);
  EXPECT_NE(Operand.Err.find("unexpected operand extra"), std::string::npos) << Operand.Err;
  const ProgramRun Ambiguous = RunGaugery("top --sort page --count 1");
  EXPECT_EQ(Ambiguous.ExitCode, 2);
  EXPECT_NE(Ambiguous.Err.find("gaugery top: option --sort: \"page\" is ambiguous, it starts the "
                               "columns Page File Bytes and Page File Bytes Peak\n"),
            std::string::npos)
      << Ambiguous.Err;
  EXPECT_EQ(Ambiguous.Out, "");

  const SavedBlock NoProcesses(BlockWithoutProcesses(), "none");
  const ProgramRun Run = RunGaugery("--replay " + NoProcesses.Path() + " top --count 1");
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_EQ(Run.Out, "");
  EXPECT_EQ(Run.Err, "gaugery: Invalid performance object name\n");
}

// --- On a terminal: forty processes p0 to p39 and _Total, all without processor time
// yet, so that the default order (processor time) is the order of the sample.

test::TBlock FortyProcesses() {
  std::vector<TProcessSample> Processes = NumberedProcesses(40);
  Processes.push_back({.Name = "_Total"});
  return ProcessBlock(Processes);
}

bool StartsWith(const std::string& Text, const std::string& Start) {
  return Text.compare(0, Start.size(), Start) == 0;
}

// The first row shown (line 2, under header and captions) starts with Name.
std::function<bool(const TerminalRun::Screen&)> FirstRowIs(const std::string& Name) {
  return [Name](const TerminalRun::Screen& Lines) {
    return Lines.size() > 2 && StartsWith(Lines[2], Name + " ");
  };
}

std::function<bool(const TerminalRun::Screen&)> HeaderHas(const std::string& Text) {
  return [Text](const TerminalRun::Screen& Lines) {
    return !Lines.empty() && Lines[0].find(Text) != std::string::npos;
  };
}

void ExpectRestored(TerminalRun& Top, int ExitStatus) {
  EXPECT_EQ(Top.ExitStatus(), ExitStatus);
  EXPECT_TRUE(Top.Echoes());
  const std::string LeftScreen = "\x1b[?1049l";
  EXPECT_EQ(Top.Output().substr(Top.Output().size() - LeftScreen.size()), LeftScreen);
}

TEST(GaugeryTopScreen, ScrollsSortsAndFilters) {
  const SavedBlock Forty(FortyProcesses(), "forty");
  TerminalRun Top({"--replay", Forty.Path(), "top"}, 100, 12);
  // 12 lines: header, captions, 8 rows, _Total, keys.
  const TerminalRun::Screen First = Top.ScreenWhen(FirstRowIs("p0"));
  ASSERT_EQ(First.size(), 12u);
  EXPECT_TRUE(StartsWith(
      First[0], "2024-05-15 12:30:45  40 processes on TESTHOST  sort: CPU %, descending  "))
      << First[0];
  EXPECT_TRUE(StartsWith(First[1], "Task name CPU % ID Proce~ Elapsed Ti~")) << First[1];
  EXPECT_TRUE(StartsWith(First[9], "p7 ")) << First[9];
  EXPECT_TRUE(StartsWith(First[10], "_Total ")) << First[10];
  EXPECT_TRUE(StartsWith(First[11], "q quit")) << First[11];

  Top.Type("\x1b[B");  // Down
  Top.ScreenWhen(FirstRowIs("p1"));
  Top.Type("\x1b[6~");  // PgDn
  Top.ScreenWhen(FirstRowIs("p9"));
  Top.Type("\x1b[F");  // End: the last page, _Total still under it
  const TerminalRun::Screen Last = Top.ScreenWhen(FirstRowIs("p32"));
  EXPECT_TRUE(StartsWith(Last[9], "p39 ")) << Last[9];
  EXPECT_TRUE(StartsWith(Last[10], "_Total ")) << Last[10];
  Top.Type("\x1b[H");  // Home
  Top.ScreenWhen(FirstRowIs("p0"));

  Top.Type("<");  // sorted by name, from the top of the new order
  Top.ScreenWhen(HeaderHas("sort: Task name, ascending"));
  Top.Type(">>");  // past CPU % to ID Process, largest first
  Top.ScreenWhen(FirstRowIs("p39"));
  Top.Type("r");
  Top.ScreenWhen(FirstRowIs("p0"));

  Top.Type("/P3");  // the filter ignores case
  const TerminalRun::Screen Filtered = Top.ScreenWhen(HeaderHas("filter \"P3\": 11 shown"));
  EXPECT_TRUE(StartsWith(Filtered[11], "Filter by name: P3_")) << Filtered[11];
  Top.Type("\r");
  Top.ScreenWhen([](const TerminalRun::Screen& Lines) {
    return Lines.size() == 12 && StartsWith(Lines[11], "q quit") &&
           Lines[0].find("11 shown") != std::string::npos;
  });
  Top.Type("\x1b");  // Escape clears the filter
  Top.ScreenWhen([](const TerminalRun::Screen& Lines) {
    return !Lines.empty() && Lines[0].find("filter") == std::string::npos;
  });
  Top.Type("q");
  ExpectRestored(Top, 0);
}

TEST(GaugeryTopScreen, RedrawsAtOnceWhenResized) {
  const SavedBlock Forty(FortyProcesses(), "resized");
  TerminalRun Top({"--replay", Forty.Path(), "top"}, 100, 12);
  Top.ScreenWhen(FirstRowIs("p0"));
  Top.Resize(40, 6);
  const TerminalRun::Screen Small = Top.ScreenWhen([](const TerminalRun::Screen& Lines) {
    return Lines.size() == 6 && StartsWith(Lines[4], "_Total");
  });
  EXPECT_TRUE(StartsWith(Small[2], "p0 ")) << Small[2];
  for (const std::string& Line : Small) EXPECT_EQ(Line.size(), 40u) << Line;
  Top.Type("Q");
  ExpectRestored(Top, 0);
}

TEST(GaugeryTopScreen, SignalsThatEndItRestoreTheTerminal) {
  const SavedBlock Forty(FortyProcesses(), "signals");
  for (const auto& [Signal, Status] :
       std::vector<std::pair<int, int>>{{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
    TerminalRun Top({"--replay", Forty.Path(), "top"}, 80, 10);
    Top.ScreenWhen(FirstRowIs("p0"));
    EXPECT_FALSE(Top.Echoes());
    Top.Signal(Signal);
    ExpectRestored(Top, Status);
  }
}

// --- On a counter log

// A log of three samples a second apart: "busy" uses half a processor between the first
// two and all of one between the last two.
class SavedLog {
 public:
  SavedLog() : Path_(::testing::TempDir() + "gaugery-top-" + std::to_string(getpid()) + ".glog") {
    TCounterLogWriter Writer(Path_, {.ComputerName = "RECORDER"}, ProcessLogNames());
    const std::int64_t BusyTimes[] = {0, 5'000'000, 15'000'000};
    for (int Second = 0; Second < 3; ++Second) {
      const test::TBlock Block =
          ProcessBlock({{.Name = "idle", .Id = 1},
                        {.Name = "busy", .Id = 2, .ProcessorTime = BusyTimes[Second]}},
                       Second);
      Writer.WriteSample(Block.Bytes.data(), Block.Size());
    }
  }
  ~SavedLog() { std::remove(Path_.c_str()); }
  SavedLog(const SavedLog&) = delete;
  SavedLog& operator=(const SavedLog&) = delete;

  const std::string& Path() const { return Path_; }

 private:
  std::string Path_;
};

std::function<bool(const TerminalRun::Screen&)> ShowsSample(const std::string& Position,
                                                            const std::string& BusyPercent) {
  return [=](const TerminalRun::Screen& Lines) {
    if (!HeaderHas(Position + "  ")(Lines)) return false;
    for (const std::string& Line : Lines) {
      if (StartsWith(Line, "busy ")) return Line.find(" " + BusyPercent + " ") != std::string::npos;
    }
    return false;
  };
}

// The first screen is the first sample, and stays: nothing moves on by itself. Processor
// time lies between the shown sample and the one before it, whichever way the user came.
TEST(GaugeryTopOnALog, StepsForwardAndBackThroughItsSamples) {
  const SavedLog Log;
  TerminalRun Top({"--replay", Log.Path(), "top"}, 100, 10);
  const TerminalRun::Screen First = Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  EXPECT_NE(First[0].find("on TESTHOST"), std::string::npos) << First[0];
  EXPECT_NE(First.back().find("t next sample"), std::string::npos) << First.back();
  sleep(2);
  Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  Top.Type("t");
  Top.ScreenWhen(ShowsSample("sample 2 of 3", "50.0"));
  Top.Type("t");
  Top.ScreenWhen(ShowsSample("sample 3 of 3", "100.0"));
  // Past the end and before the start, the end sample stays.
  Top.Type("tT");
  Top.ScreenWhen(ShowsSample("sample 2 of 3", "50.0"));
  Top.Type("TT");
  Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  // A step key typed into the name filter is part of the name.
  Top.Type("/t");
  Top.ScreenWhen(HeaderHas("sample 1 of 3  2 processes on TESTHOST  filter \"t\": 0 shown"));
  Top.Type(
      "\x1b"
      "q");
  ExpectRestored(Top, 0);
}

std::function<bool(const TerminalRun::Screen&)> StatusHas(const std::string& Text) {
  return [Text](const TerminalRun::Screen& Lines) {
    return !Lines.empty() && Lines.back().find(Text) != std::string::npos;
  };
}

// g asks for a time on the status line and shows the first sample at or after it (the
// last one past the end), its processor time from the sample before it. The samples lie
// at 12:30:45.5, 46.5 and 47.5 of the recording machine, whose zone is UTC.
TEST(GaugeryTopOnALog, GoesToATypedTime) {
  const SavedLog Log;
  TerminalRun Top({"--replay", Log.Path(), "top"}, 100, 10);
  Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  Top.Type("g12:30:47");
  Top.ScreenWhen(StatusHas("Go to time: 12:30:47_"));
  Top.Type("\r");
  Top.ScreenWhen(ShowsSample("sample 3 of 3", "100.0"));
  // Between two samples the later one; a date and a zone as --begin takes them.
  Top.Type("g2024-05-15T13:30:45.9+01:00\r");
  Top.ScreenWhen(ShowsSample("sample 2 of 3", "50.0"));
  Top.Type("g11:00\r");
  Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  Top.Type("g23:59\r");
  Top.ScreenWhen(ShowsSample("sample 3 of 3", "100.0"));
  // While a time is typed other keys (q too) are left out, Backspace takes one back and
  // Escape cancels.
  Top.Type(
      "g12:3q0:4x5\x7f"
      "6");
  Top.ScreenWhen(StatusHas("Go to time: 12:30:46_"));
  Top.Type("\x1b");
  Top.ScreenWhen(StatusHas("g go to time"));
  Top.ScreenWhen(ShowsSample("sample 3 of 3", "100.0"));
  // A text that is no time is said so and changes nothing.
  Top.Type("g12:61\r");
  Top.ScreenWhen(StatusHas("\"12:61\" is not a time"));
  Top.ScreenWhen(ShowsSample("sample 3 of 3", "100.0"));
  Top.Type("Tq");
  ExpectRestored(Top, 0);
}

// Space plays at the recorded pace, a second a sample here, and stops at the last.
TEST(GaugeryTopOnALog, PlaysAndPausesWithSpace) {
  const SavedLog Log;
  TerminalRun Top({"--replay", Log.Path(), "top"}, 100, 10);
  Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  Top.Type(" ");
  Top.ScreenWhen(HeaderHas("sample 1 of 3, playing"));
  Top.ScreenWhen(ShowsSample("sample 3 of 3", "100.0"));
  Top.Type("TT ");
  Top.ScreenWhen(HeaderHas("sample 1 of 3, playing"));
  Top.Type(" ");
  Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  sleep(2);
  Top.ScreenWhen(ShowsSample("sample 1 of 3", "-"));
  Top.Type("q");
  ExpectRestored(Top, 0);
}

}  // namespace
