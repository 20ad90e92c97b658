// End to end with a real Prometheus server (Debian package prometheus): it scrapes
// `gaugery serve` once a second, and what its HTTP API computes from the exported
// series (a busy child process, the processors' idle time, a disk's seconds per read,
// sums over processes) agrees with what `gaugery watch` computes for the same things.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "PerfMonitor.h"
#include "ProgramRun.h"
#include "ServeProcess.h"

namespace {

using nlohmann::json;

constexpr char BusyName[] = "gaugery-busy";

std::string ProgramOnPath(const std::string& Name) {
  std::istringstream Path(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin");
  for (std::string Directory; std::getline(Path, Directory, ':');) {
    const std::string Candidate = Directory + "/" + Name;
    if (access(Candidate.c_str(), X_OK) == 0) return Candidate;
  }
  return {};
}

// A child process that keeps a processor busy under a name of its own.
class TBusyChild {
 public:
  TBusyChild() : Pid_(fork()) {
    if (Pid_ != 0) return;
    prctl(PR_SET_NAME, BusyName);
    volatile unsigned long Spins = 0;
    for (;;) Spins = Spins + 1;
  }
  ~TBusyChild() {
    kill(Pid_, SIGKILL);
    waitpid(Pid_, nullptr, 0);
  }
  pid_t Pid() const { return Pid_; }

 private:
  pid_t Pid_;
};

// The values of an instant query at Time (Unix seconds; empty: now), by their labels.
std::map<std::string, double> QueryVector(httplib::Client& Prometheus, const std::string& Query,
                                          const std::string& Time = "") {
  httplib::Params Params{{"query", Query}};
  if (!Time.empty()) Params.emplace("time", Time);
  const auto Answer = Prometheus.Get("/api/v1/query", Params, httplib::Headers{});
  std::map<std::string, double> Values;
  if (!Answer || Answer->status != 200) return Values;
  const json Reply = json::parse(Answer->body);
  for (const json& Series : Reply["data"]["result"])
    Values[Series["metric"].dump()] = std::stod(Series["value"][1].get<std::string>());
  return Values;
}

// The one value of an instant query, or NaN while Prometheus has none.
double QueryValue(httplib::Client& Prometheus, const std::string& Query,
                  const std::string& Time = "") {
  const std::map<std::string, double> Values = QueryVector(Prometheus, Query, Time);
  return Values.size() == 1 ? Values.begin()->second : std::nan("");
}

// The values of the last line `gaugery watch --json` printed for counter paths, by path.
std::map<std::string, double> WatchValues(const std::string& Output) {
  const std::size_t End = Output.find_last_not_of('\n');
  std::map<std::string, double> Values;
  if (End == std::string::npos) return Values;
  const std::size_t Start = Output.rfind('\n', End);
  const json Last = json::parse(Output.substr(Start == std::string::npos ? 0 : Start + 1));
  for (const json& Value : Last["values"])
    if (Value["value"].is_number()) Values[Value["path"]] = Value["value"].get<double>();
  return Values;
}

// A disk other than "_Total", from the paths that watch printed.
std::string DiskOf(const std::map<std::string, double>& Values) {
  constexpr std::string_view Start = "\\PhysicalDisk(";
  for (const auto& [Path, Value] : Values) {
    if (Path.starts_with(Start) && Path.find("(_Total)") == std::string::npos)
      return Path.substr(Start.size(), Path.find(')') - Start.size());
  }
  return {};
}

// Reads from the disk while it lives: a file written, synced, dropped from the page
// cache and read again, so that the reads reach the device.
class TDiskReader {
 public:
  explicit TDiskReader(std::string File) : File_(std::move(File)), Thread_([this] { Run(); }) {}
  ~TDiskReader() {
    Stop_ = true;
    Thread_.join();
    std::remove(File_.c_str());
  }
  TDiskReader(const TDiskReader&) = delete;
  TDiskReader& operator=(const TDiskReader&) = delete;

 private:
  void Run() {
    const std::string Block(1 << 20, 'x');
    std::vector<char> Buffer(Block.size());
    while (!Stop_) {
      const int Fd = open(File_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
      if (Fd < 0) return;
      for (int Part = 0; Part < 4; ++Part)
        if (write(Fd, Block.data(), Block.size()) < 0) break;
      fsync(Fd);
      posix_fadvise(Fd, 0, 0, POSIX_FADV_DONTNEED);
      lseek(Fd, 0, SEEK_SET);
      while (read(Fd, Buffer.data(), Buffer.size()) > 0) {
      }
      close(Fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  std::string File_;
  std::atomic<bool> Stop_{false};
  std::thread Thread_;
};

TEST(PrometheusScrape, WhatItComputesFromTheSeriesAgreesWithWatchAndTheMonitor) {
  const std::string Prometheus = ProgramOnPath("prometheus");
  if (Prometheus.empty())
    GTEST_SKIP()
        << "prometheus is not installed (Debian package prometheus, which "
           "scripts/install-deps.sh installs): the scrape by a real Prometheus is not tested";
  const TBusyChild Busy;
  TServeProcess Server({"--interval", "0.5"});
  const std::filesystem::path Directory = std::filesystem::path(::testing::TempDir()) /
                                          ("gaugery-prometheus-" + std::to_string(getpid()));
  std::filesystem::create_directories(Directory);
  std::ofstream(Directory / "prometheus.yml")
      << "global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n"
         "scrape_configs:\n  - job_name: gaugery\n    static_configs:\n"
         "      - targets: ['"
      << Server.ComputerName() << "']\n";
  const int Port = FreeLoopbackPort();
  TChildProcess Scraper(
      Prometheus, {"--config.file=" + (Directory / "prometheus.yml").string(),
                   "--storage.tsdb.path=" + (Directory / "data").string(),
                   "--web.listen-address=127.0.0.1:" + std::to_string(Port), "--log.level=warn"});
  httplib::Client Api("127.0.0.1", Port);
  // Prometheus scrapes a few seconds after it starts: wait for its first scrape.
  for (int Try = 0; Try < 300 && !(QueryValue(Api, "up") == 1); ++Try)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_EQ(QueryValue(Api, "up"), 1) << Scraper.Errors();

  // Watch for 6 seconds while Prometheus scrapes, then ask Prometheus about the same 6
  // seconds.
  const std::string Child = "\\Process(" + std::string(BusyName) + ")\\";
  const std::string TotalBusy = "\\Processor(_Total)\\% Processor Time";
  const TDiskReader Reader(::testing::TempDir() + "gaugery-disk-reads-" + std::to_string(getpid()));
  // The monitor's seconds per read over the same time, in full precision.
  gaugery::TPerfMonitor Monitor(nullptr);
  gaugery::TPerfMonitorItem* Reads = Monitor.Items()->Add();
  Reads->SetObjectName("PhysicalDisk");
  Reads->SetCounterName("Avg. Disk sec/Read");
  Monitor.Collect();
  const ProgramRun Watch =
      RunGaugery("watch --json --count 2 --interval 6 '" + Child + "% Processor Time' '" + Child +
                 "Working Set' '" + TotalBusy + "' '\\PhysicalDisk(*)\\Avg. Disk sec/Read'");
  Monitor.Collect();
  ASSERT_EQ(Watch.ExitCode, 0) << Watch.Err;
  const std::string Selector = "{process_id=\"" + std::to_string(Busy.Pid()) + "\"}";
  const double Rate =
      QueryValue(Api, "rate(gaugery_process_cpu_seconds_total" + Selector + "[6s])");
  const double WorkingSet = QueryValue(Api, "gaugery_process_working_set_bytes" + Selector);
  const double BusyShare =
      1 - QueryValue(Api, "avg(rate(gaugery_processor_idle_seconds_total[6s]))");
  const std::map<std::string, double> Watched = WatchValues(Watch.Out);
  const std::string Disk = DiskOf(Watched);
  const std::string OfDisk = "{instance_name=\"" + Disk + "\"}[6s])";
  const double SecondsPerRead =
      QueryValue(Api, "rate(gaugery_physical_disk_read_seconds_total" + OfDisk +
                          " / rate(gaugery_physical_disk_reads_total" + OfDisk);
  // Sums over processes against the series they add, all at one time.
  const std::string Time = std::to_string(std::time(nullptr) - 1);
  const std::map<std::string, double> ByName =
      QueryVector(Api, "sum by (instance_name) (gaugery_process_cpu_seconds_total)", Time);
  const std::map<std::string, double> PerProcess =
      QueryVector(Api, "gaugery_process_cpu_seconds_total", Time);
  const double AllProcesses = QueryValue(Api, "sum(gaugery_process_cpu_seconds_total)", Time);
  const double ProcessorsBusy = QueryValue(
      Api,
      "sum(gaugery_processor_user_seconds_total) + sum(gaugery_processor_privileged_seconds_total)",
      Time);
  const auto Targets = json::parse(Api.Get("/api/v1/targets")->body)["data"]["activeTargets"];
  Scraper.Stop();
  std::filesystem::remove_all(Directory);

  ASSERT_EQ(Targets.size(), 1u);
  EXPECT_EQ(Targets[0]["health"], "up") << Targets[0]["lastError"];
  ASSERT_FALSE(Disk.empty()) << Watch.Out;
  const double WatchedPercent = Watched.at(Child + "% Processor Time");
  const double WatchedWorkingSet = Watched.at(Child + "Working Set");
  const double WatchedBusy = Watched.at(TotalBusy);
  double WatchedSecondsPerRead = -1;
  for (int Instance = 0; Instance < Reads->InstanceValueCount(); ++Instance) {
    if (Reads->InstanceValues(Instance)->InstanceName() == Disk)
      WatchedSecondsPerRead = static_cast<double>(Reads->InstanceValues(Instance)->AsFloat());
  }
  std::cout << "Prometheus: " << Rate * 100 << " %, " << WorkingSet << " bytes, " << BusyShare * 100
            << " % busy, " << SecondsPerRead << " s per read; watch: " << WatchedPercent << " %, "
            << WatchedWorkingSet << " bytes, " << WatchedBusy
            << " % busy; monitor: " << WatchedSecondsPerRead << " s per read\n";
  // Both are averages over 6 seconds, but the windows may be apart by up to a scrape
  // interval at either end (1 s of 6) while the shares of processors move with the
  // machine's other load; 20 points of a percentage leave room for that.
  EXPECT_NEAR(Rate * 100, WatchedPercent, 20.0);
  EXPECT_GT(Rate, 0.05) << "the child was busy";
  EXPECT_NEAR(BusyShare * 100, WatchedBusy, 20.0);
  EXPECT_GT(BusyShare, 0.05) << "the child kept a processor busy";
  // The child's memory does not change: both read the same VmRSS.
  EXPECT_NEAR(WorkingSet, WatchedWorkingSet, WatchedWorkingSet * 0.02);
  // Reads take what the device makes them take, in windows apart as above: within a
  // factor of two.
  EXPECT_GT(SecondsPerRead, 0) << "the reads reached the disk";
  EXPECT_NEAR(SecondsPerRead, WatchedSecondsPerRead, WatchedSecondsPerRead);

  std::map<std::string, double> Summed;
  for (const auto& [Labels, Value] : PerProcess)
    Summed[json{{"instance_name", json::parse(Labels)["instance_name"]}}.dump()] += Value;
  ASSERT_EQ(ByName.size(), Summed.size());
  for (const auto& [Labels, Value] : ByName) EXPECT_NEAR(Value, Summed[Labels], 1e-6) << Labels;
  // Without a "_Total" series the processes' sum counts nothing twice: it stays within
  // the processors' busy time (processes that ended took theirs with them).
  EXPECT_LE(AllProcesses, ProcessorsBusy * 1.01 + 1);
}

}  // namespace
