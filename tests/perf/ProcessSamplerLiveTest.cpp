// Sampling processes that end or turn into zombies while the sample is taken.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "LiveBlock.h"
#include "perf/proc/SystemObjects.h"

namespace gaugery::test {
namespace {

constexpr DWORD WorkingSet = 180, ThreadCount = 680, HandleCount = 952;

bool IsZombie(pid_t Pid) {
  std::ifstream Stat("/proc/" + std::to_string(Pid) + "/stat");
  std::string Text((std::istreambuf_iterator<char>(Stat)), std::istreambuf_iterator<char>());
  std::size_t Close = Text.rfind(')');
  return Close != std::string::npos && Text.compare(Close, 4, ") Z ") == 0;
}

bool Listed(const TProcessSampler& Sampler, pid_t Pid) {
  auto Pids = Sampler.Pids();
  return std::find(Pids.begin(), Pids.end(), static_cast<std::uint32_t>(Pid)) != Pids.end();
}

TEST(ProcessSamplerLiveTest, EndedProcessesAreLeftOutAndUnreadableFilesGiveZeros) {
  pid_t Ended = fork();
  if (Ended == 0) {
    pause();
    _exit(0);
  }
  pid_t Zombie = fork();
  if (Zombie == 0) _exit(0);
  for (int Try = 0; Try < 500 && !IsZombie(Zombie); ++Try) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(IsZombie(Zombie));

  TProcessSampler Sampler;
  Sampler.ListProcesses();
  EXPECT_TRUE(Listed(Sampler, Ended));
  EXPECT_TRUE(Listed(Sampler, Zombie));
  kill(Ended, SIGKILL);
  waitpid(Ended, nullptr, 0);

  std::vector<BYTE> Buffer(16 << 20);
  TPerfBlockWriter Writer(Buffer.data(), static_cast<DWORD>(Buffer.size()));
  WriteProcessObject(Writer, Sampler, TSampleClock::Read());
  waitpid(Zombie, nullptr, 0);

  ASSERT_FALSE(Writer.Overflowed());
  EXPECT_EQ(Writer.ObjectCount(), 1u);
  TDecodedObject Processes = DecodeObject(Buffer.data());
  EXPECT_EQ(ProcessInstance(Processes, static_cast<std::uint32_t>(Ended)), nullptr);
  const TDecodedInstance* Dead = ProcessInstance(Processes, static_cast<std::uint32_t>(Zombie));
  ASSERT_NE(Dead, nullptr);
  EXPECT_EQ(Dead->Values.at(WorkingSet), 0u);
  EXPECT_EQ(Dead->Values.at(HandleCount), 0u);
  EXPECT_EQ(Processes.Instances.back().Name, "_Total");
  EXPECT_GT(Processes.Instances.back().Values.at(ThreadCount), 0u);
}

TEST(ProcessSamplerLiveTest, ReadOfAProcessThatIsGoneFails) {
  pid_t Child = fork();
  if (Child == 0) _exit(0);
  waitpid(Child, nullptr, 0);
  TProcessSampler Sampler;
  Sampler.ListProcesses();
  TProcessSample Sample;
  EXPECT_FALSE(Sampler.Read(static_cast<std::uint32_t>(Child), TSampleClock::Read(), Sample));
  EXPECT_TRUE(Sampler.Read(static_cast<std::uint32_t>(getpid()), TSampleClock::Read(), Sample));
  EXPECT_EQ(Sample.Pid, static_cast<std::uint32_t>(getpid()));
}

}  // namespace
}  // namespace gaugery::test
