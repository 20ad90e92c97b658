// End to end with a real Prometheus server (Debian package prometheus): it scrapes
// `gaugery serve` once a second, and what its HTTP API says of a busy child process
// agrees with what `gaugery watch` computes for the same process.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

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

// The one value of an instant query, or NaN while Prometheus has none.
double QueryValue(httplib::Client& Prometheus, const std::string& Query) {
  const auto Answer = Prometheus.Get("/api/v1/query", httplib::Params{{"query", Query}},
                                     httplib::Headers{});
  if (!Answer || Answer->status != 200) return std::nan("");
  const json Result = json::parse(Answer->body)["data"]["result"];
  if (Result.size() != 1) return std::nan("");
  return std::stod(Result[0]["value"][1].get<std::string>());
}

// The row of the busy child in the last line `gaugery watch --json` printed.
json WatchRow(const std::string& Output) {
  const std::size_t End = Output.find_last_not_of('\n');
  if (End == std::string::npos) return json();
  const std::size_t Start = Output.rfind('\n', End);
  const json Last = json::parse(Output.substr(Start == std::string::npos ? 0 : Start + 1));
  for (const json& Row : Last["rows"])
    if (Row["instance"] == BusyName) return Row["values"];
  return json();
}

TEST(PrometheusScrape, ItsRateAndGaugeOfAProcessAgreeWithWatch) {
  const std::string Prometheus = ProgramOnPath("prometheus");
  if (Prometheus.empty())
    GTEST_SKIP() << "prometheus is not installed (Debian package prometheus, which "
                    "scripts/install-deps.sh installs): the scrape by a real Prometheus is not tested";
  const TBusyChild Busy;
  TServeProcess Server({"--interval", "0.5"});
  const std::filesystem::path Directory =
      std::filesystem::path(::testing::TempDir()) / ("gaugery-prometheus-" + std::to_string(getpid()));
  std::filesystem::create_directories(Directory);
  std::ofstream(Directory / "prometheus.yml")
      << "global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n"
         "scrape_configs:\n  - job_name: gaugery\n    static_configs:\n"
         "      - targets: ['" << Server.ComputerName() << "']\n";
  const int Port = FreeLoopbackPort();
  TChildProcess Scraper(Prometheus, {"--config.file=" + (Directory / "prometheus.yml").string(),
                                     "--storage.tsdb.path=" + (Directory / "data").string(),
                                     "--web.listen-address=127.0.0.1:" + std::to_string(Port),
                                     "--log.level=warn"});
  httplib::Client Api("127.0.0.1", Port);
  // Prometheus scrapes a few seconds after it starts: wait for its first scrape.
  for (int Try = 0; Try < 300 && !(QueryValue(Api, "up") == 1); ++Try)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_EQ(QueryValue(Api, "up"), 1) << Scraper.Errors();

  // Watch the child for 6 seconds while Prometheus scrapes, then ask Prometheus about
  // the same 6 seconds.
  const ProgramRun Watch = RunGaugery(
      "watch --json --count 2 --interval 6 Process \"% Processor Time\" \"Working Set\"");
  ASSERT_EQ(Watch.ExitCode, 0) << Watch.Err;
  const std::string Selector = "{process_id=\"" + std::to_string(Busy.Pid()) + "\"}";
  const double Rate = QueryValue(Api, "rate(gaugery_process_cpu_seconds_total" + Selector + "[6s])");
  const double WorkingSet = QueryValue(Api, "gaugery_process_working_set_bytes" + Selector);
  const auto Targets = json::parse(Api.Get("/api/v1/targets")->body)["data"]["activeTargets"];
  Scraper.Stop();
  std::filesystem::remove_all(Directory);

  ASSERT_EQ(Targets.size(), 1u);
  EXPECT_EQ(Targets[0]["health"], "up") << Targets[0]["lastError"];
  const json Values = WatchRow(Watch.Out);
  ASSERT_TRUE(Values.is_array()) << Watch.Out;
  const double WatchedPercent = Values[0]["value"].get<double>();
  const double WatchedWorkingSet = Values[1]["value"].get<double>();
  std::cout << "Prometheus: " << Rate * 100 << " % and " << WorkingSet << " bytes; watch: "
            << WatchedPercent << " % and " << WatchedWorkingSet << " bytes\n";
  // Both are averages over 6 seconds, but the windows may be apart by up to a scrape
  // interval at either end (1 s of 6) while the child's share of a processor moves with
  // the machine's other load; 20 points of a percentage leave room for that.
  EXPECT_NEAR(Rate * 100, WatchedPercent, 20.0);
  EXPECT_GT(Rate, 0.05) << "the child was busy";
  // The child's memory does not change: both read the same VmRSS.
  EXPECT_NEAR(WorkingSet, WatchedWorkingSet, WatchedWorkingSet * 0.02);
}

}  // namespace
