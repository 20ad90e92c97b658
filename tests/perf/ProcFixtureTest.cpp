// Machines CI does not have, captured under fixtures/: each one's `gaugery dump --json` and
// /metrics text are compared whole with the stored ones. GAUGERY_UPDATE_FIXTURES=1 writes
// them instead (fixtures/README.md).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ProcFixture.h"
#include "Promtool.h"
#include "perf/TitleIndexes.h"

namespace gaugery::test {
namespace {

const std::filesystem::path Fixtures = GAUGERY_FIXTURES_DIR;
const auto Machines = ::testing::Values("many-cpus", "nvme-dm-md", "process-names");

// "nvme-dm-md" as a test name: "nvmedmmd".
std::string MachineTestName(const ::testing::TestParamInfo<const char*>& Info) {
  std::string Name = Info.param;
  std::erase(Name, '-');
  return Name;
}

std::string StoredText(const std::filesystem::path& File) {
  std::ifstream In(File, std::ios::binary);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

bool UpdatingFixtures() {
  const char* Update = std::getenv("GAUGERY_UPDATE_FIXTURES");
  return Update && std::string(Update) == "1";
}

// In memory where the machine has it: making 10,000 descriptor entries on a busy disk
// takes seconds.
std::filesystem::path ScratchDirectory() {
  std::error_code Error;
  if (std::filesystem::is_directory("/dev/shm", Error) && access("/dev/shm", W_OK) == 0)
    return "/dev/shm";
  return ::testing::TempDir();
}

class ProcFixtureTest : public ::testing::TestWithParam<const char*> {
 protected:
  struct TRead {
    TFixtureOutput Output;
    nlohmann::json Dump;
  };

  std::filesystem::path Source() const { return Fixtures / GetParam(); }

  // Each fixture is read once for all the tests of the program.
  const TRead& Read() const {
    static std::map<std::string, TRead> Reads;
    auto Found = Reads.find(GetParam());
    if (Found == Reads.end()) {
      const auto Scratch = ScratchDirectory() / (std::string("gaugery-fixture-") + GetParam() +
                                                 "-" + std::to_string(getpid()));
      TFixtureOutput Output = RenderFixture(Source(), Scratch);
      std::filesystem::remove_all(Scratch);
      nlohmann::json Dump = nlohmann::json::parse(Output.Dump);
      Found = Reads.emplace(GetParam(), TRead{std::move(Output), std::move(Dump)}).first;
    }
    return Found->second;
  }

  const nlohmann::json& Object(const std::string& Title) const {
    static const nlohmann::json None;
    for (const nlohmann::json& Object : Read().Dump["objects"])
      if (Object["title"] == Title) return Object;
    ADD_FAILURE() << "no object " << Title;
    return None;
  }

  std::vector<std::string> InstanceNames(const std::string& Title) const {
    std::vector<std::string> Names;
    for (const nlohmann::json& Instance : Object(Title)["instances"])
      Names.push_back(Instance["name"]);
    return Names;
  }

  // The value of counter Index of the instance Name of object Title.
  std::int64_t Value(const std::string& Title, const std::string& Name, DWORD Index) const {
    for (const nlohmann::json& Instance : Object(Title)["instances"])
      if (Instance["name"] == Name) return Instance["values"][std::to_string(Index)];
    ADD_FAILURE() << "no instance " << Name << " of " << Title;
    return -1;
  }
};

TEST_P(ProcFixtureTest, ServesTheStoredDumpAndMetricsWhole) {
  const TFixtureOutput& Rendered = Read().Output;
  if (UpdatingFixtures()) {
    std::ofstream(Source() / "expected-dump.json", std::ios::binary) << Rendered.Dump;
    std::ofstream(Source() / "expected-metrics.txt", std::ios::binary) << Rendered.Metrics;
    GTEST_SKIP() << "wrote the expected files of " << GetParam();
  }
  EXPECT_EQ(Rendered.Dump, StoredText(Source() / "expected-dump.json"));
  EXPECT_EQ(Rendered.Metrics, StoredText(Source() / "expected-metrics.txt"));
}

TEST_P(ProcFixtureTest, StoredMetricsPassPromtool) {
  if (std::system("promtool --version > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "promtool is not installed (Debian package prometheus)";
  EXPECT_EQ(PromtoolProblems(StoredText(Source() / "expected-metrics.txt")), "");
}

INSTANTIATE_TEST_SUITE_P(Machines, ProcFixtureTest, Machines, MachineTestName);

// What each machine is captured for, so that a regeneration cannot bless a wrong block.
using ProcFixtureFacts = ProcFixtureTest;

TEST_P(ProcFixtureFacts, HoldWhatTheMachineIsCapturedFor) {
  const std::string Machine = GetParam();
  if (Machine == "many-cpus") {
    const auto Processors = InstanceNames("Processor");
    ASSERT_EQ(Processors.size(), 65u);
    EXPECT_EQ(Processors[63], "63");
    EXPECT_EQ(Processors[64], "_Total");
    // Each processor's interrupts are the sum of its column in /proc/interrupts.
    EXPECT_EQ(Value("Processor", "63", InterruptsIndex), 1063 + 7 + 500'000 + 63 * 13);
    EXPECT_EQ(InstanceNames("Paging File"), std::vector<std::string>{"_Total"});
    EXPECT_EQ(Value("Network Interface", "eno1", CurrentBandwidthIndex), 25'000'000'000);
    EXPECT_EQ(Value("Network Interface", "eno2", CurrentBandwidthIndex),
              0);  // a link that is down: -1
  } else if (Machine == "nvme-dm-md") {
    EXPECT_EQ(InstanceNames("PhysicalDisk"),
              (std::vector<std::string>{"0 nvme0n1", "1 nvme1n1", "2 nvme2n1", "_Total"}));
    // The bind mounts are file systems of their own; NFS is left out; /tmp is the one on top.
    EXPECT_EQ(
        InstanceNames("LogicalDisk"),
        (std::vector<std::string>{"/", "/run", "/boot/efi", "/srv/raid", "/var/lib/containers",
                                  "/mnt/raid copy", "/tmp", "_Total"}));
    EXPECT_EQ(InstanceNames("Paging File"),
              (std::vector<std::string>{"/dev/dm-1", "/swapfile", "_Total"}));
  } else {
    const auto Processes = InstanceNames("Process");
    for (const char* Name : {"tmux: server", "(sd-pam)", "a) b (c", "line\nbreak"})
      EXPECT_NE(std::find(Processes.begin(), Processes.end(), Name), Processes.end()) << Name;
    EXPECT_EQ(std::count(Processes.begin(), Processes.end(), "Web Content"), 2);
    EXPECT_EQ(Value("Process", "fd-hog", HandleCountIndex), 10'000);
  }
}

INSTANTIATE_TEST_SUITE_P(Machines, ProcFixtureFacts, Machines, MachineTestName);

TEST(MachineDescription, ReadsEveryKeyWithCommentsAndAMountPointWithSpaces) {
  const TMachineDescription Machine = ParseMachineDescription(
      "# a comment\n\nhost box\ntime 1765091108123\nuptime 5000\nticks_per_second 250\n"
      "processors 8\nstatvfs 4096 100 50 40 /mnt/my data\ndescriptors 7 3\n");
  EXPECT_EQ(Machine.Host, "box");
  EXPECT_EQ(Machine.UnixMilliseconds, 1765091108123);
  EXPECT_EQ(Machine.TicksPerSecond, 250u);
  EXPECT_EQ(Machine.Processors, 8u);
  ASSERT_TRUE(Machine.Spaces.contains("/mnt/my data"));
  EXPECT_EQ(Machine.Spaces.at("/mnt/my data").f_bavail, 40u);
  EXPECT_EQ(Machine.Descriptors, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{7, 3}}));

  const TMachineFacts Facts = FactsOf(Machine, "/scratch");
  const TSampleClock Clock = Facts.Clock();
  EXPECT_EQ(Clock.Now - Clock.Boot, 5000 * 10'000);
  struct statvfs Space {};
  EXPECT_EQ(Facts.StatVfs("/scratch/mnt/my data", Space), 0);
  EXPECT_EQ(Space.f_frsize, 4096u);
  EXPECT_EQ(Facts.StatVfs("/mnt/my data", Space), -1);        // not under the tree
  EXPECT_EQ(Facts.StatVfs("/scratch/mnt/other", Space), -1);  // not described
}

TEST(MachineDescription, RejectsALineItDoesNotUnderstandWithItsNumber) {
  const std::pair<const char*, const char*> Cases[] = {
      {"host a\nspeed 3\n", "machine.txt line 2: unknown key \"speed\""},
      {"host a\ntime soon\n", "machine.txt line 2: \"soon\" is not a number"},
      {"host a\ndescriptors 12\n", "machine.txt line 2: \"\" is not a number"},
      {"host a\nprocessors 2 3\n", "machine.txt line 2: more than processors takes"},
      {"host a\nstatvfs 4096 1 1 1\n", "machine.txt line 2: statvfs needs a mount point"},
      {"host a\nticks_per_second 0\n", "machine.txt line 2: ticks_per_second must not be 0"},
      {"time 1\n", "machine.txt names no host"},
  };
  for (const auto& [Text, Message] : Cases) {
    try {
      ParseMachineDescription(Text);
      ADD_FAILURE() << "accepted " << Text;
    } catch (const std::runtime_error& Error) {
      EXPECT_STREQ(Error.what(), Message);
    }
  }
}

}  // namespace
}  // namespace gaugery::test
