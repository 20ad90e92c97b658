// `gaugery serve` run as its users run it: endpoints, errors and their log, the token,
// the options.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "registry/PerfBlockCheck.h"
#include "PerfNameStrings.h"
#include "ProgramRun.h"
#include "Promtool.h"
#include "ServeProcess.h"
#include "WinGaugery.h"
#include "WinPerf.h"
#include "framework/Unicode.h"

namespace gaugery {
namespace {

const char* const OpenMetricsAccept = "application/openmetrics-text;version=1.0.0,text/plain;q=0.5";

// Sends Bytes on a new connection and returns the status line of the answer.
std::string RawStatusLine(int Port, const std::string& Bytes) {
  const int Socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in Address{};
  Address.sin_family = AF_INET;
  Address.sin_port = htons(static_cast<std::uint16_t>(Port));
  Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string Answer;
  if (connect(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0 &&
      send(Socket, Bytes.data(), Bytes.size(), MSG_NOSIGNAL) >= 0) {
    char Chunk[256];
    const ssize_t Read = recv(Socket, Chunk, sizeof Chunk, 0);
    if (Read > 0) Answer.assign(Chunk, static_cast<std::size_t>(Read));
  }
  close(Socket);
  return Answer.substr(0, Answer.find("\r\n"));
}

// The local registry's value of a locale, as the wire carries it.
std::string LocalValueBytes(const std::string& Locale, const std::string& Value) {
  HKEY Key = nullptr;
  const WideString Path = ToWide(std::string(PerflibKeyPath) + "\\" + Locale);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path.c_str(), 0, KEY_READ, &Key), 0);
  const std::vector<WCHAR> Units = ReadValueCodeUnits(Key, Value);
  RegCloseKey(Key);
  return std::string(reinterpret_cast<const char*>(Units.data()), Units.size() * 2);
}

std::size_t LineCount(const std::string& Text) {
  return static_cast<std::size_t>(std::count(Text.begin(), Text.end(), '\n'));
}

// One sample line of an exposition.
struct TSample {
  std::string Name;
  std::string Labels;  // "{...}" or empty
  double Value = 0;
};

std::vector<TSample> SamplesOf(const std::string& Exposition) {
  std::vector<TSample> Samples;
  std::istringstream Lines(Exposition);
  for (std::string Line; std::getline(Lines, Line);) {
    if (Line.empty() || Line[0] == '#') continue;
    const std::size_t NameEnd = Line.find_first_of("{ ");
    const std::size_t ValueStart = Line.rfind(' ') + 1;
    Samples.push_back({Line.substr(0, NameEnd), Line.substr(NameEnd, ValueStart - 1 - NameEnd),
                       std::stod(Line.substr(ValueStart))});
  }
  return Samples;
}

double UnixNow() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

TEST(GaugeryServe, AnswersEveryEndpointFromOneSamplePerInterval) {
  TServeProcess Server({"--interval", "3600"});
  httplib::Client Client("127.0.0.1", Server.Port());

  const auto Metrics = Client.Get("/metrics");
  ASSERT_TRUE(Metrics);
  EXPECT_EQ(Metrics->status, 200);
  EXPECT_EQ(Metrics->get_header_value("Content-Type"), "text/plain; version=0.0.4; charset=utf-8");
  EXPECT_EQ(Metrics->get_header_value("Server"), "gaugery/" GAUGERY_VERSION);
  const std::string Ours = "process_id=\"" + std::to_string(getpid()) + "\"}";
  EXPECT_NE(Metrics->body.find("# TYPE gaugery_process_cpu_seconds_total counter\n"), std::string::npos);
  EXPECT_NE(Metrics->body.find(Ours), std::string::npos);

  const auto Open = Client.Get("/metrics", {{"Accept", OpenMetricsAccept}});
  ASSERT_TRUE(Open);
  EXPECT_EQ(Open->get_header_value("Content-Type"),
            "application/openmetrics-text; version=1.0.0; charset=utf-8");
  EXPECT_TRUE(Open->body.ends_with("gaugery_serve_samples_total 1\n# EOF\n"));

  const auto Compressed = Client.Get("/metrics", {{"Accept-Encoding", "gzip"}});
  ASSERT_TRUE(Compressed);
  EXPECT_EQ(Compressed->get_header_value("Content-Encoding"), "gzip");
  EXPECT_EQ(Compressed->body, Metrics->body) << "the same sample, unpacked by the client";

  const auto Block = Client.Get("/perfdata?value=Global");
  const auto Again = Client.Get("/perfdata?value=global");
  ASSERT_TRUE(Block && Again);
  EXPECT_EQ(Block->get_header_value("Content-Type"), "application/octet-stream");
  ASSERT_TRUE(IsWellFormedBlock(Block->body.data(), static_cast<DWORD>(Block->body.size())));
  EXPECT_EQ(reinterpret_cast<const TPERF_DATA_BLOCK*>(Block->body.data())->TotalByteLength,
            Block->body.size());
  EXPECT_EQ(Again->body, Block->body) << "the same sample within the interval";
  const auto Processor = Client.Get("/perfdata?value=238");
  ASSERT_TRUE(Processor);
  EXPECT_EQ(reinterpret_cast<const TPERF_DATA_BLOCK*>(Processor->body.data())->NumObjectTypes, 1u);
  const auto Thread = Client.Get("/perfdata?value=232%20238");
  ASSERT_TRUE(Thread);
  ASSERT_TRUE(IsWellFormedBlock(Thread->body.data(), static_cast<DWORD>(Thread->body.size())));
  const auto* WithThread = reinterpret_cast<const TPERF_DATA_BLOCK*>(Thread->body.data());
  ASSERT_EQ(WithThread->NumObjectTypes, 2u) << "Thread, which Global leaves out, and Processor";
  EXPECT_EQ(NextObject(FirstObject(const_cast<TPERF_DATA_BLOCK*>(WithThread)))->ObjectNameTitleIndex,
            232u);

  EXPECT_EQ(Client.Get("/perflib/")->body, "009\n007\n");
  EXPECT_EQ(Client.Get("/perflib/007/Counter")->body, LocalValueBytes("007", "Counter"));
  EXPECT_EQ(Client.Get("/perflib/009/help")->body, LocalValueBytes("009", "Help"));
}

TEST(GaugeryServe, RefusesBadRequestsStaysUpAndLogsOneLineEach) {
  TServeProcess Server;
  httplib::Client Client("127.0.0.1", Server.Port());
  int Errors = 0;
  for (const char* Path : {"/nope", "/perflib/0FF/Counter", "/perflib/009/Other", "/metrics/x"}) {
    EXPECT_EQ(Client.Get(Path)->status, 404) << Path;
    ++Errors;
  }
  for (const char* Path : {"/perfdata", "/perfdata?value=", "/perfdata?value=%zz",
                           "/perfdata?value=Global&more=1"}) {
    EXPECT_EQ(Client.Get(Path)->status, 400) << Path;
    ++Errors;
  }
  const auto Posted = Client.Post("/metrics", "x", "text/plain");
  EXPECT_EQ(Posted->status, 405);
  EXPECT_EQ(Posted->get_header_value("Allow"), "GET, HEAD");
  ++Errors;
  // The body is announced, not sent: it is refused before anything of it is read.
  EXPECT_EQ(RawStatusLine(Server.Port(), "GET /metrics HTTP/1.1\r\nContent-Length: 5000\r\n\r\n"),
            "HTTP/1.1 413 Payload Too Large");
  EXPECT_EQ(RawStatusLine(Server.Port(), "GET /metrics HTTP/1.1\r\nX-Big: " +
                                             std::string(20000, 'a') + "\r\n\r\n"),
            "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(RawStatusLine(Server.Port(), std::string("\x16\x03\x01\x02\x00\r\n\r\n", 9)),
            "HTTP/1.1 400 Bad Request");
  Errors += 3;
  const auto Still = Client.Get("/perflib/");
  ASSERT_TRUE(Still) << "still serving: " << Server.Errors();
  EXPECT_EQ(Still->status, 200);
  EXPECT_EQ(Client.Head("/metrics")->status, 200);
  EXPECT_EQ(Server.Stop(), 0) << "SIGTERM ends it cleanly";
  const std::string Log = Server.Errors();
  EXPECT_EQ(LineCount(Log), static_cast<std::size_t>(Errors)) << Log;
  EXPECT_NE(Log.find("gaugery serve: 127.0.0.1 GET /nope: 404 Not Found\n"), std::string::npos);
}

TEST(GaugeryServe, WithATokenEveryRequestNeedsIt) {
  const std::string TokenFile = ::testing::TempDir() + "gaugery-token-" + std::to_string(getpid());
  std::ofstream(TokenFile) << "  s3cret-token\n";
  TServeProcess Server({"--token", TokenFile});
  httplib::Client Client("127.0.0.1", Server.Port());
  const auto Without = Client.Get("/metrics");
  EXPECT_EQ(Without->status, 401);
  EXPECT_EQ(Without->get_header_value("WWW-Authenticate"), "Bearer realm=\"gaugery\"");
  EXPECT_EQ(Client.Get("/perflib/", {{"Authorization", "Bearer wrong"}})->status, 401);
  EXPECT_EQ(Client.Get("/perflib/", {{"Authorization", "Bearer s3cret-token"}})->status, 200);
  std::remove(TokenFile.c_str());
}

// A browser cannot send a bearer token when it opens a page: the web view asks for the
// token as the password of Basic credentials, which the browser then sends with every
// request of the page.
TEST(GaugeryServe, TheWebViewTakesTheTokenAsABrowsersPassword) {
  const std::string TokenFile = ::testing::TempDir() + "gaugery-web-token-" + std::to_string(getpid());
  std::ofstream(TokenFile) << "s3cret-token\n";
  TServeProcess Server({"--token", TokenFile});
  httplib::Client Client("127.0.0.1", Server.Port());
  for (const char* Path : {"/", "/web/page.js", "/api/names"}) {
    const auto Without = Client.Get(Path);
    EXPECT_EQ(Without->status, 401) << Path;
    EXPECT_EQ(Without->get_header_value("WWW-Authenticate", 0), "Basic realm=\"gaugery\"") << Path;
    EXPECT_EQ(Client.Get(Path, {{"Authorization", "Bearer s3cret-token"}})->status, 200) << Path;
  }
  Client.set_basic_auth("anyone", "s3cret-token");
  const auto Page = Client.Get("/");
  EXPECT_EQ(Page->status, 200);
  EXPECT_EQ(Page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(Client.Get("/metrics")->status, 200);
  Client.set_basic_auth("anyone", "wrong");
  EXPECT_EQ(Client.Get("/api/names")->status, 401);
  std::remove(TokenFile.c_str());
}

TEST(GaugeryServe, ServesTheWebViewAndItsData) {
  TServeProcess Server({"--interval", "0.2"});
  httplib::Client Client("127.0.0.1", Server.Port());
  const auto Page = Client.Get("/");
  ASSERT_TRUE(Page);
  EXPECT_EQ(Page->status, 200);
  EXPECT_NE(Page->body.find("/web/page.js"), std::string::npos);
  EXPECT_EQ(Client.Get("/web/nothing.js")->status, 404);
  const std::string Query = "/api/values?counter=%5CMemory%5CAvailable%20Bytes";
  EXPECT_EQ(Client.Get(Query)->status, 200);
  EXPECT_EQ(Client.Get("/api/values?since=1")->status, 400);
  // The baseline, then a point: the page's second poll has a value.
  nlohmann::json Values;
  for (int Attempt = 0; Attempt < 100; ++Attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Values = nlohmann::json::parse(Client.Get(Query)->body);
    if (!Values["counters"][0]["series"].empty()) break;
  }
  ASSERT_EQ(Values["counters"][0]["series"].size(), 1u) << Values.dump();
  EXPECT_GT(Values["counters"][0]["series"][0]["points"][0][1].get<double>(), 0);
  const auto Processes = nlohmann::json::parse(Client.Get("/api/processes")->body);
  const std::string Id = std::to_string(Server.Pid());
  bool Listed = false;
  for (const auto& Row : Processes["rows"])
    Listed = Listed || (Row["name"] == "gaugery" && Row["cells"][0][1].get<double>() == std::stod(Id));
  EXPECT_TRUE(Listed) << "the server lists itself with its process id " << Id;
}

// The server's own sampler runs through the log as fast as it can meanwhile: the web
// view's walks still see every sample in turn.
TEST(GaugeryServe, TheWebViewOfALogGivesWatchsValuesWhileTheServerSamplesIt) {
  const std::string Log = ::testing::TempDir() + "gaugery-serve-" + std::to_string(getpid()) + ".glog";
  ASSERT_EQ(RunGaugery("record --interval 0.05 --count 30 " + Log).ExitCode, 0);
  const std::string Path = "\\Processor(_Total)\\% Processor Time";
  const ProgramRun Watch = RunGaugery("--replay " + Log + " watch --json \"" + Path + "\"");
  ASSERT_EQ(Watch.ExitCode, 0) << Watch.Err;
  std::vector<double> Expected;
  std::istringstream Lines(Watch.Out);
  for (std::string Line; std::getline(Lines, Line);)
    Expected.push_back(nlohmann::json::parse(Line)["values"][0]["value"].get<double>());
  TServeProcess Server({"--interval", "0"}, GAUGERY_EXE, {"--replay", Log});
  httplib::Client Client("127.0.0.1", Server.Port());
  for (int Request = 0; Request < 5; ++Request) {
    const auto Answer = Client.Get("/api/values?counter=" + httplib::detail::encode_query_param(Path));
    ASSERT_TRUE(Answer);
    ASSERT_EQ(Answer->status, 200) << Answer->body;
    const nlohmann::json Values = nlohmann::json::parse(Answer->body);
    std::vector<double> Served;
    for (const auto& Point : Values["counters"][0]["series"][0]["points"])
      Served.push_back(Point[1].get<double>());
    EXPECT_EQ(Served, Expected) << "request " << Request << ": " << Answer->body.substr(0, 300);
    EXPECT_EQ(Client.Get("/metrics")->status, 200);
  }
  std::remove(Log.c_str());
}

TEST(GaugeryServe, TheLiveExpositionPassesPromtoolAndItsValuesMeanSomething) {
  TServeProcess Server({"--interval", "3600"});
  const auto Metrics = httplib::Client("127.0.0.1", Server.Port()).Get("/metrics");
  ASSERT_TRUE(Metrics);
  const double Now = UnixNow();
  if (std::system("promtool --version > /dev/null 2>&1") == 0) {
    EXPECT_EQ(PromtoolProblems(Metrics->body), "");
  }
  const std::vector<TSample> Samples = SamplesOf(Metrics->body);
  double Boot = 0;
  std::map<std::string, double> ProcessStarts;  // by labels
  for (const TSample& Sample : Samples) {
    if (Sample.Name == "gaugery_system_start_time_seconds") Boot = Sample.Value;
    if (Sample.Name == "gaugery_process_start_time_seconds") ProcessStarts[Sample.Labels] = Sample.Value;
  }
  ASSERT_GT(Boot, 1e9);
  ASSERT_FALSE(ProcessStarts.empty());
  const double Processors = static_cast<double>(std::thread::hardware_concurrency());
  for (const TSample& Sample : Samples) {
    EXPECT_EQ(Sample.Labels.find("\"_Total\""), std::string::npos) << Sample.Name << Sample.Labels;
    // Address space reservations (of sanitized programs, for one) reach tens of TiB.
    if (Sample.Name.find("_virtual_") == std::string::npos) {
      EXPECT_LE(Sample.Value, 1e12) << Sample.Name << Sample.Labels;
    }
    if (Sample.Name.ends_with("_start_time_seconds")) {
      EXPECT_GE(Sample.Value, Boot - 1) << Sample.Name << Sample.Labels;
      EXPECT_LE(Sample.Value, Now + 1) << Sample.Name << Sample.Labels;
    }
    if (Sample.Name.starts_with("gaugery_process_") && Sample.Name.ends_with("_seconds_total")) {
      ASSERT_TRUE(ProcessStarts.contains(Sample.Labels)) << Sample.Labels;
      // Processor times count in clock ticks of 10 ms.
      EXPECT_LE(Sample.Value, (Now - ProcessStarts[Sample.Labels]) * Processors + 0.02)
          << Sample.Name << Sample.Labels;
    }
  }
}

TEST(GaugeryServe, ASecondServerOnATakenAddressFails) {
  TServeProcess First;
  const std::string Address = First.ComputerName();
  const ProgramRun Second = RunGaugery("serve --listen " + Address);
  EXPECT_EQ(Second.ExitCode, 1);
  EXPECT_EQ(Second.Err, "gaugery: Cannot listen on " + Address + ": address already in use\n");
  EXPECT_EQ(Second.Out, "") << "it never says it listens";
  EXPECT_EQ(httplib::Client("127.0.0.1", First.Port()).Get("/perflib/")->status, 200)
      << "the first one still answers";
}

TEST(GaugeryServe, ListensOnLoopbackByDefaultAndRefusesBadOptions) {
  EXPECT_NE(RunGaugery("help serve").Out.find("(default 127.0.0.1:9441, this"), std::string::npos);
  TChildProcess Default(GAUGERY_EXE, {"serve"});
  const std::string Line = Default.ReadLine(5000);
  if (Line.empty()) {  // the default port is taken on this machine
    Default.Stop();
    EXPECT_NE(Default.Errors().find("Cannot listen on 127.0.0.1:9441"), std::string::npos);
  } else {
    EXPECT_EQ(Line, "gaugery serve: listening on http://127.0.0.1:9441/");
  }
  for (const char* Options : {"serve --listen nonsense:port", "serve --listen \\\\\\\\host:1",
                              "serve --interval -1", "serve extra", "--computer h:1 serve"}) {
    EXPECT_EQ(RunGaugery(Options).ExitCode, 2) << Options;
  }
  const ProgramRun NoToken = RunGaugery("serve --listen 127.0.0.1:0 --token /nonexistent/token");
  EXPECT_EQ(NoToken.ExitCode, 1);
  EXPECT_EQ(NoToken.Err, "gaugery: Cannot read the token file \"/nonexistent/token\"\n");
}

}  // namespace
}  // namespace gaugery
