// The watch command: replayed sequences print the same samples on every run, and on the
// live machine the processors' busy share is a percentage.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ProgramRun.h"

using nlohmann::json;

namespace {

std::vector<json> JsonLines(const std::string& Text) {
  std::vector<json> Lines;
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);) Lines.push_back(json::parse(Line));
  return Lines;
}

// A number as the program prints it, whatever the decimal separator and suffix.
double Number(std::string Text) {
  std::replace(Text.begin(), Text.end(), ',', '.');
  return std::stod(Text);
}

// Capture files of process samples one second apart: (name, id, processor time) per
// instance. The files go with the fixture.
class WatchReplay : public ::testing::Test {
 protected:
  struct TProcess {
    std::string Name;
    std::int64_t Id;
    std::int64_t Time;
  };

  std::string Capture(int Second, const std::vector<TProcess>& Processes) {
    using namespace gaugery;
    test::TObjectSpec Process{
        .NameIndex = 230,
        .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                     {.NameIndex = 6, .Type = PERF_100NSEC_TIMER}},
        .HasInstances = true};
    for (const TProcess& P : Processes) Process.Instances.push_back({P.Name, {P.Id, P.Time}});
    const test::TBlock Block =
        test::BuildBlock({.Objects = {Process},
                          .SystemTime = {2024, 5, 3, 15, 12, 30, static_cast<WORD>(Second), 0}});
    const std::string File = ::testing::TempDir() + "gaugery-watch-" + std::to_string(getpid()) +
                             "-" + std::to_string(Files_.size()) + ".blk";
    std::ofstream(File, std::ios::binary)
        .write(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Size());
    Files_.push_back(File);
    return "--replay " + File + " ";
  }

  ~WatchReplay() override {
    for (const std::string& File : Files_) std::remove(File.c_str());
  }

 private:
  std::vector<std::string> Files_;
};

TEST_F(WatchReplay, KthSampleComesFromTheKthFileOnEveryRun) {
  const std::string Replay = Capture(0, {{"a", 1, 0}, {"b", 2, 0}, {"a", 3, 0}}) +
                             Capture(1, {{"a", 1, 2500000}, {"a", 3, 5000000}}) +
                             Capture(2, {{"A", 1, 5000000}, {"a", 4, 0}});
  const std::string Watch =
      Replay +
      "watch --count 4 --interval 0 --json --key \"ID Process\" Process \"% Processor Time\"";
  const ProgramRun First = RunGaugery(Watch);
  ASSERT_EQ(First.ExitCode, 0) << First.Err;
  EXPECT_EQ(RunGaugery(Watch).Out, First.Out);

  const std::vector<json> Samples = JsonLines(First.Out);
  ASSERT_EQ(Samples.size(), 4u);
  const long long Start = Samples[0]["time"];
  EXPECT_EQ(Samples[1]["time"].get<long long>() - Start, 10000000);
  EXPECT_EQ(Samples[2]["time"].get<long long>() - Start, 20000000);
  EXPECT_EQ(Samples[3]["time"], Samples[2]["time"]);  // the last file repeats
  EXPECT_EQ(Samples[0]["counters"], json::parse(R"(["% Processor Time"])"));
  EXPECT_EQ(Samples[0]["rows"], json::parse(R"([{"instance": "a", "values": ["0.00%"]},
                                                {"instance": "b", "values": ["0.00%"]},
                                                {"instance": "a", "values": ["0.00%"]}])"));
  EXPECT_EQ(Samples[1]["rows"], json::parse(R"([{"instance": "a", "values": ["25.00%"]},
                                                {"instance": "a", "values": ["50.00%"]}])"));
  // "A" is still process 1; the new process 4 comes last; a time of 0 elapsed gives 0.
  EXPECT_EQ(Samples[2]["rows"][0], json::parse(R"({"instance": "a", "values": ["25.00%"]})"));
  EXPECT_EQ(Samples[2]["rows"][1]["instance"], "a");
  EXPECT_EQ(Samples[3]["rows"][0], json::parse(R"({"instance": "a", "values": ["0.00%"]})"));
}

TEST_F(WatchReplay, TextAndCsvShowEveryRecordPerSample) {
  const std::string Replay =
      Capture(0, {{"a", 1, 0}, {"a", 2, 0}}) + Capture(1, {{"a", 1, 1000000}, {"a", 2, 3000000}});
  const ProgramRun Text = RunGaugery(
      Replay + "watch --count 2 --interval 0 --avg Process \"% Processor Time\" \"ID Process\"");
  ASSERT_EQ(Text.ExitCode, 0) << Text.Err;
  // Without a key both instances share one record: the later one's values count.
  EXPECT_EQ(Text.Out, "a\t0.00%\t2\n\na\t30.00%\t2\n");
  const ProgramRun Csv = RunGaugery(
      Replay +
      "watch --count 2 --interval 0 --csv --key \"ID Process\" Process \"% Processor Time\"");
  ASSERT_EQ(Csv.ExitCode, 0) << Csv.Err;
  EXPECT_EQ(Csv.Out,
            "time,instance,% Processor Time\n"
            "2024-05-15 12:30:00.000,a,0.00\n"
            "2024-05-15 12:30:00.000,a,0.00\n"
            "2024-05-15 12:30:01.000,a,10.00\n"
            "2024-05-15 12:30:01.000,a,30.00\n");
}

TEST(Watch, RefusesWrongUsage) {
  EXPECT_EQ(RunGaugery("watch Process").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch --csv --json Process \"ID Process\"").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch --interval soon Process \"ID Process\"").ExitCode, 2);
  EXPECT_EQ(RunGaugery("watch --count 0 Process \"ID Process\"").ExitCode, 2);
  const ProgramRun Unknown = RunGaugery("watch --count 1 Process Nonsense");
  EXPECT_EQ(Unknown.ExitCode, 1);
  EXPECT_EQ(Unknown.Err, "Invalid performance counter name : Nonsense\n");
}

TEST(Watch, ProcessorTimeOfAllProcessorsIsAPercentage) {
  const ProgramRun Run =
      RunGaugery("watch --count 3 --interval 1 --json Processor \"% Processor Time\"");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  const std::vector<json> Samples = JsonLines(Run.Out);
  ASSERT_EQ(Samples.size(), 3u);
  // /proc counts idle time in clock ticks (10 ms): over one second the idle share can be
  // off by a tick against the sample times.
  constexpr double Tick = 1.0;
  for (const json& Sample : Samples) {
    const json& Total = Sample["rows"].back();
    ASSERT_EQ(Total["instance"], "_Total");
    const std::string Text = Total["values"][0];
    ASSERT_EQ(Text.back(), '%');
    const double Busy = Number(Text.substr(0, Text.size() - 1));
    EXPECT_GE(Busy, 0.0 - Tick) << Text;
    EXPECT_LE(Busy, 100.0 + Tick) << Text;
  }
}

}  // namespace
