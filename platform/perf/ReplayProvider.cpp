#include "perf/ReplayProvider.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/Utf8File.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/LogFrame.h"
#include "perf/log/LogNames.h"
#include "registry/PerfBlockCheck.h"
#include "registry/PerfValueName.h"
#include "registry/Registry.h"

namespace gaugery {

namespace {

constexpr DWORD kHeaderSize = sizeof(TPERF_DATA_BLOCK);

// The blocks to serve and the position of the next one, or the log whose samples are
// served in turn. Collect is a plain function, so the state lives here; the lock makes
// replacing it safe while the registry queries.
struct TReplayState {
  std::mutex Lock;
  std::vector<TBlockBytes> Blocks;
  std::size_t Next = 0;
  // A log: its sample being served, and the window of times.
  std::unique_ptr<TCounterLogReader> Log;
  TBlockBytes LogSample;
  std::uint64_t LogNumber = 0;  // the log's number of LogSample
  std::int64_t LogTime = 0;     // and its time
  // The time of the sample the last query served, since the log was last started again.
  std::optional<std::int64_t> ServedTime;
  std::int64_t Begin = 0;
  std::int64_t End = 0;
  bool LogDone = false;
  std::vector<std::string> Warnings;
  // Every warning reported of the log in service: reading it again from its start meets
  // the same damage, which is said once.
  std::set<std::string> Reported;

  const TBlockBytes& Current() const { return Log ? LogSample : Blocks[Next]; }
  bool Empty() const { return Log ? LogSample.empty() : Blocks.empty(); }

  void Advance() {
    if (Log) {
      NextLogSample();
    } else {
      Next = std::min(Next + 1, Blocks.size() - 1);
    }
  }

  // Moves to the log's next sample inside the window; the last one stays otherwise.
  // False when it stays.
  bool NextLogSample() {
    TLogEntry Entry;
    bool Moved = false;
    while (!LogDone && !Moved) {
      LogDone = !Log->Next(Entry) || Entry.Time > End;
      Moved = !LogDone && Entry.Kind == TLogEntry::TKind::Sample;
    }
    if (Moved) {
      LogSample = std::move(Entry.Block);
      LogNumber = Entry.Number;
      LogTime = Entry.Time;
    }
    for (std::string& Warning : Log->TakeWarnings())
      if (Reported.insert(Warning).second) Warnings.push_back(std::move(Warning));
    return Moved;
  }

  void LastLogSample() {
    while (NextLogSample()) {
    }
  }

  // Moves Count samples on through the log's index, not sample by sample. Short of
  // Count samples in the window, the last one stays, as when passing over them one by one.
  void SkipLogSamples(std::uint64_t Count) {
    if (LogDone || Count == 0) return;
    ServedTime.reset();
    const std::uint64_t From = LogNumber;
    if (Count <= std::numeric_limits<std::uint64_t>::max() - From) {
      Log->SeekNumber(From + Count);
      if (NextLogSample()) return;
    }
    Log->SeekNumber(From + 1);
    LogDone = false;
    LastLogSample();
  }

  // The samples of the window, found from the numbers of its first and its last; the
  // window's first sample is served next.
  std::uint64_t CountLogSamples() {
    RestartLog();
    if (LogSample.empty()) return 0;
    const std::uint64_t First = LogNumber;
    // Only the samples from the last full one before the window's end are read; a log
    // whose clock went back is read from the window's start.
    Log->Seek(std::min(End, Log->Extent().LastTime));
    if (!NextLogSample() || LogNumber < First) RestartLog();
    LastLogSample();
    const std::uint64_t Last = LogNumber;
    RestartLog();
    return Last - First + 1;
  }

  // The position in the window (from 1) of the first sample at or after Time, the last
  // one when none is; the window's first sample is served next.
  std::uint64_t PositionAt(std::int64_t Time) {
    RestartLog();
    if (LogSample.empty()) return 0;
    const std::uint64_t First = LogNumber;
    std::uint64_t Position = 0;
    if (Time > LogTime) {
      Log->Seek(std::min(Time, End));
      // A log whose clock went back finds a sample before the window's first: counted on
      // from the start instead.
      if (NextLogSample() && LogNumber >= First) Position = LogNumber - First + 1;
    } else {
      Position = 1;
    }
    if (Position == 0) Position = CountLogSamples();
    RestartLog();
    return Position;
  }

