#include "Replay.h"

#include "framework/Exceptions.h"

#ifndef _WIN32
#include <optional>
#include <utility>

#include "perf/ReplayProvider.h"
#include "registry/PerfBlockCheck.h"
#include "registry/PerfProviders.h"
#include "registry/Registry.h"
#endif

namespace gaugery::cli {

#ifdef _WIN32

void UseReplay(const std::vector<std::string>&) {
  throw Exception("--replay is not available on Windows: the data comes from the system");
}

void RestartReplayedSamples() {}

void HoldOneSample() {}

#else

namespace {

bool Replaying = false;

// Serves Blocks in place of the providers in service, which keep their name tables.
void ServeBlocks(std::vector<TBlockBytes> Blocks) {
  std::vector<TPerfProvider> Providers{ReplayProvider(std::move(Blocks))};
  for (TPerfProvider Names : PerfProviders()) {
    Names.Open = nullptr;
    Names.Collect = nullptr;
    Names.Close = nullptr;
    Names.WritesWholeBlock = false;
    Providers.push_back(std::move(Names));
  }
  SetPerfProviders(std::move(Providers));
  Replaying = true;
}

// The live block, queried into a buffer large enough for most machines at once: every
// answer ERROR_MORE_DATA costs the providers a whole collection.
std::optional<TBlockBytes> QueryLiveBlock() {
  TBlockBytes Block(DWORD{1} << 20);
  for (;;) {
    auto Size = static_cast<DWORD>(Block.size());
    const LONG Result =
        RegQueryValueExW(HKEY_PERFORMANCE_DATA, u"Global", nullptr, nullptr, Block.data(), &Size);
    if (Result == ERROR_MORE_DATA && Block.size() < LargestCapturedBlock) {
      Block.resize(Block.size() * 2);
      continue;
    }
    if (Result != ERROR_SUCCESS || Size > Block.size()) return std::nullopt;
    Block.resize(Size);
    return Block;
  }
}

}  // namespace

void UseReplay(const std::vector<std::string>& Files) {
  std::vector<TBlockBytes> Blocks;
  for (const std::string& File : Files) Blocks.push_back(ReadCaptureFile(File));
  ServeBlocks(std::move(Blocks));
}

void RestartReplayedSamples() {
  if (Replaying) RestartReplay();
}

void HoldOneSample() {
  if (Replaying) return;
  std::optional<TBlockBytes> Block = QueryLiveBlock();
  if (!Block || !CheckBlock(Block->data(), static_cast<DWORD>(Block->size())).HeaderSound) return;
  ServeBlocks({std::move(*Block)});
}

#endif

}  // namespace gaugery::cli
