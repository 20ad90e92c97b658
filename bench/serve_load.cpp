// The load measurement of `gaugery serve`, loopback only and bounded in count and time:
// CLIENTS concurrent clients (default 50) scrape /metrics over kept-alive connections
// for SECONDS (default 10), after a second of the same load to warm the server up.
// Prints the requests per second, the p50 and p99 latencies, the samples the server took
// (at most one per interval, however many clients ask) and its resident memory before
// and after.
//
//   serve_load [CLIENTS [SECONDS [ROUNDS [PROGRAM]]]]
//
// ROUNDS (default 1) repeats the load and prints the memory after each round as well.
// PROGRAM is the gaugery that serves (default: this build's), so that two builds can be
// measured one after the other in one run.
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ServeProcess.h"

namespace {

using TClock = std::chrono::steady_clock;

// VmRSS of a process, in KiB.
long ResidentKiB(pid_t Pid) {
  std::ifstream Status("/proc/" + std::to_string(Pid) + "/status");
  for (std::string Line; std::getline(Status, Line);)
    if (Line.rfind("VmRSS:", 0) == 0) return std::stol(Line.substr(6));
  return -1;
}

// The server's own count of samples, from its exposition.
long SamplesTaken(int Port) {
  const auto Reply = httplib::Client("127.0.0.1", Port).Get("/metrics");
  if (!Reply) return -1;
  const std::string Name = "\ngaugery_serve_samples_total ";
  const std::size_t At = Reply->body.find(Name);
  return At == std::string::npos ? -1 : std::stol(Reply->body.substr(At + Name.size()));
}

struct TClientResult {
  std::vector<double> LatenciesMs;
  long Failures = 0;
  std::string FirstFailure;
};

TClientResult Scrape(int Port, TClock::time_point Until) {
  TClientResult Result;
  httplib::Client Client("127.0.0.1", Port);
  Client.set_keep_alive(true);
  Client.set_read_timeout(10);
  while (TClock::now() < Until) {
    const auto Start = TClock::now();
    const auto Reply = Client.Get("/metrics");
    const std::chrono::duration<double, std::milli> Took = TClock::now() - Start;
    if (Reply && Reply->status == 200)
      Result.LatenciesMs.push_back(Took.count());
    else if (Result.Failures++ == 0)
      Result.FirstFailure = (Reply ? "status " + std::to_string(Reply->status)
                                   : httplib::to_string(Reply.error())) +
                            " after " + std::to_string(static_cast<long>(Took.count())) + " ms";
  }
  return Result;
}

std::vector<TClientResult> RunClients(int Port, int Clients, TClock::duration Duration) {
  const auto Until = TClock::now() + Duration;
  std::vector<TClientResult> Results(static_cast<std::size_t>(Clients));
  std::vector<std::thread> Threads;
  for (TClientResult& Result : Results)
    Threads.emplace_back([&Result, Port, Until] { Result = Scrape(Port, Until); });
  for (std::thread& Thread : Threads) Thread.join();
  return Results;
}

double Percentile(std::vector<double>& Sorted, double Share) {
  if (Sorted.empty()) return 0;
  const auto Index = static_cast<std::size_t>(Share * static_cast<double>(Sorted.size() - 1));
  return Sorted[Index];
}

}  // namespace

int main(int argc, char** argv) {
  const int Clients = argc > 1 ? std::stoi(argv[1]) : 50;
  const int Seconds = argc > 2 ? std::stoi(argv[2]) : 10;
  const int Rounds = argc > 3 ? std::stoi(argv[3]) : 1;
  const std::string Program = argc > 4 ? argv[4] : GAUGERY_EXE;
  if (Clients < 1 || Clients > 1000 || Seconds < 1 || Seconds > 600 || Rounds < 1 || Rounds > 10) {
    std::fprintf(stderr,
                 "usage: serve_load [CLIENTS (1-1000) [SECONDS (1-600) [ROUNDS (1-10) [PROGRAM]]]]\n");
    return 2;
  }
  TServeProcess Server({"--interval", "1"}, Program);
  const long RssIdle = ResidentKiB(Server.Pid());
  // A second of load first, so that every worker thread has run before memory is read.
  RunClients(Server.Port(), Clients, std::chrono::seconds(1));
  const long SamplesBefore = SamplesTaken(Server.Port());
  const long RssBefore = ResidentKiB(Server.Pid());

  const auto Start = TClock::now();
  std::vector<TClientResult> Results = RunClients(Server.Port(), Clients, std::chrono::seconds(Seconds));
  const double Elapsed = std::chrono::duration<double>(TClock::now() - Start).count();
  const long RssAfter = ResidentKiB(Server.Pid());
  const long Samples = SamplesTaken(Server.Port()) - SamplesBefore;
  std::vector<long> RssLater;
  for (int Round = 1; Round < Rounds; ++Round) {
    RunClients(Server.Port(), Clients, std::chrono::seconds(Seconds));
    RssLater.push_back(ResidentKiB(Server.Pid()));
  }

  std::vector<double> Latencies;
  long Failures = 0;
  std::string FirstFailure;
  for (TClientResult& Result : Results) {
    Latencies.insert(Latencies.end(), Result.LatenciesMs.begin(), Result.LatenciesMs.end());
    Failures += Result.Failures;
    if (FirstFailure.empty()) FirstFailure = Result.FirstFailure;
  }
  std::sort(Latencies.begin(), Latencies.end());
  std::printf("clients %d, seconds %.1f, requests %zu, failures %ld%s%s\n", Clients, Elapsed,
              Latencies.size(), Failures, FirstFailure.empty() ? "" : ", the first: ",
              FirstFailure.c_str());
  std::printf("requests_per_second %.1f\n", static_cast<double>(Latencies.size()) / Elapsed);
  std::printf("latency_ms p50 %.2f p99 %.2f max %.2f\n", Percentile(Latencies, 0.5),
              Percentile(Latencies, 0.99), Latencies.empty() ? 0.0 : Latencies.back());
  std::printf("samples_taken %ld (at most %d: one per 1 s interval)\n", Samples, Seconds + 1);
  std::printf("rss_kib idle %ld, before %ld (after a warm-up second), after %ld", RssIdle,
              RssBefore, RssAfter);
  for (const long Rss : RssLater) std::printf(", %ld", Rss);
  std::printf("\n");
  return Failures == 0 ? 0 : 1;
}
