#include "Replay.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "PerfTitles.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"
#include "perf/ObjectNames.h"
#include "perf/ReplayProvider.h"
#include "perf/log/CounterLogReader.h"
#include "registry/PerfBlockCheck.h"
#include "registry/PerfProviders.h"
#include "registry/Registry.h"

namespace gaugery::cli {

namespace {

bool Replaying = false;
bool LogInService = false;
// The log in service, whose clock typed times are read on, and that clock once read.
std::string LogFile;
std::optional<std::pair<std::int64_t, LONG>> LogClock;

// The name tables of the providers in service, as providers that bring only names. With
// none in service (Windows, while the system's registry answers) the virtual registry
// needs names of its own: the project's English and German tables, which name what
// Windows and the /proc provider share under the same indexes.
std::vector<TPerfProvider> NameTablesInService() {
  std::vector<TPerfProvider> Tables;
  for (TPerfProvider Names : PerfProviders()) {
    Names.Open = nullptr;
    Names.Collect = nullptr;
    Names.Close = nullptr;
    Names.WritesWholeBlock = false;
    Tables.push_back(std::move(Names));
  }
  if (Tables.empty()) Tables.push_back({.Name = "Names", .Names = ObjectNames()});
  return Tables;
}

// Serves Blocks through the virtual registry, with the names of NameTablesInService.
void ServeBlocks(std::vector<TBlockBytes> Blocks) {
  std::vector<TPerfProvider> Providers{ReplayProvider(std::move(Blocks))};
  for (TPerfProvider& Names : NameTablesInService()) Providers.push_back(std::move(Names));
  SetPerfProviders(std::move(Providers));
  Replaying = true;
  LogInService = false;
}

// The clock of Log: its first sample's time (a typed time of day falls on that day) and
// the recording machine's zone.
std::pair<std::int64_t, LONG> ClockOf(TCounterLogReader& Log) {
  const TLogExtent Extent = Log.Extent();
  return {Extent.Samples != 0 ? Extent.FirstTime : Log.Machine().StartTime, Log.Machine().Bias};
}

std::int64_t FileTimeOnClock(const TLogTime& Time, const std::pair<std::int64_t, LONG>& Clock) {
  return LogFileTime(Time, Clock.first, Clock.second);
}

// The clock of the log in service, read from it the first time it is asked for.
const std::pair<std::int64_t, LONG>& ReplayedLogClock() {
  if (!LogInService) throw Exception("No counter log replays");
  if (!LogClock) {
    TCounterLogReader Log(LogFile);
    LogClock = ClockOf(Log);
  }
  return *LogClock;
}

// The file times of Window in the log File; the whole log where it sets none.
std::pair<std::int64_t, std::int64_t> WindowTimes(const std::string& File,
                                                  const TLogWindow& Window) {
  std::pair<std::int64_t, std::int64_t> Times{std::numeric_limits<std::int64_t>::min(),
                                              std::numeric_limits<std::int64_t>::max()};
  if (!Window.Begin && !Window.End) return Times;
  TCounterLogReader Log(File);
  const std::pair<std::int64_t, LONG> Clock = ClockOf(Log);
  if (Window.Begin) Times.first = FileTimeOnClock(*Window.Begin, Clock);
  if (Window.End) Times.second = FileTimeOnClock(*Window.End, Clock);
  if (Times.first > Times.second) throw Exception("--begin is later than --end");
  return Times;
}

#ifndef _WIN32

// The live block, queried into a buffer large enough for most machines at once: every
// answer ERROR_MORE_DATA costs the providers a whole collection. The buffer is left
// uninitialised and only the bytes written are copied out, so a small block does not pay
// for zero-filling (and faulting in) the megabyte offered.
std::optional<TBlockBytes> QueryLiveBlock(const std::string& ValueName) {
  const WideString Name = ToWide(ValueName);
  DWORD Capacity = DWORD{1} << 20;
  for (;;) {
    const auto Buffer = std::make_unique_for_overwrite<BYTE[]>(Capacity);
    DWORD Size = Capacity;
    const LONG Result =
        RegQueryValueExW(HKEY_PERFORMANCE_DATA, Name.c_str(), nullptr, nullptr, Buffer.get(), &Size);
    if (Result == ERROR_MORE_DATA && Capacity < LargestCapturedBlock) {
      Capacity *= 2;
      continue;
    }
    if (Result != ERROR_SUCCESS || Size > Capacity) return std::nullopt;
    return TBlockBytes(Buffer.get(), Buffer.get() + Size);
  }
}

#endif

}  // namespace

void UseReplay(const std::vector<std::string>& Files, const TLogWindow& Window) {
  const bool AnyLog = std::any_of(Files.begin(), Files.end(), IsCounterLogFile);
  if (AnyLog && Files.size() > 1)
    throw Exception("A counter log replays alone, without other files");
  if (AnyLog) {
    const auto [Begin, End] = WindowTimes(Files[0], Window);
    // A log brings the names of the machine it was recorded on.
    SetPerfProviders({LogReplayProvider(Files[0], Begin, End)});
    Replaying = true;
    LogInService = true;
    LogFile = Files[0];
    LogClock.reset();
    return;
  }
  if (Window.Begin || Window.End)
    throw Exception("--begin and --end choose times of a counter log, not of capture files");
  std::vector<TBlockBytes> Blocks;
  for (const std::string& File : Files) Blocks.push_back(ReadCaptureFile(File));
  ServeBlocks(std::move(Blocks));
}

void RestartReplayedSamples() {
  if (Replaying) RestartReplay();
}

bool ReplayInService() { return Replaying; }

bool ReplayingLog() { return LogInService; }

std::int64_t ReplayedLogFileTime(const TLogTime& Time) {
  return FileTimeOnClock(Time, ReplayedLogClock());
}

LONG ReplayedLogBias() { return ReplayedLogClock().second; }

std::unique_lock<std::mutex> HoldReplayedLog() {
  static std::mutex Held;
  return LogInService ? std::unique_lock<std::mutex>(Held) : std::unique_lock<std::mutex>();
}

void PrintReplayWarnings(std::ostream& Out) {
  for (const std::string& Warning : TakeReplayWarnings()) Out << "gaugery: " << Warning << "\n";
}

#ifdef _WIN32

// Serving the held block would put the virtual registry, and with it our name tables,
// in front of the system's.
void HoldOneSample(const std::string& /*ValueName*/) {}

#else

void HoldOneSample(const std::string& ValueName) {
  if (Replaying) return;
  std::optional<TBlockBytes> Block = QueryLiveBlock(ValueName);
  if (!Block || !CheckBlock(Block->data(), static_cast<DWORD>(Block->size())).HeaderSound) return;
  ServeBlocks({std::move(*Block)});
}

#endif

std::string IndexListValueName(const std::vector<DWORD>& Indexes) {
  std::string Name;
  for (const DWORD Index : Indexes) {
    if (!Name.empty()) Name += ' ';
    Name += std::to_string(Index);
  }
  return Name.empty() ? "Global" : Name;
}

std::string ObjectsValueName(const std::vector<std::string>& Titles, const std::string& Locale) {
  TPerfTitles Table(nullptr);
  Table.SetLocaleID(Locale);
  std::vector<DWORD> Indexes;
  for (const std::string& Title : Titles) {
    const std::int32_t Index = StrToInt(Table.GetIdxOfItem(Title));
    if (Index >= 0) Indexes.push_back(static_cast<DWORD>(Index));
  }
  return IndexListValueName(Indexes);
}

}  // namespace gaugery::cli
