// The Prometheus export of a block: the mapping by counter type word, the names, the
// labels and both formats, on blocks described value by value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "MetricExposition.h"
#include "MetricNames.h"

namespace gaugery::cli {
namespace {

constexpr std::int64_t UnixEpochFileTime = 116444736000000000;
constexpr std::int64_t Second = 10'000'000;

std::int64_t FileTimeOfUnix(std::int64_t Seconds) { return UnixEpochFileTime + Seconds * Second; }

// The exposition without its HELP lines.
std::string WithoutHelp(const std::string& Text) {
  std::istringstream Lines(Text);
  std::string Kept;
  for (std::string Line; std::getline(Lines, Line);) {
    if (Line.rfind("# HELP ", 0) != 0) Kept += Line + "\n";
  }
  return Kept;
}

// Processes with a timer, a label counter, a byte gauge, an elapsed time, a count and
// a rate; processors with an inverse timer and a 4-byte counter under the same name
// twice; memory with fractions, counters that are not exported and a fraction without
// its base; an object and a counter without titles.
BlockDump SampleBlock() {
  const std::int64_t Now = FileTimeOfUnix(1000);
  ObjectDump Process{230, "Process", 231, 3, Now, Second,
                     {{6, "% Processor Time", 7, PERF_100NSEC_TIMER, 8, 8},
                      {784, "ID Process", 785, PERF_COUNTER_RAWCOUNT, 4, 16},
                      {180, "Working Set", 181, PERF_COUNTER_LARGE_RAWCOUNT, 8, 24},
                      {684, "Elapsed Time", 685, PERF_ELAPSED_TIME, 8, 32},
                      {680, "Thread Count", 681, PERF_COUNTER_RAWCOUNT, 4, 40},
                      {1412, "IO Read Operations/sec", 1413, PERF_COUNTER_BULK_COUNT, 8, 48}},
                     {{"a", -1, {25000000, 7, 4096, FileTimeOfUnix(400), 3, 10}},
                      {"a", -1, {0, 8, 8192, FileTimeOfUnix(500), 1, 0}},
                      {"b\"x", -1, {5000000, 9, 0, FileTimeOfUnix(1000), 2, 0}}},
                     {}};
  ObjectDump Processor{238, "Processor", 239, 2, Now, Second,
                       {{6, "% Processor Time", 7, PERF_100NSEC_TIMER_INV, 8, 8},
                        {148, "Interrupts/sec", 149, PERF_COUNTER_COUNTER, 4, 16}},
                       {{"0", -1, {990 * Second, 4294967295}}, {"0", -1, {999 * Second, 1}}},
                       {}};
  ObjectDump Memory{4, "Memory", 5, PERF_NO_INSTANCES, Now, Second,
                    {{1406, "% Committed Bytes In Use", 1407, PERF_RAW_FRACTION, 4, 4},
                     {1407, "Base", 1408, PERF_RAW_BASE, 4, 8},
                     {24, "Available Bytes", 25, PERF_COUNTER_LARGE_RAWCOUNT, 8, 16},
                     {900, "% Disk Time", 901, PERF_SAMPLE_FRACTION, 4, 24},
                     {902, "Disk Base", 903, PERF_SAMPLE_BASE, 4, 28},
                     {904, "Name", 905, PERF_COUNTER_TEXT, 4, 32},
                     {906, "Small", 907, PERF_COUNTER_RAWCOUNT, 2, 36},
                     {908, "Average Wait", 909, PERF_AVERAGE_TIMER, 4, 40},
                     {910, "Wait Base", 911, PERF_AVERAGE_BASE, 4, 44},
                     {912, "Lonely", 913, PERF_RAW_FRACTION, 4, 48}},
                    {},
                    {1, 4, 123, 30, 60, 0, std::nullopt, 3000, 2, 9}};
  ObjectDump Untitled{5000, "", 5001, PERF_NO_INSTANCES, 0, 0,
                      {{5002, "", 5003, PERF_COUNTER_RAWCOUNT, 4, 4}}, {}, {42}};
  return {"HOST", {}, 5000, 1000, Now, {Process, Processor, Memory, Untitled}};
}

std::string Render(const BlockDump& Block, TExpositionFormat Format, const THelpTexts& Helps = {}) {
  TExpositionWriter Writer(Format);
  WriteBlockMetrics(Writer, Block, Helps);
  return Writer.Finish();
}

TEST(MetricExposition, MapsEachCounterTypeToItsKindUnitAndValue) {
  EXPECT_EQ(WithoutHelp(Render(SampleBlock(), TExpositionFormat::Prometheus)),
            R"(# TYPE gaugery_process_cpu_seconds_total counter
gaugery_process_cpu_seconds_total{instance_name="a",process_id="7"} 2.5
gaugery_process_cpu_seconds_total{instance_name="a",process_id="8"} 0
gaugery_process_cpu_seconds_total{instance_name="b\"x",process_id="9"} 0.5
# TYPE gaugery_process_working_set gauge
gaugery_process_working_set{instance_name="a",process_id="7"} 4096
gaugery_process_working_set{instance_name="a",process_id="8"} 8192
gaugery_process_working_set{instance_name="b\"x",process_id="9"} 0
# TYPE gaugery_process_start_time_seconds gauge
gaugery_process_start_time_seconds{instance_name="a",process_id="7"} 400
gaugery_process_start_time_seconds{instance_name="a",process_id="8"} 500
gaugery_process_start_time_seconds{instance_name="b\"x",process_id="9"} 1000
# TYPE gaugery_process_threads gauge
gaugery_process_threads{instance_name="a",process_id="7"} 3
gaugery_process_threads{instance_name="a",process_id="8"} 1
gaugery_process_threads{instance_name="b\"x",process_id="9"} 2
# TYPE gaugery_process_io_read_operations_total counter
gaugery_process_io_read_operations_total{instance_name="a",process_id="7"} 10
gaugery_process_io_read_operations_total{instance_name="a",process_id="8"} 0
gaugery_process_io_read_operations_total{instance_name="b\"x",process_id="9"} 0
# TYPE gaugery_processor_cpu_seconds_total counter
gaugery_processor_cpu_seconds_total{instance_name="0"} 11644473610
gaugery_processor_cpu_seconds_total{instance_name="0#1"} 11644473601
# TYPE gaugery_processor_interrupts_total counter
gaugery_processor_interrupts_total{instance_name="0"} 4294967295
gaugery_processor_interrupts_total{instance_name="0#1"} 1
# TYPE gaugery_memory_committed_bytes_in_use_ratio gauge
gaugery_memory_committed_bytes_in_use_ratio 0.25
# TYPE gaugery_memory_available_bytes gauge
gaugery_memory_available_bytes 123
# TYPE gaugery_memory_disk_time_total counter
gaugery_memory_disk_time_total 30
# TYPE gaugery_memory_disk_time_base_total counter
gaugery_memory_disk_time_base_total 60
# TYPE gaugery_memory_average_wait_seconds gauge
gaugery_memory_average_wait_seconds 1.5
# TYPE gaugery_object_5000_counter_5002 gauge
gaugery_object_5000_counter_5002 42
)");
}

TEST(MetricExposition, HelpTextsNameTheUnitAndAreEscapedPerFormat) {
  const THelpTexts Helps{{7, "CPU \\ \"time\"\nline two"}, {181, "The working set, in bytes."}};
  const std::string Text = Render(SampleBlock(), TExpositionFormat::Prometheus, Helps);
  EXPECT_NE(Text.find("# HELP gaugery_process_cpu_seconds_total CPU \\\\ \"time\"\\nline two\n"),
            std::string::npos);
  EXPECT_NE(Text.find("# TYPE gaugery_process_working_set_bytes gauge\n"), std::string::npos)
      << "the help text says the unit";
  EXPECT_NE(Text.find("# HELP gaugery_process_start_time_seconds Elapsed Time\n"), std::string::npos)
      << "the title stands in for a missing help text";

  const std::string Open = Render(SampleBlock(), TExpositionFormat::OpenMetrics, Helps);
  EXPECT_NE(Open.find("# TYPE gaugery_process_cpu_seconds counter\n"
                      "# UNIT gaugery_process_cpu_seconds seconds\n"
                      "# HELP gaugery_process_cpu_seconds CPU \\\\ \\\"time\\\"\\nline two\n"
                      "gaugery_process_cpu_seconds_total{instance_name=\"a\",process_id=\"7\"} 2.5\n"),
            std::string::npos);
  EXPECT_NE(Open.find("# TYPE gaugery_memory_committed_bytes_in_use_ratio gauge\n"
                      "# UNIT gaugery_memory_committed_bytes_in_use_ratio ratio\n"),
            std::string::npos);
  EXPECT_TRUE(Open.ends_with("gaugery_object_5000_counter_5002 42\n# EOF\n"));
}

TEST(MetricExposition, FamilyNamesStayUniqueAndValuesKeepTheirSpecialForms) {
  for (const TExpositionFormat Format : {TExpositionFormat::Prometheus, TExpositionFormat::OpenMetrics}) {
    TExpositionWriter Writer(Format);
    EXPECT_EQ(Writer.BeginFamily("x_seconds", TMetricKind::Gauge, TMetricUnit::Seconds, "h"),
              "x_seconds");
    Writer.Sample("", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Writer.BeginFamily("x_seconds", TMetricKind::Gauge, TMetricUnit::Seconds, "h"),
              "x_seconds_2");
    Writer.Sample("{a=\"b\"}", std::numeric_limits<double>::infinity());
    Writer.Sample("", -std::numeric_limits<double>::infinity());
    Writer.Sample("", std::int64_t{-5});
    const std::string Text = Writer.Finish();
    EXPECT_NE(Text.find("x_seconds NaN\n"), std::string::npos);
    EXPECT_NE(Text.find("x_seconds_2{a=\"b\"} +Inf\nx_seconds_2 -Inf\nx_seconds_2 -5\n"),
              std::string::npos);
    EXPECT_EQ(Text.find("# UNIT x_seconds_2"), std::string::npos)
        << "a renamed family no longer ends with its unit";
  }
  EXPECT_EQ(EscapedLabelValue("a\\b\"c\nd"), "a\\\\b\\\"c\\nd");
}

TEST(MetricNames, FollowPrometheusConventions) {
  EXPECT_EQ(TitleWords("% Processor Time"), (TWords{"cpu"}));
  EXPECT_EQ(TitleWords("IO Read Bytes/SEC"), (TWords{"io", "read", "bytes"}));
  EXPECT_EQ(TitleWords("Avg. Disk sec/Transfer"), (TWords{"avg", "disk", "sec", "transfer"}));
  EXPECT_EQ(TitleWords("Working Set - Private"), (TWords{"working", "set", "private"}));
  EXPECT_EQ(TitleWords("Prozessorzeit (%)"), (TWords{"prozessorzeit"}));
  EXPECT_EQ(WithoutTrailingCount({"handle", "count"}), (TWords{"handles"}));
  EXPECT_EQ(WithoutTrailingCount({"process", "count"}), (TWords{"processes"}));
  EXPECT_EQ(WithoutTrailingCount({"entry", "count"}), (TWords{"entries"}));
  EXPECT_EQ(WithoutTrailingCount({"count"}), (TWords{"count"}));
  EXPECT_EQ(StartTimeWords({"system", "up", "time"}), (TWords{"system", "start", "time"}));
  EXPECT_EQ(WithoutBytes({"virtual", "bytes", "peak"}), (TWords{"virtual", "peak"}));
  EXPECT_TRUE(CountsBytes({"working", "set"}, "The memory, In Bytes, ..."));
  EXPECT_FALSE(CountsBytes({"page", "faults"}, "Faults."));
  EXPECT_EQ(MetricName({"memory"}, {"available"}, TMetricUnit::Bytes), "gaugery_memory_available_bytes");
  EXPECT_EQ(InstanceLabelOf("ID Thread"), "thread_id");
  EXPECT_FALSE(InstanceLabelOf("Creating Process ID"));
}

}  // namespace
}  // namespace gaugery::cli
