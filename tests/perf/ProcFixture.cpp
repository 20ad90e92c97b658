#include "ProcFixture.h"

#include <charconv>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "BlockDump.h"
#include "DumpJson.h"
#include "PerfData.h"
#include "PerfTitles.h"
#include "SampleCheck.h"
#include "ServeSamples.h"
#include "ServedNames.h"
#include "perf/PerfBlockWriter.h"
#include "perf/proc/ProcProvider.h"
#include "registry/Registry.h"

namespace gaugery::test {

namespace {

// File time of the Unix epoch, 1970-01-01 UTC.
constexpr std::int64_t UnixEpochAsFileTime = 116'444'736'000'000'000;
constexpr std::int64_t FileTimePerMillisecond = FileTimeFrequency / 1000;

[[noreturn]] void Fail(int Line, const std::string& What) {
  throw std::runtime_error("machine.txt line " + std::to_string(Line) + ": " + What);
}

std::string_view NextWord(std::string_view& Rest) {
  const std::size_t Start = std::min(Rest.find_first_not_of(' '), Rest.size());
  Rest.remove_prefix(Start);
  const std::size_t End = std::min(Rest.find(' '), Rest.size());
  std::string_view Word = Rest.substr(0, End);
  Rest.remove_prefix(End);
  return Word;
}

template <typename TNumber>
TNumber NextNumber(std::string_view& Rest, int Line) {
  const std::string_view Word = NextWord(Rest);
  TNumber Number{};
  const auto [End, Error] = std::from_chars(Word.data(), Word.data() + Word.size(), Number);
  if (Word.empty() || Error != std::errc() || End != Word.data() + Word.size())
    Fail(Line, "\"" + std::string(Word) + "\" is not a number");
  return Number;
}

void ParseStatVfs(std::string_view Rest, int Line, TMachineDescription& Machine) {
  struct statvfs Space {};
  Space.f_frsize = Space.f_bsize = NextNumber<unsigned long>(Rest, Line);
  Space.f_blocks = NextNumber<fsblkcnt_t>(Rest, Line);
  Space.f_bfree = NextNumber<fsblkcnt_t>(Rest, Line);
  Space.f_bavail = NextNumber<fsblkcnt_t>(Rest, Line);
  const std::size_t Start = Rest.find_first_not_of(' ');
  if (Start == std::string_view::npos) Fail(Line, "statvfs needs a mount point");
  Machine.Spaces[std::string(Rest.substr(Start))] = Space;
}

void ParseLine(std::string_view Rest, int Line, TMachineDescription& Machine) {
  const std::string_view Key = NextWord(Rest);
  if (Key == "host") {
    Machine.Host = NextWord(Rest);
  } else if (Key == "time") {
    Machine.UnixMilliseconds = NextNumber<std::int64_t>(Rest, Line);
  } else if (Key == "uptime") {
    Machine.UptimeMilliseconds = NextNumber<std::int64_t>(Rest, Line);
  } else if (Key == "ticks_per_second") {
    Machine.TicksPerSecond = NextNumber<std::uint64_t>(Rest, Line);
    if (Machine.TicksPerSecond == 0) Fail(Line, "ticks_per_second must not be 0");
  } else if (Key == "processors") {
    Machine.Processors = NextNumber<std::uint32_t>(Rest, Line);
  } else if (Key == "statvfs") {
    ParseStatVfs(Rest, Line, Machine);
    return;
  } else if (Key == "descriptors") {
    const auto Pid = NextNumber<std::uint32_t>(Rest, Line);
    Machine.Descriptors.emplace_back(Pid, NextNumber<std::uint32_t>(Rest, Line));
  } else {
    Fail(Line, "unknown key \"" + std::string(Key) + "\"");
  }
  if (!NextWord(Rest).empty()) Fail(Line, "more than " + std::string(Key) + " takes");
}

std::string FileText(const std::filesystem::path& File) {
  std::ifstream In(File, std::ios::binary);
  if (!In) throw std::runtime_error("cannot read " + File.string());
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

// The descriptors as a listing finds them: one entry per open descriptor.
void MakeDescriptorDirectories(const TMachineDescription& Machine,
                               const std::filesystem::path& Tree) {
  for (const auto& [Pid, Count] : Machine.Descriptors) {
    const std::filesystem::path Directory = Tree / "proc" / std::to_string(Pid) / "fd";
    std::filesystem::create_directories(Directory);
    for (std::uint32_t Descriptor = 0; Descriptor < Count; ++Descriptor)
      std::ofstream(Directory / std::to_string(Descriptor));
  }
}

std::string DumpText(const std::string& Host) {
  TPerfData Data("Global", "");
  cli::CheckLatestSample(Data);
  TPerfTitles Titles(nullptr);
  Titles.SetLocaleID("009");
  BlockDump Block = DumpBlock(Data, Titles);
  Block.SystemName = Host;
  return cli::DumpJsonText(Block) + "\n";
}

std::string MetricsText() {
  cli::TServeSamples Samples(std::chrono::hours(1), cli::EnglishHelpTexts());
  const auto Text = Samples.Metrics(exposition::TExpositionFormat::Prometheus);
  if (!Text) throw std::runtime_error("no block for /metrics");
  return *Text;
}

// The default providers come back however the rendering ends.
struct TProvidersRestored {
  ~TProvidersRestored() { RestoreDefaultPerfProviders(); }
};

}  // namespace

TMachineDescription ParseMachineDescription(std::string_view Text) {
  TMachineDescription Machine;
  for (int Line = 1; !Text.empty(); ++Line) {
    const std::size_t End = std::min(Text.find('\n'), Text.size());
    const std::string_view Content = Text.substr(0, End);
    Text.remove_prefix(std::min(End + 1, Text.size()));
    if (Content.find_first_not_of(' ') == std::string_view::npos || Content.starts_with('#'))
      continue;
    ParseLine(Content, Line, Machine);
  }
  if (Machine.Host.empty()) throw std::runtime_error("machine.txt names no host");
  return Machine;
}

TMachineFacts FactsOf(const TMachineDescription& Machine, const std::string& Root) {
  TSampleClock Clock;
  Clock.Now = UnixEpochAsFileTime + Machine.UnixMilliseconds * FileTimePerMillisecond;
  Clock.Monotonic = Machine.UptimeMilliseconds * FileTimePerMillisecond;
  Clock.Boot = Clock.Now - Clock.Monotonic;
  Clock.TicksPerSecond = Machine.TicksPerSecond;
  Clock.Processors = Machine.Processors;
  TMachineFacts Facts;
  Facts.Clock = [Clock] { return Clock; };
  Facts.StatVfs = [Spaces = Machine.Spaces, Root](const char* Path, struct statvfs& Space) {
    const std::string_view Under(Path);
    if (!Under.starts_with(Root)) return -1;
    const auto Found = Spaces.find(std::string(Under.substr(Root.size())));
    if (Found == Spaces.end()) return -1;
    Space = Found->second;
    return 0;
  };
  return Facts;
}

TFixtureOutput RenderFixture(const std::filesystem::path& Source,
                             const std::filesystem::path& Scratch) {
  const TMachineDescription Machine = ParseMachineDescription(FileText(Source / "machine.txt"));
  std::filesystem::remove_all(Scratch);
  std::filesystem::create_directories(Scratch);
  std::filesystem::copy(Source / "tree", Scratch, std::filesystem::copy_options::recursive);
  MakeDescriptorDirectories(Machine, Scratch);

  const std::string Root = Scratch.string();
  TProvidersRestored Restored;
  SetPerfProviders({ProcProvider(Root, FactsOf(Machine, Root))});
  return {DumpText(Machine.Host), MetricsText()};
}

}  // namespace gaugery::test
