#include "Replay.h"

#include "framework/Exceptions.h"

#ifndef _WIN32
#include "perf/ProcProvider.h"
#include "perf/ReplayProvider.h"
#include "registry/PerfProviders.h"
#endif

namespace gaugery::cli {

#ifdef _WIN32

void UseReplay(const std::vector<std::string>&) {
  throw Exception("--replay is not available on Windows: the data comes from the system");
}

void RestartReplayedSamples() {}

#else

namespace {

bool Replaying = false;

}  // namespace

void UseReplay(const std::vector<std::string>& Files) {
  TPerfProvider Names = ProcProvider();
  Names.Open = nullptr;
  Names.Collect = nullptr;
  Names.Close = nullptr;
  SetPerfProviders({ReplayProvider(Files), Names});
  Replaying = true;
}

void RestartReplayedSamples() {
  if (Replaying) RestartReplay();
}

#endif

}  // namespace gaugery::cli
