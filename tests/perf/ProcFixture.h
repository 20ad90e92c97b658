// A machine captured under fixtures/NAME: tree/, the files the /proc provider reads, and
// machine.txt, what it learns other than from files (host name, clocks, the space of
// file systems) and the descriptor directories, given as counts rather than thousands
// of files in git. See fixtures/README.md.
#pragma once

#include <sys/statvfs.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "perf/proc/ProcRoot.h"

namespace gaugery::test {

struct TMachineDescription {
  std::string Host;
  std::int64_t UnixMilliseconds = 0;
  std::int64_t UptimeMilliseconds = 0;
  std::uint64_t TicksPerSecond = 100;
  std::uint32_t Processors = 1;
  std::map<std::string, struct statvfs> Spaces;                      // by mount point
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Descriptors;  // pid, count
};

// Lines of "KEY VALUE...": host NAME, time UNIX_MS, uptime MS, ticks_per_second N,
// processors N, statvfs FRSIZE BLOCKS BFREE BAVAIL MOUNT POINT, descriptors PID COUNT;
// "#" starts a comment line. Throws std::runtime_error "machine.txt line N: ..." for a
// line it does not understand.
TMachineDescription ParseMachineDescription(std::string_view Text);

// The clocks and statvfs of Machine for a tree at Root.
TMachineFacts FactsOf(const TMachineDescription& Machine, const std::string& Root);

// What a fixture's machine serves: the text of `gaugery dump --json` and of /metrics.
struct TFixtureOutput {
  std::string Dump;
  std::string Metrics;
};

// Copies the fixture at Source to Scratch (emptied first), makes its descriptor
// directories there, and reads it with the /proc provider; the default providers are
// back in service afterwards.
TFixtureOutput RenderFixture(const std::filesystem::path& Source,
                             const std::filesystem::path& Scratch);

}  // namespace gaugery::test