  void RestartLog() {
    Log->Seek(Begin);
    LogSample.clear();
    LogNumber = 0;
    ServedTime.reset();
    LogDone = false;
    NextLogSample();
  }
};
TReplayState Replay;

[[noreturn]] void RaiseUnreadable(const std::string& File, const char* Reason) {
  throw Exception("Cannot read capture file \"" + File + "\": " + Reason);
}

[[noreturn]] void RaiseIncomplete(const std::string& File, const std::string& Problem) {
  throw Exception("not a complete performance data block: " + File + " (" + Problem + ")");
}

std::string ShortOf(std::uint64_t Had, DWORD Claimed) {
  return "the file has " + std::to_string(Had) + " of the " + std::to_string(Claimed) +
         " bytes its header claims";
}

// Runs Grow, which enlarges the buffer of File's block: out of memory, the file cannot
// be read.
template <typename TGrow>
void Growing(const std::string& File, TGrow Grow) {
  try {
    Grow();
  } catch (const std::bad_alloc&) {
    RaiseUnreadable(File, "not enough memory for the block its header claims");
  }
}

// Reads Stream onto the end of Bytes until it holds Count bytes or the file ends. The
// buffer grows as data arrives, so that a short file that claims a long block costs
// no more than its own length.
void ReadUpTo(std::FILE* Stream, const std::string& File, TBlockBytes& Bytes, std::size_t Count) {
  constexpr std::size_t Chunk = std::size_t{1} << 20;
  while (Bytes.size() < Count) {
    const std::size_t Had = Bytes.size();
    const std::size_t Wanted = std::min(Chunk, Count - Had);
    Growing(File, [&] { Bytes.resize(Had + Wanted); });
    const std::size_t Read = std::fread(Bytes.data() + Had, 1, Wanted, Stream);
    Bytes.resize(Had + Read);
    if (Read < Wanted) break;
  }
  if (std::ferror(Stream)) RaiseUnreadable(File, std::strerror(errno));
}

// The length of a regular file; none for a pipe or a device, whose length shows only
// by reading.
std::optional<std::uint64_t> RegularFileSize(std::FILE* Stream) {
  struct stat Status {};
  if (fstat(fileno(Stream), &Status) != 0 || !S_ISREG(Status.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(Status.st_size);
}

TPERF_DATA_BLOCK HeaderOf(const TBlockBytes& Block) {
  TPERF_DATA_BLOCK Header;
  std::memcpy(&Header, Block.data(), kHeaderSize);
  return Header;
}

TPERF_OBJECT_TYPE ObjectAt(const TBlockBytes& Block, std::uint64_t Offset) {
  TPERF_OBJECT_TYPE Object;
  std::memcpy(&Object, Block.data() + Offset, sizeof Object);
  return Object;
}

// Calls Visit(offset, object) for the objects of a block from the first, as long as
// each one lies inside the block's TotalByteLength.
template <typename TVisit>
void ForEachObjectInside(const TBlockBytes& Block, TVisit Visit) {
  const TPERF_DATA_BLOCK Header = HeaderOf(Block);
  std::uint64_t Offset = Header.HeaderLength;
  for (DWORD Index = 0; Index < Header.NumObjectTypes; ++Index) {
    if (Offset + sizeof(TPERF_OBJECT_TYPE) > Header.TotalByteLength) return;
    const TPERF_OBJECT_TYPE Object = ObjectAt(Block, Offset);
    // Every object is at least a header long, so the walk ends within the block.
    if (Object.TotalByteLength < sizeof(TPERF_OBJECT_TYPE) ||
        Offset + Object.TotalByteLength > Header.TotalByteLength) {
      return;
    }
    Visit(Offset, Object);
    Offset += Object.TotalByteLength;
  }
}

// The answer to a query for part of a block: its header and the objects selected.
class TFilteredBlock {
 public:
  TFilteredBlock(const TBlockBytes& Block, LPCWSTR ValueName)
      : Block_(Block), Header_(HeaderOf(Block)), ValueName_(ValueName) {
    Length_ = Header_.HeaderLength;
    if (ClassifyPerfValueName(ValueName) != TPerfValueKind::IndexList) return;
    Selecting_ = true;
    ForEachSelected([&](std::uint64_t, const TPERF_OBJECT_TYPE& Object) {
      Length_ += Object.TotalByteLength;
      ++NumObjectTypes_;
    });
  }

  DWORD Length() const { return static_cast<DWORD>(Length_); }
  DWORD NumObjectTypes() const { return NumObjectTypes_; }

  void Write(BYTE* Out) const {
    std::memcpy(Out, Block_.data(), Header_.HeaderLength);
    TPERF_DATA_BLOCK Header = Header_;
    Header.TotalByteLength = Length();
    Header.NumObjectTypes = NumObjectTypes_;
    std::memcpy(Out, &Header, kHeaderSize);
    BYTE* Cursor = Out + Header_.HeaderLength;
    ForEachSelected([&](std::uint64_t Offset, const TPERF_OBJECT_TYPE& Object) {
      std::memcpy(Cursor, Block_.data() + Offset, Object.TotalByteLength);
      Cursor += Object.TotalByteLength;
    });
  }

 private:
  template <typename TVisit>
  void ForEachSelected(TVisit Visit) const {
    if (!Selecting_) return;
    ForEachObjectInside(Block_, [&](std::uint64_t Offset, const TPERF_OBJECT_TYPE& Object) {
      if (PerfIndexListContains(ValueName_, Object.ObjectNameTitleIndex)) Visit(Offset, Object);
    });
  }

  const TBlockBytes& Block_;
  TPERF_DATA_BLOCK Header_;
  LPCWSTR ValueName_;
  bool Selecting_ = false;
  std::uint64_t Length_ = 0;
  DWORD NumObjectTypes_ = 0;
};

DWORD GAUGERY_WINAPI CollectReplay(LPWSTR ValueName, PPointer Data, LPDWORD TotalBytes,
                                   LPDWORD NumObjectTypes) {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  DWORD Space = *TotalBytes;
  *TotalBytes = 0;
  *NumObjectTypes = 0;
  if (Replay.Empty()) return ERROR_FILE_NOT_FOUND;
  const TBlockBytes& Block = Replay.Current();
  auto* Out = static_cast<BYTE*>(*Data);
  DWORD Written = 0;
  DWORD Objects = 0;
  if (ClassifyPerfValueName(ValueName) == TPerfValueKind::Global) {
    Written = static_cast<DWORD>(Block.size());
    if (Space < Written) return ERROR_MORE_DATA;
    std::memcpy(Out, Block.data(), Written);
    Objects = HeaderOf(Block).NumObjectTypes;
  } else {
    TFilteredBlock Filtered(Block, ValueName);
    Written = Filtered.Length();
    if (Space < Written) return ERROR_MORE_DATA;
    Filtered.Write(Out);
    Objects = Filtered.NumObjectTypes();
  }
  *Data = Out + Written;
  *TotalBytes = Written;
  *NumObjectTypes = Objects;
  if (Replay.Log) Replay.ServedTime = Replay.LogTime;
  Replay.Advance();
  return ERROR_SUCCESS;
}

// Makes Blocks, each with a sound header, the blocks to serve from the first on.
void ServeBlocks(std::vector<TBlockBytes> Blocks) {
  if (Blocks.empty()) throw Exception("No block to replay");
  for (const TBlockBytes& Block : Blocks) {
    const TBlockCheck Check = CheckBlock(Block.data(), static_cast<DWORD>(Block.size()));
    if (!Check.HeaderSound)
      throw Exception("not a complete performance data block (" + Check.Problem + ")");
  }
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  Replay.Blocks = std::move(Blocks);
  Replay.Next = 0;
  Replay.Log.reset();
}

// The provider that serves what the replay holds; it brings no names.
TPerfProvider ReplayingProvider() {
  TPerfProvider Provider;
  Provider.Name = "Replay";
  Provider.Collect = &CollectReplay;
  Provider.WritesWholeBlock = true;
  return Provider;
}

}  // namespace

TBlockBytes ReadCaptureFile(const std::string& File) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> Stream(OpenUtf8File(File, "rb"), &std::fclose);
  if (!Stream) RaiseUnreadable(File, std::strerror(errno));
  TBlockBytes Bytes;
  ReadUpTo(Stream.get(), File, Bytes, kHeaderSize);
  if (Bytes.empty()) RaiseIncomplete(File, "the file is empty");
  if (Bytes.size() < kHeaderSize) {
    RaiseIncomplete(
        File, "the file has " + std::to_string(Bytes.size()) + " bytes, fewer than a block header");
  }
  const TPERF_DATA_BLOCK Header = HeaderOf(Bytes);
  if (const char* Problem = HeaderProblem(Header)) RaiseIncomplete(File, Problem);
  const DWORD Claimed = Header.TotalByteLength;
  if (Claimed > LargestCapturedBlock) {
    RaiseIncomplete(File, "its header claims " + std::to_string(Claimed) +
                              " bytes, more than the 2 GiB a snapshot holds");
  }
  if (const std::optional<std::uint64_t> Size = RegularFileSize(Stream.get())) {
    if (*Size < Claimed) RaiseIncomplete(File, ShortOf(*Size, Claimed));
    Growing(File, [&] { Bytes.reserve(Claimed); });
  }
  ReadUpTo(Stream.get(), File, Bytes, Claimed);
  if (Bytes.size() < Claimed) RaiseIncomplete(File, ShortOf(Bytes.size(), Claimed));
  const TBlockCheck Check = CheckBlock(Bytes.data(), Claimed);
  if (!Check.HeaderSound) RaiseIncomplete(File, Check.Problem);
  return Bytes;
}

TPerfProvider ReplayProvider(std::vector<TBlockBytes> Blocks) {
  ServeBlocks(std::move(Blocks));
  return ReplayingProvider();
}

TPerfProvider LogSampleProvider(TBlockBytes Block, const TLogNames& Names) {
  ServeReplayBlock(std::move(Block));
  TPerfProvider Provider = ReplayingProvider();
  Provider.Names = counterlog::ProviderNames(Names);
  return Provider;
}

void ServeReplayBlock(TBlockBytes Block) {
  std::vector<TBlockBytes> Blocks;
  Blocks.push_back(std::move(Block));
  ServeBlocks(std::move(Blocks));
}

bool IsCounterLogFile(const std::string& File) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> Stream(OpenUtf8File(File, "rb"), &std::fclose);
  BYTE Magic[sizeof counterlog::kLogMagic];
  return Stream && std::fread(Magic, 1, sizeof Magic, Stream.get()) == sizeof Magic &&
         std::memcmp(Magic, counterlog::kLogMagic, sizeof Magic) == 0;
}

TPerfProvider LogReplayProvider(const std::string& File, std::int64_t Begin, std::int64_t End) {
  auto Log = std::make_unique<TCounterLogReader>(File);
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  Replay.Blocks.clear();
  Replay.Log = std::move(Log);
  Replay.Begin = Begin;
  Replay.End = End;
  Replay.Warnings.clear();
  Replay.Reported.clear();
  Replay.RestartLog();
  if (Replay.LogSample.empty()) {
    Replay.Log.reset();
    throw Exception("No sample of \"" + File + "\" to replay in the times asked for");
  }
  TPerfProvider Provider = ReplayingProvider();
  Provider.Names = counterlog::ProviderNames(Replay.Log->Names());
  return Provider;
}

std::vector<std::string> TakeReplayWarnings() {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  return std::exchange(Replay.Warnings, {});
}

bool ReplayedLogEnded() {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  return Replay.Log && Replay.LogDone;
}

std::optional<std::int64_t> ReplayedLogStep() {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  if (!Replay.Log || Replay.LogDone || !Replay.ServedTime) return std::nullopt;
  return Replay.LogTime - *Replay.ServedTime;
}

void SkipReplayedSamples(std::uint64_t Count) {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  if (!Replay.Log) return;
  Replay.SkipLogSamples(Count);
}

std::uint64_t ReplayedSampleCount() {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  return Replay.Log ? Replay.CountLogSamples() : Replay.Blocks.size();
}

TReplayedWindow ReplayedLogWindow() {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  if (!Replay.Log) return {};
  TReplayedWindow Window;
  Window.Samples = Replay.CountLogSamples();
  if (Window.Samples == 0) return Window;
  Window.FirstTime = Replay.LogTime;
  Replay.SkipLogSamples(Window.Samples - 1);
  Window.LastTime = Replay.LogTime;
  Replay.RestartLog();
  return Window;
}

std::uint64_t ReplayedSampleAt(std::int64_t Time) {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  return Replay.Log ? Replay.PositionAt(Time) : 0;
}

void RestartReplay() {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  if (Replay.Log) {
    Replay.RestartLog();
  } else {
    Replay.Next = 0;
  }
}

}  // namespace gaugery
