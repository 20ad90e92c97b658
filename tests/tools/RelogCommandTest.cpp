// gaugery relog on logs written here from synthetic samples one second apart: the table
// layout as a CSV reader that is not ours reads it, values equal to those watch prints
// for the same log, merging, thinning and windows, the summary, and bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "LogSamples.h"
#include "ProgramRun.h"
#include "perf/log/CounterLogWriter.h"

using nlohmann::json;

namespace {

using namespace gaugery;
using gaugery::test::LogMachine;
using gaugery::test::LogSample;
using gaugery::test::MultiString;

TLogNames RelogNames() {
  return {{"009",
           MultiString({"1", "1847", "2", "System", "6", "% Processor Time", "180", "Working Set",
                        "230", "Process", "674", "System Up Time", "784", "ID Process"}),
           MultiString({})}};
}

const std::string ProcessorTime = "\\Process(*)\\% Processor Time";

class RelogCommandTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::string& File : Files_) std::filesystem::remove(File);
  }

  std::string FileName(const std::string& Suffix) {
    const std::string File =
        (std::filesystem::temp_directory_path() /
         // Tests run at once in separate processes: the test's name keeps their files apart.
         ("relog-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
          "-" + std::to_string(Files_.size()) + Suffix))
            .string();
    Files_.push_back(File);
    return File;
  }

  // A log of the samples First to Last, with a gap in place of sample Missing.
  std::string Log(int First, int Last, int Missing = 0) {
    const std::string File = FileName(".glog");
    TCounterLogWriter Writer(File, LogMachine(), RelogNames());
    for (int Number = First; Number <= Last; ++Number) {
      if (Number == Missing) {
        Writer.WriteGap(test::LogSampleTime(Number), "query failed");
        continue;
      }
      test::TBlock Block = LogSample(Number);
      Writer.WriteSample(Block.Data(), static_cast<DWORD>(Block.Size()));
    }
    return File;
  }

  std::string Text(const std::string& File) {
    std::ifstream In(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
  }

  // The rows of File as Python's csv module reads them (Delimiter "," or "\t").
  std::vector<std::vector<std::string>> PythonRows(const std::string& File,
                                                   const std::string& Delimiter = ",") {
    const std::string Script = FileName(".py");
    std::ofstream(Script) << "import csv, json, sys\n"
                             "with open(sys.argv[1], newline='') as f:\n"
                             "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2], "
                             "strict=True))))\n";
    const std::string Command = "python3 " + Script + " " + File + " '" + Delimiter + "'";
    FILE* Pipe = popen(Command.c_str(), "r");
    std::string Out;
    char Buffer[4096];
    for (std::size_t Read; (Read = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;)
      Out.append(Buffer, Read);
    EXPECT_EQ(pclose(Pipe), 0) << Command;
    return json::parse(Out).get<std::vector<std::vector<std::string>>>();
  }

  std::vector<std::string> Files_;
};

int ColumnOf(const std::vector<std::string>& Header, const std::string& Path) {
  for (std::size_t Column = 0; Column < Header.size(); ++Column)
    if (Header[Column] == Path) return static_cast<int>(Column);
  return -1;
}

TEST_F(RelogCommandTest, CsvHasTheCounterLogLayout) {
  const std::string In = Log(1, 6);
  const std::string Out = FileName(".csv");
  const ProgramRun Run = RunGaugery("relog " + In + " -o " + Out + " \"" + ProcessorTime +
                                    "\" \"\\System\\System Up Time\"");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  const std::string Raw = Text(Out);
  EXPECT_EQ(Raw.rfind("\"(PDH-CSV 4.0) (W. Europe Standard Time)(-60)\",", 0), 0u) << Raw;
  // Every line ends in CRLF, and no bare LF is left.
  EXPECT_EQ(Raw.substr(Raw.size() - 2), "\r\n");
  std::size_t Bare = 0;
  for (std::size_t At = 0; At < Raw.size(); ++At)
    if (Raw[At] == '\n' && (At == 0 || Raw[At - 1] != '\r')) ++Bare;
  EXPECT_EQ(Bare, 0u);
  // Every field is quoted: each line starts and ends with a quote, and every comma (the
  // names hold none) stands between a closing and an opening one.
  std::istringstream Lines(Raw);
  for (std::string Line; std::getline(Lines, Line);) {
    ASSERT_GE(Line.size(), 3u);
    EXPECT_EQ(Line.front(), '"');
    EXPECT_EQ(Line.substr(Line.size() - 2), "\"\r");
    std::size_t Commas = 0, Separators = 0;
    for (std::size_t At = 1; At + 1 < Line.size(); ++At) {
      if (Line[At] != ',') continue;
      ++Commas;
      if (Line[At - 1] == '"' && Line[At + 1] == '"') ++Separators;
    }
    EXPECT_EQ(Commas, Separators) << Line;
  }

  const auto Rows = PythonRows(Out);
  ASSERT_EQ(Rows.size(), 7u);  // header and 6 samples
  const std::vector<std::string>& Header = Rows[0];
  // Sample 1 has 20 + 1 % 7 = 21 processes, then the System value.
  ASSERT_EQ(Header.size(), 1u + 21 + 1);
  EXPECT_EQ(Header[1], "\\\\RECORDER\\Process(process0)\\% Processor Time");
  EXPECT_EQ(Header.back(), "\\\\RECORDER\\System\\System Up Time");
  for (const auto& Row : Rows) EXPECT_EQ(Row.size(), Header.size());
  // Local time, bias -60: an hour after the UTC time of the samples.
  EXPECT_EQ(Rows[1][0].size(), std::string("MM/dd/yyyy HH:mm:ss.fff").size());
  EXPECT_EQ(Rows[1][0].substr(2, 1) + Rows[1][0].substr(5, 1) + Rows[1][0].substr(19, 1), "//.");
  // The first sample gives no rate; a raw count has a value from the first sample on.
  EXPECT_EQ(Rows[1][1], " ");
  EXPECT_EQ(Rows[1].back(), "1");
  EXPECT_EQ(Rows[6].back(), "6");
  EXPECT_NE(Rows[2][1], " ");
}

TEST_F(RelogCommandTest, ValuesEqualThoseOfWatchOnTheSameLog) {
  const std::string In = Log(1, 8);
  const std::string Out = FileName(".csv");
  ASSERT_EQ(RunGaugery("relog " + In + " -o " + Out + " \"" + ProcessorTime + "\"").ExitCode, 0);
  const auto Rows = PythonRows(Out);
  const ProgramRun Watch = RunGaugery("--replay " + In + " watch --json --interval 0 --count 7 \"" +
                                      ProcessorTime + "\"");
  ASSERT_EQ(Watch.ExitCode, 0) << Watch.Err;
  std::istringstream Lines(Watch.Out);
  std::size_t Row = 2;  // watch's first document is of the second sample
  int Compared = 0;
  for (std::string Line; std::getline(Lines, Line); ++Row) {
    ASSERT_LT(Row, Rows.size());
    const json Document = json::parse(Line);
    for (const json& Value : Document["values"]) {
      const int Column = ColumnOf(Rows[0], "\\\\RECORDER" + Value["path"].get<std::string>());
      if (Column < 0) continue;  // an instance after the first sample
      const std::string Cell = Rows[Row][static_cast<std::size_t>(Column)];
      if (Value["value"].is_null()) {
        EXPECT_EQ(Cell, " ");
      } else {
        EXPECT_DOUBLE_EQ(std::stod(Cell), Value["value"].get<double>()) << Value["path"];
        ++Compared;
      }
    }
  }
  EXPECT_EQ(Row, Rows.size());
  EXPECT_GT(Compared, 100);
}

TEST_F(RelogCommandTest, TsvUsesTabsAndItsOwnTag) {
  const std::string In = Log(1, 3);
  const std::string Out = FileName(".tsv");
  ASSERT_EQ(RunGaugery("relog " + In + " -o " + Out + " --format tsv \"\\System\\System Up Time\"")
                .ExitCode,
            0);
  const auto Rows = PythonRows(Out, "\t");
  ASSERT_EQ(Rows.size(), 4u);
  EXPECT_EQ(Rows[0][0], "(PDH-TSV 4.0) (W. Europe Standard Time)(-60)");
  EXPECT_EQ(Rows[3][1], "3");
}

// Without --format the output's extension chooses it; --format wins over the extension.
TEST_F(RelogCommandTest, TheOutputsExtensionChoosesTheFormat) {
  const std::string In = Log(1, 3);
  const std::string Counter = " \"\\System\\System Up Time\"";
  auto Relog = [&](const std::string& Out, const std::string& Options = "") {
    const ProgramRun Run = RunGaugery("relog " + In + " -o " + Out + Options + Counter);
    EXPECT_EQ(Run.ExitCode, 0) << Out << ": " << Run.Err;
  };
  const std::string AsLog = FileName(".glog");
  Relog(AsLog);
  const ProgramRun Summary = RunGaugery("relog --summary " + AsLog);
  EXPECT_EQ(Summary.ExitCode, 0) << Summary.Err;
  EXPECT_NE(Summary.Out.find("samples    3\n"), std::string::npos) << Summary.Out;

  const std::string Tsv = FileName(".TSV");
  Relog(Tsv);
  EXPECT_EQ(PythonRows(Tsv, "\t")[0][0], "(PDH-TSV 4.0) (W. Europe Standard Time)(-60)");
  const std::string Json = FileName(".json");
  Relog(Json);
  EXPECT_EQ(Text(Json).front(), '{');
  for (const char* Suffix : {".csv", ".txt", ""}) {
    const std::string Csv = FileName(Suffix);
    Relog(Csv);
    EXPECT_EQ(PythonRows(Csv)[0][0], "(PDH-CSV 4.0) (W. Europe Standard Time)(-60)") << Suffix;
  }
  const std::string Forced = FileName(".glog");
  Relog(Forced, " --format csv");
  EXPECT_EQ(PythonRows(Forced).size(), 4u) << "--format names the format";
}

TEST_F(RelogCommandTest, LaterInstancesAreLeftOutOfTheTableButKeptInJson) {
  // Sample 1 has 21 processes, sample 2 has 22.
  const std::string In = Log(1, 2);
  const std::string Csv = FileName(".csv");
  const ProgramRun Table = RunGaugery("relog " + In + " -o " + Csv + " \"" + ProcessorTime + "\"");
  ASSERT_EQ(Table.ExitCode, 0) << Table.Err;
  EXPECT_NE(Table.Err.find("1 instances appeared after the first sample"), std::string::npos)
      << Table.Err;
  EXPECT_EQ(PythonRows(Csv)[0].size(), 22u);
  const std::string Json = FileName(".json");
  ASSERT_EQ(RunGaugery("relog " + In + " -o " + Json + " --format json \"" + ProcessorTime + "\"")
                .ExitCode,
            0);
  std::ifstream Lines(Json);
  std::vector<json> Documents;
  for (std::string Line; std::getline(Lines, Line);) Documents.push_back(json::parse(Line));
  ASSERT_EQ(Documents.size(), 2u);
  EXPECT_EQ(Documents[1]["values"].size(), 22u);
}

TEST_F(RelogCommandTest, MergesInTimeOrderThinsAndCuts) {
  const std::string Late = Log(6, 10);
  const std::string Early = Log(1, 5);
  const std::string Merged = FileName(".glog");
  ASSERT_EQ(RunGaugery("relog " + Late + " " + Early + " -o " + Merged + " --format log").ExitCode,
            0);
  const std::string Out = FileName(".csv");
  ASSERT_EQ(RunGaugery("relog " + Merged + " -o " + Out + " \"\\System\\System Up Time\"").ExitCode,
            0);
  std::vector<std::string> Values;
  for (const auto& Row : PythonRows(Out)) Values.push_back(Row[1]);
  EXPECT_EQ(Values, (std::vector<std::string>{"\\\\RECORDER\\System\\System Up Time", "1", "2", "3",
                                              "4", "5", "6", "7", "8", "9", "10"}));

  const std::string Thin = FileName(".csv");
  ASSERT_EQ(
      RunGaugery("relog " + Merged + " -o " + Thin + " --every 3 \"\\System\\System Up Time\"")
          .ExitCode,
      0);
  Values.clear();
  for (const auto& Row : PythonRows(Thin)) Values.push_back(Row[1]);
  EXPECT_EQ(Values, (std::vector<std::string>{Values[0], "1", "4", "7", "10"}));

  // Sample N is at 12:00:0N UTC, 13:00:0N local time.
  const std::string Window = FileName(".csv");
  const ProgramRun Cut = RunGaugery("relog " + Merged + " -o " + Window +
                                    " --begin 13:00:03 --end 2024-05-12T12:00:05Z "
                                    "\"\\System\\System Up Time\"");
  ASSERT_EQ(Cut.ExitCode, 0) << Cut.Err;
  Values.clear();
  for (const auto& Row : PythonRows(Window)) Values.push_back(Row[1]);
  EXPECT_EQ(Values, (std::vector<std::string>{Values[0], "3", "4", "5"}));
}

// The table of merged, cut and thinned inputs is read from them directly; it equals the
// table of the log relog writes with the same choice, in every format.
TEST_F(RelogCommandTest, ATableOfInputsEqualsTheTableOfTheirRelog) {
  const std::string Late = Log(7, 14, 11);
  const std::string Early = Log(1, 6);
  const std::string Choice = " --every 2 --begin 13:00:02 --end 2024-05-12T12:00:13Z";
  const std::string Merged = FileName(".glog");
  ASSERT_EQ(RunGaugery("relog " + Late + " " + Early + " -o " + Merged + Choice).ExitCode, 0);
  for (const char* Format : {"csv", "tsv", "json"}) {
    const std::string Options = std::string(" --format ") + Format + " \"" + ProcessorTime + "\"";
    const std::string Direct = FileName(Format);
    const ProgramRun Run =
        RunGaugery("relog " + Late + " " + Early + " -o " + Direct + Choice + Options);
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    const std::string ViaLog = FileName(Format);
    ASSERT_EQ(RunGaugery("relog " + Merged + " -o " + ViaLog + Options).ExitCode, 0);
    EXPECT_EQ(Text(Direct), Text(ViaLog)) << Format;
  }
  std::vector<std::string> Values;
  const std::string Out = FileName(".csv");
  ASSERT_EQ(RunGaugery("relog " + Merged + " -o " + Out + " \"\\System\\System Up Time\"").ExitCode,
            0);
  for (const auto& Row : PythonRows(Out)) Values.push_back(Row[1]);
  // Samples 2 to 13 without the gap 11: every other one from 2.
  EXPECT_EQ(Values, (std::vector<std::string>{Values[0], "2", "4", "6", "8", "10", "13"}));

  const ProgramRun Empty =
      RunGaugery("relog " + Early + " -o " + Out + " --begin 14:00 \"" + ProcessorTime + "\"");
  EXPECT_EQ(Empty.ExitCode, 1);
  EXPECT_NE(Empty.Err.find("No sample of the inputs in the times asked for"), std::string::npos)
      << Empty.Err;
  EXPECT_FALSE(std::filesystem::exists(Out)) << "no half-written table is left";
}

TEST_F(RelogCommandTest, AGapStaysInALogAndHasNoRowInTheTable) {
  const std::string In = Log(1, 5, 3);
  const std::string Copy = FileName(".glog");
  ASSERT_EQ(RunGaugery("relog " + In + " -o " + Copy + " --format log").ExitCode, 0);
  EXPECT_NE(RunGaugery("relog --summary " + Copy).Out.find("gaps       1\n"), std::string::npos);
  const std::string Out = FileName(".csv");
  ASSERT_EQ(RunGaugery("relog " + Copy + " -o " + Out + " \"\\System\\System Up Time\"").ExitCode,
            0);
  std::vector<std::string> Values;
  for (const auto& Row : PythonRows(Out)) Values.push_back(Row[1]);
  EXPECT_EQ(Values, (std::vector<std::string>{Values[0], "1", "2", "4", "5"}));
}

TEST_F(RelogCommandTest, SummaryDescribesEachInput) {
  const std::string In = Log(1, 4);
  const ProgramRun Run = RunGaugery("relog --summary " + In);
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_NE(Run.Out.find("samples    4\n"), std::string::npos) << Run.Out;
  EXPECT_NE(Run.Out.find("gaps       0\n"), std::string::npos);
  EXPECT_NE(Run.Out.find("objects    2\n"), std::string::npos);
  EXPECT_NE(Run.Out.find("instances  21\n"), std::string::npos);
  EXPECT_NE(Run.Out.find("machine    RECORDER"), std::string::npos);
}

TEST_F(RelogCommandTest, SummarySizeCountsEveryVolume) {
  const std::string In = FileName(".glog");
  {
    TCounterLogWriter Writer(In, LogMachine(), RelogNames(), {.MaxVolumeBytes = 1000});
    for (int Number = 1; Number <= 40; ++Number) {
      test::TBlock Block = LogSample(Number);
      Writer.WriteSample(Block.Data(), static_cast<DWORD>(Block.Size()));
    }
  }
  for (int Volume = 1; std::filesystem::exists(In + "." + std::to_string(Volume)); ++Volume)
    Files_.push_back(In + "." + std::to_string(Volume));
  std::uint64_t Bytes = 0;
  for (const std::string& File : Files_) Bytes += std::filesystem::file_size(File);
  ASSERT_GT(Files_.size(), 2u) << "several volumes";
  const ProgramRun Run = RunGaugery("relog --summary " + In);
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_NE(Run.Out.find("samples    40\n"), std::string::npos) << Run.Out;
  EXPECT_NE(Run.Out.find("size       " + std::to_string(Bytes) + " bytes\n"), std::string::npos)
      << Run.Out;
}

TEST_F(RelogCommandTest, BadInputFailsWithAClearMessage) {
  const std::string In = Log(1, 2);
  const std::string Out = FileName(".csv");
  const std::string NotALog = FileName(".txt");
  std::ofstream(NotALog) << "just text, not a counter log\n";
  ProgramRun Run = RunGaugery("relog " + NotALog + " -o " + Out + " \"" + ProcessorTime + "\"");
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_NE(Run.Err.find(NotALog), std::string::npos) << Run.Err;

  Run = RunGaugery("relog --summary /nonexistent/none.glog");
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_NE(Run.Err.find("/nonexistent/none.glog"), std::string::npos) << Run.Err;

  const std::string Paths = FileName(".txt");
  std::ofstream(Paths) << "# counters\n\\System\\System Up Time\nProcess\n";
  Run = RunGaugery("relog " + In + " -o " + Out + " --counters " + Paths);
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_NE(Run.Err.find(Paths + ":3: not a counter path"), std::string::npos) << Run.Err;

  Run = RunGaugery("relog " + In + " -o " + Out + " --counters /nonexistent/paths.txt");
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_NE(Run.Err.find("Cannot read counter list"), std::string::npos) << Run.Err;

  EXPECT_EQ(RunGaugery("relog " + In + " \"" + ProcessorTime + "\"").ExitCode, 2);
  EXPECT_EQ(RunGaugery("relog " + In + " -o " + Out + " --begin 25:99 \"" + ProcessorTime + "\"")
                .ExitCode,
            2);
}

// watch on a log: one document per logged sample at once, to the log's end, with the
// times and values relog computes for the same samples.
class WatchOnALogTest : public RelogCommandTest {
 protected:
  std::vector<json> Documents(const std::string& Text) {
    std::vector<json> Parsed;
    std::istringstream Lines(Text);
    for (std::string Line; std::getline(Lines, Line);) Parsed.push_back(json::parse(Line));
    return Parsed;
  }

  std::vector<json> RelogJson(const std::string& In, const std::string& Options) {
    const std::string Out = FileName(".json");
    const ProgramRun Run = RunGaugery("relog " + In + " -o " + Out + " --format json " + Options +
                                      " \"" + ProcessorTime + "\"");
    EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
    return Documents(Text(Out));
  }

  std::vector<json> WatchJson(const std::string& In, const std::string& Options) {
    // An interval of a minute: a watch that waited between samples would not end.
    const ProgramRun Run = RunGaugery("--replay " + In + " watch --json --interval 60 " + Options +
                                      " \"" + ProcessorTime + "\"");
    EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_EQ(Run.Err, "");
    return Documents(Run.Out);
  }

  // Watch's documents are relog's from the second on: the first is the baseline.
  void ExpectSameSamples(const std::vector<json>& Watch, const std::vector<json>& Relog) {
    ASSERT_EQ(Watch.size() + 1, Relog.size());
    for (std::size_t At = 0; At < Watch.size(); ++At) {
      EXPECT_EQ(Watch[At]["time"], Relog[At + 1]["time"]) << At;
      EXPECT_EQ(Watch[At]["values"], Relog[At + 1]["values"]) << At;
    }
  }
};

TEST_F(WatchOnALogTest, PrintsEverySampleAtOnceToTheEndWithRelogsTimesAndValues) {
  const std::string In = Log(1, 8);
  const std::vector<json> Watch = WatchJson(In, "");
  ExpectSameSamples(Watch, RelogJson(In, ""));
  ASSERT_EQ(Watch.size(), 7u);
  EXPECT_NE(Watch[0]["time"], Watch[1]["time"]);
  // --count stops before the end.
  EXPECT_EQ(WatchJson(In, "--count 3").size(), 3u);
}

TEST_F(WatchOnALogTest, EveryTakesEveryNthSampleAsRelogDoes) {
  const std::string In = Log(1, 10);
  const std::vector<json> Watch = WatchJson(In, "--every 3");
  ASSERT_EQ(Watch.size(), 3u);  // samples 4, 7 and 10 against 1, 4 and 7
  ExpectSameSamples(Watch, RelogJson(In, "--every 3"));
  // Of 9 samples every 4th are 1, 5 and 9: two steps; of 3, every 5th is the baseline alone.
  EXPECT_EQ(WatchJson(Log(1, 9), "--every 4").size(), 2u);
  EXPECT_EQ(WatchJson(Log(1, 3), "--every 5").size(), 0u);
}

TEST_F(WatchOnALogTest, TextAndCsvAreLabelledWithTheSamplesTimes) {
  const std::string In = Log(1, 3);
  const std::vector<json> Relog = RelogJson(In, "");
  const std::string Second = Relog[1]["time"].get<std::string>();
  const std::string Third = Relog[2]["time"].get<std::string>();
  const std::string UpTime = "\\System\\System Up Time";
  const ProgramRun Csv = RunGaugery("--replay " + In + " watch --csv \"" + UpTime + "\"");
  ASSERT_EQ(Csv.ExitCode, 0) << Csv.Err;
  EXPECT_EQ(Csv.Out,
            "time,path,value\n" + Second + "," + UpTime + ",2\n" + Third + "," + UpTime + ",3\n");
  // Text: a line with the time begins each sample's lines.
  const ProgramRun Text = RunGaugery("--replay " + In + " watch \"" + UpTime + "\"");
  ASSERT_EQ(Text.ExitCode, 0) << Text.Err;
  EXPECT_EQ(Text.Out, Second + "\n" + UpTime + "\t2\n\n" + Third + "\n" + UpTime + "\t3\n");
}

TEST_F(WatchOnALogTest, ATornTailIsReportedOnceOnStandardError) {
  const std::string In = Log(1, 6);
  std::string Bytes = Text(In);
  Bytes.resize(Bytes.size() - 100);
  std::ofstream(In, std::ios::binary | std::ios::trunc) << Bytes;
  const std::string Warning =
      "gaugery: \"" + In + "\": the log ends in a partial record after sample ";
  const ProgramRun Run = RunGaugery("--replay " + In + " watch --json \"" + ProcessorTime + "\"");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_FALSE(Run.Out.empty());
  const std::size_t First = Run.Err.find(Warning);
  ASSERT_EQ(First, 0u) << Run.Err;
  EXPECT_EQ(Run.Err.find(Warning, First + 1), std::string::npos) << Run.Err;
}

TEST_F(WatchOnALogTest, EveryNeedsALog) {
  const ProgramRun Run = RunGaugery("watch --every 2 --count 1 \"" + ProcessorTime + "\"");
  EXPECT_EQ(Run.ExitCode, 2);
  EXPECT_NE(Run.Err.find("--every takes samples of a counter log"), std::string::npos) << Run.Err;
}

}  // namespace
