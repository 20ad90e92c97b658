// The Prometheus export of a block: the mapping by counter type word, the names, the
// help texts, the labels and both formats, on blocks described value by value, one
// shaped like this machine's and one like a Windows computer's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <regex>
#include <set>
#include <sstream>

#include "MetricExposition.h"
#include "Promtool.h"
#include "MetricHelp.h"
#include "MetricNames.h"

namespace gaugery::exposition {
namespace {

constexpr std::int64_t UnixEpochFileTime = 116444736000000000;
constexpr std::int64_t Second = 10'000'000;

std::int64_t FileTimeOfUnix(std::int64_t Seconds) { return UnixEpochFileTime + Seconds * Second; }

std::vector<std::string> LinesOf(const std::string& Text) {
  std::istringstream Lines(Text);
  std::vector<std::string> All;
  for (std::string Line; std::getline(Lines, Line);) All.push_back(Line);
  return All;
}

// The exposition without its HELP lines.
std::string WithoutHelp(const std::string& Text) {
  std::string Kept;
  for (const std::string& Line : LinesOf(Text)) {
    if (Line.rfind("# HELP ", 0) != 0) Kept += Line + "\n";
  }
  return Kept;
}

// The help text of a family, empty when there is none.
std::string HelpOf(const std::string& Text, const std::string& Name) {
  const std::string Start = "# HELP " + Name + " ";
  for (const std::string& Line : LinesOf(Text)) {
    if (Line.rfind(Start, 0) == 0) return Line.substr(Start.size());
  }
  return {};
}

// Processes with a timer, a label counter, a byte gauge, an elapsed time, a count, a
// rate and an instance "_Total"; processors with an inverse timer, a 4-byte counter,
// an instance name twice and "_Total"; memory with fractions, counters that are not
// exported and a fraction without its base; a disk with the average timers that ask
// for differences themselves (before a read count that the base's gives again), its
// busy time twice and the free space in MiB; an
// object whose only instance is "_Total"; an object and a counter without titles.
BlockDump LinuxShapedBlock() {
  const std::int64_t Now = FileTimeOfUnix(1000);
  ObjectDump Process{230,
                     "Process",
                     231,
                     4,
                     Now,
                     Second,
                     {{6, "% Processor Time", 7, PERF_100NSEC_TIMER, 8, 8},
                      {784, "ID Process", 785, PERF_COUNTER_RAWCOUNT, 4, 16},
                      {180, "Working Set", 181, PERF_COUNTER_LARGE_RAWCOUNT, 8, 24},
                      {684, "Elapsed Time", 685, PERF_ELAPSED_TIME, 8, 32},
                      {680, "Thread Count", 681, PERF_COUNTER_RAWCOUNT, 4, 40},
                      {1412, "IO Read Operations/sec", 1413, PERF_COUNTER_BULK_COUNT, 8, 48}},
                     {{"a", -1, {25000000, 7, 4096, FileTimeOfUnix(400), 3, 10}},
                      {"a", -1, {0, 8, 8192, FileTimeOfUnix(500), 1, 0}},
                      {"b\"x", -1, {5000000, 9, 0, FileTimeOfUnix(1000), 2, 0}},
                      {"_Total", -1, {30000000, 0, 12288, FileTimeOfUnix(400), 6, 10}}},
                     {}};
  ObjectDump Processor{238,
                       "Processor",
                       239,
                       3,
                       Now,
                       Second,
                       {{6, "% Processor Time", 7, PERF_100NSEC_TIMER_INV, 8, 8},
                        {148, "Interrupts/sec", 149, PERF_COUNTER_COUNTER, 4, 16}},
                       {{"0", -1, {990 * Second, 4294967295}},
                        {"0", -1, {999 * Second, 1}},
                        {"_Total", -1, {1989 * Second, 4294967296}}},
                       {}};
  ObjectDump Memory{4,
                    "Memory",
                    5,
                    PERF_NO_INSTANCES,
                    Now,
                    Second,
                    {{1406, "% Committed Bytes In Use", 1407, PERF_RAW_FRACTION, 4, 4},
                     {1407, "Base", 1408, PERF_RAW_BASE, 4, 8},
                     {24, "Available Bytes", 25, PERF_COUNTER_LARGE_RAWCOUNT, 8, 16},
                     {900, "% Disk Time", 901, PERF_SAMPLE_FRACTION, 4, 24},
                     {902, "Disk Base", 903, PERF_SAMPLE_BASE, 4, 28},
                     {904, "Name", 905, PERF_COUNTER_TEXT, 4, 32},
                     {906, "Small", 907, PERF_COUNTER_RAWCOUNT, 2, 36},
                     {912, "Lonely", 913, PERF_RAW_FRACTION, 4, 48}},
                    {},
                    {1, 4, 123, 30, 60, 0, std::nullopt, 9}};
  constexpr DWORD DeltaAverage =
      PERF_SIZE_LARGE | PERF_AVERAGE_TIMER | PERF_DELTA_COUNTER | PERF_DELTA_BASE;
  ObjectDump Disk{
      234,
      "PhysicalDisk",
      235,
      1,
      Now,
      Second,
      {{208, "Avg. Disk sec/Read", 209, DeltaAverage, 8, 8},
       {1500, "Avg. Disk sec/Read Base", 1501, PERF_SIZE_LARGE | PERF_AVERAGE_BASE, 8, 16},
       {214, "Disk Reads/sec", 215, PERF_COUNTER_BULK_COUNT, 8, 24},
       {1502, "% Disk Time", 1503, PERF_100NSEC_TIMER, 8, 32},
       {1504, "% Idle Time", 1505, PERF_100NSEC_TIMER_INV, 8, 40},
       {1506, "Free Megabytes", 1507, PERF_COUNTER_LARGE_RAWCOUNT, 8, 48},
       {1508, "Disk Bytes/sec", 1509, PERF_COUNTER_BULK_COUNT, 8, 56}},
      {{"0 vda", -1, {2 * Second, 40 * Second, 41, 30 * Second, 30 * Second, 3, 4096}}},
      {}};
  ObjectDump OnlyTotal{2000,
                       "Cache Totals",
                       2001,
                       1,
                       Now,
                       Second,
                       {{2002, "Copy Reads/sec", 2003, PERF_COUNTER_COUNTER, 4, 8}},
                       {{"_Total", -1, {77}}},
                       {}};
  ObjectDump Untitled{
      5000, "",  5001, PERF_NO_INSTANCES, 0, 0, {{5002, "", 5003, PERF_COUNTER_RAWCOUNT, 4, 4}},
      {},   {42}};
  return {"HOST", {}, Now, Second, Now, {Process, Processor, Memory, Disk, OnlyTotal, Untitled}};
}

// Counter types as Windows has them: an average timer over a real operation count, a
// queue length summed over time, thousandths, megabytes, bits per second, cumulative
// error counts and a hidden counter, with "_Total" beside the instances.
BlockDump WindowsShapedBlock() {
  const std::int64_t Now = FileTimeOfUnix(2000);
  constexpr std::int64_t Ticks = 3'000'000;  // the performance counter's frequency
  ObjectDump Disk{234,
                  "PhysicalDisk",
                  235,
                  2,
                  7 * Ticks,
                  Ticks,
                  {{208, "Avg. Disk sec/Transfer", 209, PERF_AVERAGE_TIMER, 4, 8},
                   {209, "Avg. Disk sec/Transfer Base", 210, PERF_AVERAGE_BASE, 4, 12},
                   {198, "Avg. Disk Queue Length", 199, PERF_COUNTER_100NS_QUEUELEN_TYPE, 8, 16},
                   {1400, "Avg. Disk Bytes/Transfer", 1401, PERF_AVERAGE_BULK, 8, 24},
                   {1401, "Avg. Disk Bytes/Transfer Base", 1402, PERF_AVERAGE_BASE, 4, 32}},
                  {{"0 C:", -1, {3 * Ticks, 12, 25 * Second, 4096, 12}},
                   {"_Total", -1, {3 * Ticks, 12, 25 * Second, 4096, 12}}},
                  {}};
  ObjectDump Memory{4,
                    "Memory",
                    5,
                    PERF_NO_INSTANCES,
                    7 * Ticks,
                    Ticks,
                    {{1380, "Available MBytes", 1381, PERF_COUNTER_RAWCOUNT, 4, 4},
                     {1382, "Pool Nonpaged Allocs", 1383, PERF_COUNTER_RAWCOUNT, 4, 8},
                     {1384, "Load Average", 1385, PERF_NUMBER_DEC_1000, 4, 12}},
                    {},
                    {2048, 17, 1500}};
  ObjectDump Network{510,
                     "Network Interface",
                     511,
                     1,
                     7 * Ticks,
                     Ticks,
                     {{520, "Current Bandwidth", 521, PERF_COUNTER_LARGE_RAWCOUNT, 8, 8},
                      {530, "Packets Received Errors", 531, PERF_COUNTER_RAWCOUNT, 4, 16},
                      {388, "Bytes Total/sec", 389, PERF_COUNTER_BULK_COUNT, 8, 24}},
                     {{"Ethernet", -1, {1'000'000'000, 5, 900}}},
                     {}};
  return {"WIN11", {}, 7 * Ticks, Ticks, Now, {Disk, Memory, Network}};
}

THelpTexts WindowsHelps() {
  return {{521, "An estimate of the interface's bandwidth in bits per second (BPS)."},
          {209, "The average time, in seconds, of a transfer."}};
}

std::string Render(const BlockDump& Block, TExpositionFormat Format, const THelpTexts& Helps = {}) {
  TExpositionWriter Writer(Format);
  WriteBlockMetrics(Writer, Block, Helps);
  return Writer.Finish();
}

TEST(MetricExposition, MapsEachCounterTypeToItsKindBaseUnitAndValue) {
  EXPECT_EQ(WithoutHelp(Render(LinuxShapedBlock(), TExpositionFormat::Prometheus)),
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
# TYPE gaugery_processor_idle_seconds_total counter
gaugery_processor_idle_seconds_total{instance_name="0"} 990
gaugery_processor_idle_seconds_total{instance_name="0#1"} 999
# TYPE gaugery_processor_interrupts_total counter
gaugery_processor_interrupts_total{instance_name="0"} 4294967295
gaugery_processor_interrupts_total{instance_name="0#1"} 1
# TYPE gaugery_memory_committed_bytes_in_use_ratio gauge
gaugery_memory_committed_bytes_in_use_ratio 0.25
# TYPE gaugery_memory_available_bytes gauge
gaugery_memory_available_bytes 123
# TYPE gaugery_memory_busy_total counter
gaugery_memory_busy_total 30
# TYPE gaugery_memory_busy_base_total counter
gaugery_memory_busy_base_total 60
# TYPE gaugery_physical_disk_read_seconds_total counter
gaugery_physical_disk_read_seconds_total{instance_name="0 vda"} 2
# TYPE gaugery_physical_disk_reads_total counter
gaugery_physical_disk_reads_total{instance_name="0 vda"} 40
# TYPE gaugery_physical_disk_busy_seconds_total counter
gaugery_physical_disk_busy_seconds_total{instance_name="0 vda"} 30
# TYPE gaugery_physical_disk_free_bytes gauge
gaugery_physical_disk_free_bytes{instance_name="0 vda"} 3145728
# TYPE gaugery_physical_disk_bytes_total counter
gaugery_physical_disk_bytes_total{instance_name="0 vda"} 4096
# TYPE gaugery_cache_totals_copy_reads_total counter
gaugery_cache_totals_copy_reads_total 77
# TYPE gaugery_object_5000_untitled_5002 gauge
gaugery_object_5000_untitled_5002 42
)");
}

TEST(MetricExposition, MapsWindowsCounterTypesToRealCountsAndBaseUnits) {
  EXPECT_EQ(
      WithoutHelp(Render(WindowsShapedBlock(), TExpositionFormat::Prometheus, WindowsHelps())),
      R"(# TYPE gaugery_physical_disk_transfer_seconds_total counter
gaugery_physical_disk_transfer_seconds_total{instance_name="0 C:"} 3
# TYPE gaugery_physical_disk_transfers_total counter
gaugery_physical_disk_transfers_total{instance_name="0 C:"} 12
# TYPE gaugery_physical_disk_queue_length_seconds_total counter
gaugery_physical_disk_queue_length_seconds_total{instance_name="0 C:"} 25
# TYPE gaugery_memory_available_bytes gauge
gaugery_memory_available_bytes 2147483648
# TYPE gaugery_memory_pool_nonpaged_allocations gauge
gaugery_memory_pool_nonpaged_allocations 17
# TYPE gaugery_memory_load_average gauge
gaugery_memory_load_average 1.5
# TYPE gaugery_network_interface_current_bandwidth_bytes gauge
gaugery_network_interface_current_bandwidth_bytes{instance_name="Ethernet"} 125000000
# TYPE gaugery_network_interface_packets_received_errors_total counter
gaugery_network_interface_packets_received_errors_total{instance_name="Ethernet"} 5
# TYPE gaugery_network_interface_bytes_total counter
gaugery_network_interface_bytes_total{instance_name="Ethernet"} 900
)");
}

TEST(MetricExposition, HelpSaysWhatTheSeriesHoldInItsUnitThenTheNameTablesText) {
  const THelpTexts Helps{{7, "CPU \\ \"time\"\nline two"}, {181, "The working set, in bytes."}};
  const std::string Text = Render(LinuxShapedBlock(), TExpositionFormat::Prometheus, Helps);
  EXPECT_EQ(HelpOf(Text, "gaugery_process_cpu_seconds_total"),
            "Processor time of the process, in seconds, summed since it started (counter \"% "
            "Processor Time\" shows it as a percentage of the elapsed time). CPU \\\\ "
            "\"time\"\\nline two");
  EXPECT_EQ(HelpOf(Text, "gaugery_process_working_set_bytes"),
            "Working set of the process at the sample, in bytes (counter \"Working Set\"). The "
            "working set, in bytes.")
      << "the help text says the unit";
  EXPECT_EQ(HelpOf(Text, "gaugery_process_start_time_seconds"),
            "Start time of the process, in seconds since the Unix epoch (counter \"Elapsed Time\" "
            "shows the time since then).");
  EXPECT_TRUE(HelpOf(Text, "gaugery_processor_idle_seconds_total")
                  .starts_with("Idle time of the processor, in seconds, summed since it started"));
  EXPECT_TRUE(
      HelpOf(Text, "gaugery_physical_disk_read_seconds_total")
          .starts_with("Time the reads of the physical disk took, in seconds, summed since "
                       "it started: its rate over that of gaugery_physical_disk_reads_total "
                       "is the seconds per operation"));

  const std::string Open = Render(LinuxShapedBlock(), TExpositionFormat::OpenMetrics, Helps);
  EXPECT_NE(Open.find("# TYPE gaugery_process_cpu_seconds counter\n"
                      "# UNIT gaugery_process_cpu_seconds seconds\n"
                      "# HELP gaugery_process_cpu_seconds Processor time of the process"),
            std::string::npos);
  EXPECT_NE(
      Open.find("elapsed time). CPU \\\\ \\\"time\\\"\\nline two\n"
                "gaugery_process_cpu_seconds_total{instance_name=\"a\",process_id=\"7\"} 2.5\n"),
      std::string::npos);
  EXPECT_NE(Open.find("# TYPE gaugery_memory_committed_bytes_in_use_ratio gauge\n"
                      "# UNIT gaugery_memory_committed_bytes_in_use_ratio ratio\n"),
            std::string::npos);
  EXPECT_TRUE(Open.ends_with("gaugery_object_5000_untitled_5002 42\n# EOF\n"));
}

TEST(MetricExposition, HelpNamesOnlySeriesThatAreExported) {
  for (const BlockDump& Block : {LinuxShapedBlock(), WindowsShapedBlock()}) {
    const std::string Text = Render(Block, TExpositionFormat::Prometheus);
    std::set<std::string> Series;
    for (const std::string& Line : LinesOf(Text)) {
      if (!Line.starts_with("#")) Series.insert(Line.substr(0, Line.find_first_of("{ ")));
    }
    const std::regex Name("gaugery_[a-z0-9_]+");
    for (const std::string& Line : LinesOf(Text)) {
      if (!Line.starts_with("# HELP ")) continue;
      const std::string Help = Line.substr(Line.find(' ', 7) + 1);
      for (std::sregex_iterator At(Help.begin(), Help.end(), Name), End; At != End; ++At)
        EXPECT_TRUE(Series.contains(At->str())) << Line;
    }
  }
}

TEST(MetricExposition, PromtoolReportsNoProblem) {
  if (std::system("promtool --version > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "promtool is not installed (Debian package prometheus)";
  EXPECT_EQ(PromtoolProblems(Render(LinuxShapedBlock(), TExpositionFormat::Prometheus)), "");
  EXPECT_EQ(
      PromtoolProblems(Render(WindowsShapedBlock(), TExpositionFormat::Prometheus, WindowsHelps())),
      "");
}

TEST(MetricExposition, FamilyNamesStayUniqueAndValuesKeepTheirSpecialForms) {
  for (const TExpositionFormat Format :
       {TExpositionFormat::Prometheus, TExpositionFormat::OpenMetrics}) {
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

TEST(MetricExposition, WritingIntoAnEarlierTextDropsItsContent) {
  for (const TExpositionFormat Format :
       {TExpositionFormat::Prometheus, TExpositionFormat::OpenMetrics}) {
    const std::string Fresh = Render(LinuxShapedBlock(), Format);
    std::string Earlier = Render(WindowsShapedBlock(), Format) + Fresh;
    TExpositionWriter Writer(Format, std::move(Earlier));
    WriteBlockMetrics(Writer, LinuxShapedBlock(), {});
    EXPECT_EQ(Writer.Finish(), Fresh);
  }
}

TEST(MetricNames, FollowPrometheusConventions) {
  EXPECT_EQ(TitleWords("% Processor Time"), (TWords{"cpu"}));
  EXPECT_EQ(TitleWords("IO Read Bytes/SEC"), (TWords{"io", "read", "bytes"}));
  EXPECT_EQ(TitleWords("Avg. Disk sec/Transfer"),
            (TWords{"average", "disk", "seconds", "transfer"}));
  EXPECT_EQ(TitleWords("Working Set - Private"), (TWords{"working", "set", "private"}));
  EXPECT_EQ(TitleWords("PhysicalDisk"), (TWords{"physical", "disk"}));
  EXPECT_EQ(TitleWords("TCPv4 DPCs"), (TWords{"tcpv4", "dpcs"}));
  EXPECT_EQ(TitleWords("Prozessorzeit (%)"), (TWords{"prozessorzeit"}));
  EXPECT_EQ(WithoutObjectWords({"disk", "reads"}, {"physical", "disk"}), (TWords{"reads"}));
  EXPECT_EQ(WithoutObjectWords({"system"}, {"system"}), (TWords{"system"}));
  EXPECT_EQ(WithoutTrailingCount({"handle", "count"}), (TWords{"handles"}));
  EXPECT_EQ(WithoutTrailingCount({"process", "count"}), (TWords{"processes"}));
  EXPECT_EQ(WithoutTrailingCount({"entry", "count"}), (TWords{"entries"}));
  EXPECT_EQ(WithoutTrailingCount({"count"}), (TWords{"count"}));
  EXPECT_EQ(WithoutTotal({"bytes", "total"}), (TWords{"bytes"}));
  EXPECT_EQ(StartTimeWords({"system", "up", "time"}), (TWords{"system", "start", "time"}));
  EXPECT_EQ(ComplementWords({"cpu"}), (TWords{"idle"}));
  EXPECT_EQ(ComplementWords({"idle"}), (TWords{"busy"}));
  EXPECT_EQ(ComplementWords({"dpc"}), (TWords{"not", "dpc"}));
  EXPECT_EQ(AveragedWords({"average", "disk", "seconds", "read"}, {"logical", "disk"}),
            (TWords{"read"}));
  EXPECT_EQ(AveragedWords({"average", "wait", "time"}, {"memory"}), (TWords{"wait"}));
  EXPECT_EQ(AveragedWords({"average", "seconds"}, {"x"}), (TWords{"operation"}));
  EXPECT_EQ(MetricName({"memory"}, {"available"}, TMetricUnit::Bytes),
            "gaugery_memory_available_bytes");
  EXPECT_EQ(InstanceLabelOf("ID Thread"), "thread_id");
  EXPECT_FALSE(InstanceLabelOf("Creating Process ID"));
}

TEST(MetricNames, FindQuantitiesOfBytesAndTheFactorToBytes) {
  const auto Quantity = [](const TWords& Words, std::string_view Help) {
    const std::optional<TByteQuantity> Found = ByteQuantityOf(Words, Help);
    return Found ? std::make_pair(Found->Words, Found->Factor)
                 : std::make_pair(TWords{"none"}, 0.0);
  };
  EXPECT_EQ(Quantity({"virtual", "bytes", "peak"}, ""),
            std::make_pair(TWords{"virtual", "peak"}, 1.0));
  EXPECT_EQ(Quantity({"available", "mbytes"}, ""), std::make_pair(TWords{"available"}, 1048576.0));
  EXPECT_EQ(Quantity({"free", "megabytes"}, ""), std::make_pair(TWords{"free"}, 1048576.0));
  EXPECT_EQ(Quantity({"available", "kbytes"}, ""), std::make_pair(TWords{"available"}, 1024.0));
  EXPECT_EQ(Quantity({"working", "set"}, "The memory, In Bytes, ..."),
            std::make_pair(TWords{"working", "set"}, 1.0));
  EXPECT_EQ(Quantity({"current", "bandwidth"}, "its speed in bits per second"),
            std::make_pair(TWords{"current", "bandwidth"}, 0.125));
  EXPECT_EQ(Quantity({"page", "faults"}, "Faults."), std::make_pair(TWords{"none"}, 0.0));
}

TEST(MetricHelp, TitlesReadAsWordsOfASentence) {
  EXPECT_EQ(TitlePhrase("% Processor Time"), "processor time");
  EXPECT_EQ(TitlePhrase("IO Read Bytes/sec"), "IO read bytes");
  EXPECT_EQ(TitlePhrase("Thread Count"), "thread count");
  EXPECT_EQ(TitlePhrase(""), "");
}

}  // namespace
}  // namespace gaugery::exposition
