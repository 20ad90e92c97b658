// A second `gaugery serve` on another loopback port read as a remote computer: by the
// program's --computer option and by components with that ComputerName.
#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "PerfFilter.h"
#include "framework/Unicode.h"
#include "registry/PerfDataRecords.h"
#include "registry/Registry.h"
#include "PerfMonitor.h"
#include "PerfTitles.h"
#include "ProgramRun.h"
#include "ServeProcess.h"

namespace gaugery {
namespace {

// A process reads its locale list once, from the providers in service at that moment.
// Reading it before any test of this program puts in service fake providers that name
// "009" only keeps this machine's locales (and so the German names of a remote
// computer) in reach whatever ran before.
class TMachineLocales : public ::testing::Environment {
 public:
  void SetUp() override { Locales(); }
};
[[maybe_unused]] const ::testing::Environment* const MachineLocales =
    ::testing::AddGlobalTestEnvironment(new TMachineLocales);

TEST(RemoteComputer, DumpOfTheComputerEqualsTheServedBlock) {
  TServeProcess Server({"--interval", "3600"});
  const auto Block = httplib::Client("127.0.0.1", Server.Port()).Get("/perfdata?value=Global");
  ASSERT_TRUE(Block);
  const std::string Capture = ::testing::TempDir() + "gaugery-served-" + std::to_string(getpid());
  std::ofstream(Capture, std::ios::binary) << Block->body;

  const ProgramRun Remote = RunGaugery("--computer " + Server.ComputerName() + " dump --json");
  const ProgramRun Served = RunGaugery("--replay " + Capture + " dump --json");
  std::remove(Capture.c_str());
  ASSERT_EQ(Remote.ExitCode, 0) << Remote.Err;
  ASSERT_EQ(Served.ExitCode, 0) << Served.Err;
  EXPECT_EQ(nlohmann::json::parse(Remote.Out), nlohmann::json::parse(Served.Out));
  const ProgramRun German =
      RunGaugery("--computer \\\\\\\\" + Server.ComputerName() + " objects --locale 007");
  EXPECT_EQ(German.Out.rfind("0  Prozess\n1  Prozessor\n2  Speicher\n3  System\n", 0), 0u)
      << German.Out << German.Err;
}

TEST(RemoteComputer, FilterAndMonitorWithItsNameGiveItsValues) {
  TServeProcess Server({"--interval", "0.1"});
  TPerfFilter Filter(nullptr);
  Filter.SetComputerName(Server.ComputerName());
  TPerfCounterItem* Pid = Filter.Items()->Add();
  Pid->SetObjectName("Process");
  Pid->SetCounterName("ID Process");
  Filter.Collect();
  bool FoundServer = false;
  for (int Instance = 0; Instance < Pid->InstanceCount(); ++Instance)
    FoundServer = FoundServer || Pid->InsCtrAsInteger(Instance) == Server.Pid();
  EXPECT_TRUE(FoundServer) << "the served processes include the server";

  TPerfMonitor Monitor(nullptr);
  Monitor.SetComputerName(Server.ComputerName());
  TPerfMonitorItem* Busy = Monitor.Items()->Add();
  Busy->SetObjectName("Processor");
  Busy->SetCounterName("% Processor Time");
  Monitor.Collect();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Monitor.Collect();
  ASSERT_GE(Busy->InstanceValueCount(), 2);
  for (int Instance = 0; Instance < Busy->InstanceValueCount(); ++Instance) {
    const Extended Percent = Busy->InstanceValues(Instance)->AsFloat();
    EXPECT_GE(Percent, 0.0);
    EXPECT_LE(Percent, 100.0);
  }
  EXPECT_GT(Monitor.DeltaSysTime(), 0) << "two samples of the server's clock";
}

// A reader that polls exactly at the server's interval would find, now and then, the
// sample it already has; the server waits for a newer one instead.
TEST(RemoteComputer, AReaderPollingAtTheIntervalNeverGetsTheSameSampleTwice) {
  TServeProcess Server({"--interval", "0.3"});
  HKEY Remote = nullptr;
  const std::u16string Name = u"127.0.0.1:" + std::u16string(ToWide(std::to_string(Server.Port())));
  ASSERT_EQ(RegConnectRegistryW(Name.c_str(), HKEY_PERFORMANCE_DATA, &Remote), ERROR_SUCCESS);
  std::vector<BYTE> Buffer(64 << 20);
  std::vector<std::int64_t> Stamps;
  auto Next = std::chrono::steady_clock::now();
  for (int Poll = 0; Poll < 8; ++Poll) {
    std::this_thread::sleep_until(Next);
    Next += std::chrono::milliseconds(300);
    DWORD Size = static_cast<DWORD>(Buffer.size());
    ASSERT_EQ(RegQueryValueExW(Remote, u"Global", nullptr, nullptr, Buffer.data(), &Size), ERROR_SUCCESS);
    Stamps.push_back(reinterpret_cast<const TPERF_DATA_BLOCK*>(Buffer.data())->PerfTime100nSec);
  }
  RegCloseKey(Remote);
  for (std::size_t I = 1; I < Stamps.size(); ++I) EXPECT_GT(Stamps[I], Stamps[I - 1]) << "poll " << I;
}

TEST(RemoteComputer, GermanNamesArriveOverTheWire) {
  TServeProcess Server;
  TPerfTitles Remote(nullptr);
  Remote.SetComputerName(Server.ComputerName());
  Remote.SetLocaleID("007");
  TPerfTitles Local(nullptr);
  Local.SetLocaleID("007");
  ASSERT_EQ(Remote.TitleCount(), Local.TitleCount());
  for (int Position = 0; Position < Local.TitleCount(); ++Position)
    EXPECT_EQ(Remote.Title(Position), Local.Title(Position));
  EXPECT_EQ(Remote.TitleByIdx("6"), "Prozessorzeit (%)");
}

TEST(RemoteComputer, AStoppedServerGivesBadNetpathAndTheFixedMessages) {
  std::string Name;
  {
    TServeProcess Server;
    Name = Server.ComputerName();
  }
  const ProgramRun Dump = RunGaugery("--computer " + Name + " dump");
  EXPECT_EQ(Dump.ExitCode, 1);
  EXPECT_EQ(Dump.Err, "gaugery: Error connecting to remote registry on " + Name + " (53)\n");
  const ProgramRun Names = RunGaugery("--computer " + Name + " names");
  EXPECT_EQ(Names.Err, "gaugery: Cannot open remote registry on " + Name + " (53)\n");
  const ProgramRun Counters = RunGaugery("--computer " + Name + " counters Process");
  EXPECT_EQ(Counters.ExitCode, 2) << "counters reads this computer only";
  EXPECT_EQ(RunGaugery("--computer " + Name + " --replay x dump").ExitCode, 2);
}

TEST(RemoteComputer, AProtectedServerIsReadWithItsToken) {
  const std::string Token =
      ::testing::TempDir() + "gaugery-reader-token-" + std::to_string(getpid());
  const std::string Wrong = Token + "-wrong";
  std::ofstream(Token) << "s3cret\n";
  std::ofstream(Wrong) << "guess\n";
  TServeProcess Server({"--token", Token});
  const std::string Name = Server.ComputerName();
  const std::string Read = " read Memory \"Available Bytes\"";

  const ProgramRun Without = RunGaugery("--computer " + Name + Read);
  EXPECT_EQ(Without.ExitCode, 1);
  EXPECT_EQ(Without.Err, "gaugery: Error connecting to remote registry on " + Name +
                             " (53): the server asks for a token\n");
  const ProgramRun Names = RunGaugery("--computer " + Name + " names");
  EXPECT_EQ(Names.Err, "gaugery: Cannot open remote registry on " + Name +
                           " (53): the server asks for a token\n");
  const ProgramRun Refused = RunGaugery("--computer " + Name + " --token " + Wrong + Read);
  EXPECT_EQ(Refused.Err, "gaugery: Error connecting to remote registry on " + Name +
                             " (53): the server asks for a token, and refuses this one\n");

  const ProgramRun With = RunGaugery("--computer " + Name + " --token " + Token + Read);
  EXPECT_EQ(With.ExitCode, 0) << With.Err;
  EXPECT_GT(std::stod(With.Out), 0);
  const ProgramRun FromEnvironment =
      RunGaugery("--computer " + Name + Read, "GAUGERY_TOKEN_FILE=" + Token);
  EXPECT_EQ(FromEnvironment.ExitCode, 0) << FromEnvironment.Err;
  EXPECT_EQ(RunGaugery("--computer " + Name + " --token /nonexistent/token" + Read).Err,
            "gaugery: Cannot read the token file \"/nonexistent/token\"\n");
  // A file without end is read only so far, not until memory runs out.
  EXPECT_EQ(RunGaugery("--computer " + Name + " --token /dev/zero" + Read).Err,
            "gaugery: The token file \"/dev/zero\" must hold one word of visible ASCII characters "
            "(at most 4096)\n");
  std::remove(Token.c_str());
  std::remove(Wrong.c_str());
}

}  // namespace
}  // namespace gaugery
