// Counter paths as the command line reads them.
#include "CounterPath.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "CounterList.h"
#include "framework/Exceptions.h"

namespace gaugery::cli {
namespace {

struct TPathCase {
  std::string Text;
  TCounterPath Path;
};

TEST(CounterPath, ReadsEveryFormAndWritesItBack) {
  using enum TInstanceChoice;
  const TPathCase Cases[] = {
      {"\\Memory\\Available Bytes", {"", "Memory", None, "", 0, "Available Bytes"}},
      {"\\Process(bash)\\% Processor Time", {"", "Process", One, "bash", 0, "% Processor Time"}},
      {"\\Process(bash#2)\\ID Process", {"", "Process", One, "bash", 2, "ID Process"}},
      {"\\Process(*)\\ID Process", {"", "Process", All, "", 0, "ID Process"}},
      {"\\\\host\\Processor(_Total)\\% Idle Time",
       {"host", "Processor", One, "_Total", 0, "% Idle Time"}},
      // The object ends at its first "(", the counter starts after the last "\".
      {"\\Process((sd-pam))\\ID Process", {"", "Process", One, "(sd-pam)", 0, "ID Process"}},
      {"\\Process(a\\b)\\ID Process", {"", "Process", One, "a\\b", 0, "ID Process"}},
      {"\\Process(kworker/0:1#1)\\Pages/sec", {"", "Process", One, "kworker/0:1", 1, "Pages/sec"}},
      // Only a trailing "#" and digits number an instance.
      {"\\Process(a#b)\\X", {"", "Process", One, "a#b", 0, "X"}},
      {"\\Process(a#)\\X", {"", "Process", One, "a#", 0, "X"}},
      {"\\Process(a#1#0)\\X", {"", "Process", One, "a#1", 0, "X"}},
      {"\\Process(*#0)\\X", {"", "Process", One, "*", 0, "X"}},
      {"\\Process(#0)\\X", {"", "Process", One, "", 0, "X"}},
  };
  for (const TPathCase& Case : Cases) {
    SCOPED_TRACE(Case.Text);
    const TCounterPath Path = ParseCounterPath(Case.Text);
    EXPECT_EQ(Path.Computer, Case.Path.Computer);
    EXPECT_EQ(Path.Object, Case.Path.Object);
    EXPECT_EQ(Path.Instances, Case.Path.Instances);
    EXPECT_EQ(Path.Instance, Case.Path.Instance);
    EXPECT_EQ(Path.Occurrence, Case.Path.Occurrence);
    EXPECT_EQ(Path.Counter, Case.Path.Counter);
    EXPECT_EQ(PathText(Path), Case.Text);
  }
}

TEST(CounterPath, RefusesTextThatIsNoPath) {
  const std::pair<std::string, std::string> Cases[] = {
      {"Process", "a path starts with \"\\\""},
      {"\\Process", "it needs \\OBJECT\\COUNTER"},
      {"\\Process\\", "no counter after the last \"\\\""},
      {"\\\\host", "nothing follows the computer name"},
      {"\\\\\\Process\\X", "the computer name is empty"},
      {"\\(a)\\X", "no object"},
      {"\\Process(a\\X", "the instance has no closing \")\""},
      {"\\Process()\\X", "the instance is empty"},
  };
  for (const auto& [Text, Problem] : Cases) {
    try {
      ParseCounterPath(Text);
      ADD_FAILURE() << Text << " was read as a path";
    } catch (const UsageError& Error) {
      EXPECT_EQ(std::string(Error.what()), "invalid counter path \"" + Text + "\": " + Problem);
    }
  }
}

// The lists of `relog --counters FILE`.
TEST(CounterList, SkipsCommentsBlankLinesAndCarriageReturns) {
  std::istringstream In(
      "# processor\r\n\\Process(*)\\% Processor Time\r\n\r\n"
      "\\System\\System Up Time\n");
  EXPECT_EQ(
      CounterListPaths(In, "list.txt"),
      (std::vector<std::string>{"\\Process(*)\\% Processor Time", "\\System\\System Up Time"}));
}

TEST(CounterList, NamesTheLineOfABadPathAndRefusesAnEmptyList) {
  const auto MessageOf = [](const std::string& Text) {
    std::istringstream In(Text);
    try {
      CounterListPaths(In, "list.txt");
    } catch (const Exception& Error) {
      return std::string(Error.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(MessageOf("\\System\\System Up Time\nProcess\n"),
            "list.txt:2: not a counter path: \"Process\"");
  EXPECT_EQ(MessageOf("\\System\n").rfind("list.txt:1: invalid counter path", 0), 0u);
  EXPECT_EQ(MessageOf("# nothing\n\n"), "No counter path in \"list.txt\"");
  EXPECT_EQ(MessageOf(""), "No counter path in \"list.txt\"");
}

}  // namespace
}  // namespace gaugery::cli
