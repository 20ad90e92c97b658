// The replay provider: serves performance data blocks held in memory, read from capture
// files for example, instead of live data. A capture file holds the raw bytes of one block exactly
// as a query of HKEY_PERFORMANCE_DATA returns them, so a block captured on Windows replays here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "registry/PerfProviders.h"

namespace gaugery {

using TBlockBytes = std::vector<BYTE>;

// The largest block a capture may hold: what a snapshot's buffer can grow to.
constexpr DWORD LargestCapturedBlock = 0x80000000u;

// Reads one capture file: its header first, then only the TotalByteLength bytes the
// header claims. Exception "not a complete performance data block: FILE (what is wrong)"
// for a file that holds no sound header (CheckBlock) with all its bytes, or claims more
// than LargestCapturedBlock; Exception "Cannot read capture file "FILE": reason" for one
// that cannot be read. A block whose objects are malformed is returned as it is: the
// snapshot that reads it keeps what is sound and says what is not.
GAUGERY_PLATFORM_API TBlockBytes ReadCaptureFile(const std::string& File);

// Makes Blocks the blocks to serve, starting with the first. Exception for an empty
// list, or for a block without a sound header (CheckBlock). The provider writes whole
// blocks and brings no names. Each successful query serves the next block and the
// last one repeats; a query answered with ERROR_MORE_DATA does not move on. "Global"
// serves a block as it is, an index list only the listed objects among those that lie
// inside the block, any other text the header alone. There is one replay per process:
// a later call replaces the blocks of an earlier one.
GAUGERY_PLATFORM_API TPerfProvider ReplayProvider(std::vector<TBlockBytes> Blocks);

// True when File starts as a counter log does (perf/log/CounterLog.h), not as a block.
GAUGERY_PLATFORM_API bool IsCounterLogFile(const std::string& File);

// Makes the samples of the counter log File (every volume) with times from Begin to End
// (file times) the blocks to serve, in order, exactly as recorded, with the log's names
// as the provider's (those in force at the first sample served). Each successful query
// serves the next sample and the last one repeats, as with blocks; gaps are passed over.
// Exception for a log that cannot be read, or has no sample in the window.
GAUGERY_PLATFORM_API TPerfProvider LogReplayProvider(const std::string& File, std::int64_t Begin,
                                                     std::int64_t End);

// What the log's reader found wrong since the last call (damage it skipped, a torn end),
// each warning once however often the log is read again from its start.
GAUGERY_PLATFORM_API std::vector<std::string> TakeReplayWarnings();

// True while a log replays and the last sample of its window has been served: every
// later query repeats it.
GAUGERY_PLATFORM_API bool ReplayedLogEnded();

// The recorded time from the log's sample served last to the one the next query serves
// (file time units, negative where the clock went back): what a replay at the recorded
// pace waits before its next query. None while blocks replay, before the first query
// after the log was started again or samples were passed over, and once the last sample
// of the window has been served.
GAUGERY_PLATFORM_API std::optional<std::int64_t> ReplayedLogStep();

// Passes over the log's next Count samples without serving them (as far as its last
// one), finding the one after them through the log's index; nothing happens while
// blocks replay.
GAUGERY_PLATFORM_API void SkipReplayedSamples(std::uint64_t Count);

// The samples of the log's window (counted by their numbers, so that a damaged one
// counts too), or the blocks that replay. A log's first sample is served next.
GAUGERY_PLATFORM_API std::uint64_t ReplayedSampleCount();

// The samples of a log's window, counted as ReplayedSampleCount does, and the times of
// its first and its last (file times); all 0 while blocks replay. The window's first
// sample is served next.
struct TReplayedWindow {
  std::uint64_t Samples = 0;
  std::int64_t FirstTime = 0;
  std::int64_t LastTime = 0;
};
GAUGERY_PLATFORM_API TReplayedWindow ReplayedLogWindow();

// The position in the log's window, counted from 1, of the first sample at or after
// Time (a file time): the first for a time before it, the last for a time after it; 0
// while blocks replay. The window's first sample is served next.
GAUGERY_PLATFORM_API std::uint64_t ReplayedSampleAt(std::int64_t Time);

// Serves the first block (of a log: the first sample of the window) again at the next
// query.
GAUGERY_PLATFORM_API void RestartReplay();

}  // namespace gaugery
