#include "perf/log/CounterLogWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "framework/Exceptions.h"
#include "framework/Utf8File.h"
#include "framework/WinTime.h"
#include "perf/log/BlockDelta.h"
#include "perf/log/LogFrame.h"
#include "perf/log/LogRecords.h"
#include "perf/log/LogVolumes.h"
#include "registry/PerfBlockCheck.h"

namespace gaugery {

using namespace counterlog;

namespace {

constexpr unsigned kLongestDeltaChain = 60;

// The time a block's header carries, or now when it carries no valid calendar time.
std::int64_t BlockTime(const void* Block) {
  TPERF_DATA_BLOCK Header;
  std::memcpy(&Header, Block, sizeof Header);
  FILETIME Time;
  return SystemTimeToFileTime(&Header.SystemTime, &Time) ? FileTimeToInt64(Time) : NowAsFileTime();
}

}  // namespace

struct TCounterLogWriter::TState {
  std::string Log;
  TLogMachine Machine;
  TLogWriterOptions Options;
  TLogNames Names;
  std::uint64_t Samples = 0;
  std::uint64_t BlockBytes = 0;
  std::uint64_t BytesOfClosedVolumes = 0;
  // The volume being written.
  std::uint64_t VolumeNumber = 0;
  std::string File;
  std::FILE* Stream = nullptr;
  std::uint64_t Offset = 0;
  std::uint64_t NamesOffset = 0;
  std::uint64_t LastFull = 0;
  bool NextFull = true;
  std::vector<BYTE> Previous;
  counterlog::TBlockLayout PreviousLayout;
  TIndexRecord PendingIndex;
  std::vector<TIndexEntry> WholeIndex;
  TEndRecord End;

  [[noreturn]] void Fail() const {
    throw Exception("Cannot write counter log \"" + File + "\": " + std::strerror(errno));
  }

  // Appends one framed record and hands it to the operating system; answers its offset.
  std::uint64_t Append(TRecordKind Kind, const std::vector<BYTE>& Body) {
    std::vector<BYTE> Frame;
    AppendFrame(Frame, Kind, Body);
    if (std::fwrite(Frame.data(), 1, Frame.size(), Stream) != Frame.size() ||
        std::fflush(Stream) != 0) {
      Fail();
    }
    const std::uint64_t At = Offset;
    Offset += Frame.size();
    return At;
  }

  // Creates the file of the current volume with its prologue, header and names.
  void OpenVolume() {
    File = VolumeFile(Log, VolumeNumber);
    Stream = OpenUtf8File(File, "wb");
    if (Stream == nullptr) Fail();
    Offset = 0;
    PendingIndex = {};
    WholeIndex.clear();
    End = {};
    NextFull = true;
    try {
      const std::vector<BYTE> Prologue = LogPrologue();
      if (std::fwrite(Prologue.data(), 1, Prologue.size(), Stream) != Prologue.size()) Fail();
      Offset = Prologue.size();
      Append(TRecordKind::Header, HeaderBody(Machine));
      NamesOffset = Append(TRecordKind::Names, NamesBody(Names));
    } catch (const Exception&) {
      std::fclose(Stream);
      Stream = nullptr;
      throw;
    }
  }

  void CloseVolume() {
    WriteWholeIndex();
    Append(TRecordKind::End, EndBody(End));
    Sync();
    std::FILE* Closing = std::exchange(Stream, nullptr);
    BytesOfClosedVolumes += Offset;
    if (std::fclose(Closing) != 0) Fail();
  }

  void StartVolume() {
    CloseVolume();
    ++VolumeNumber;
    OpenVolume();
    if (Options.KeepVolumes != 0 && VolumeNumber >= Options.KeepVolumes) {
      RemoveVolume(VolumeFile(Log, VolumeNumber - Options.KeepVolumes));
    }
  }

  void Sync() const {
#if defined(_WIN32)
    const int Result = _commit(_fileno(Stream));
#else
    const int Result = fsync(fileno(Stream));
#endif
    if (Result != 0) Fail();
  }

  void AppendSample(const BYTE* Block, DWORD Size, std::int64_t Time) {
    if (Options.MaxVolumeBytes != 0 && Offset >= Options.MaxVolumeBytes && End.Samples != 0) {
      StartVolume();
    }
    TSampleRecord Sample{.Number = Samples + 1, .Time = Time, .BlockSize = Size};
    std::vector<BYTE> Current(Block, Block + Size);
    counterlog::TBlockLayout Layout = CutBlock(Block, Size, true);
    Sample.Full = NextFull || Sample.Number - LastFull >= Options.FullEvery;
    NextFull = false;
    Sample.BlockChecksum = BlockChecksum(Current);
    Sample.Payload =
        Sample.Full ? Current : EncodeDelta(Previous.data(), PreviousLayout, Block, Layout);
    const std::uint64_t At = Append(TRecordKind::Sample, SampleBody(Sample));
    Samples = Sample.Number;
    BlockBytes += Size;
    if (End.Samples == 0) End.FirstTime = Time;
    ++End.Samples;
    End.LastTime = Time;
    Previous = std::move(Current);
    PreviousLayout = std::move(Layout);
    if (Sample.Full) AddToIndex({Sample.Number, Time, At, NamesOffset});
  }

  void AddToIndex(const TIndexEntry& Entry) {
    LastFull = Entry.Number;
    PendingIndex.Entries.push_back(Entry);
    WholeIndex.push_back(Entry);
    if (PendingIndex.Entries.size() >= Options.IndexEvery) {
      PendingIndex.Previous = Append(TRecordKind::Index, IndexBody(PendingIndex));
      PendingIndex.Entries.clear();
    }
  }

  // At close, one index record of every full sample: a reader opening the log reads it
  // alone, wherever the records of the chain lie.
  void WriteWholeIndex() {
    if (WholeIndex.empty()) return;
    End.LastIndex = Append(TRecordKind::Index, IndexBody({0, WholeIndex}));
  }
};

TCounterLogWriter::TCounterLogWriter(const std::string& File, const TLogMachine& Machine,
                                     const TLogNames& Names, TLogWriterOptions Options)
    : State_(std::make_unique<TState>()) {
  Options.FullEvery = std::clamp(Options.FullEvery, 1u, kLongestDeltaChain);
  Options.IndexEvery = std::max(Options.IndexEvery, 1u);
  State_->Log = File;
  State_->Machine = Machine;
  State_->Options = Options;
  State_->Names = Names;
  // Volumes of an earlier log of that name would read as this one's continuation.
  for (const std::string& Old : ExistingVolumes(File)) {
    if (Old != File) RemoveVolume(Old);
  }
  State_->OpenVolume();
}

TCounterLogWriter::~TCounterLogWriter() {
  try {
    Close();
  } catch (const Exception&) {
    // A destructor cannot report it; Close called before tells the caller.
  }
}

bool TCounterLogWriter::WriteSample(const void* Block, DWORD Size) {
  const TBlockCheck Check = CheckBlock(Block, Size);
  if (!Check.WellFormed()) {
    const std::int64_t Time = Check.HeaderSound ? BlockTime(Block) : NowAsFileTime();
    WriteGap(Time, "the block is malformed: " + Check.Problem);
    return false;
  }
  State_->AppendSample(static_cast<const BYTE*>(Block), Size, BlockTime(Block));
  return true;
}

void TCounterLogWriter::WriteGap(std::int64_t Time, const std::string& Reason) {
  State_->Append(TRecordKind::Gap, GapBody({Time, Reason}));
}

void TCounterLogWriter::WriteNames(const TLogNames& Names) {
  if (Names == State_->Names) return;
  State_->Names = Names;
  State_->NamesOffset = State_->Append(TRecordKind::Names, NamesBody(Names));
  // The next sample is whole, so that a reader starting there has its names too.
  State_->NextFull = true;
}

void TCounterLogWriter::StartVolume() { State_->StartVolume(); }

void TCounterLogWriter::Sync() {
  if (State_->Stream != nullptr) State_->Sync();
}

void TCounterLogWriter::Close() {
  if (State_->Stream != nullptr) State_->CloseVolume();
}

std::uint64_t TCounterLogWriter::SamplesWritten() const { return State_->Samples; }

std::uint64_t TCounterLogWriter::BytesWritten() const {
  return State_->BytesOfClosedVolumes + (State_->Stream != nullptr ? State_->Offset : 0);
}

std::uint64_t TCounterLogWriter::BlockBytesWritten() const { return State_->BlockBytes; }

}  // namespace gaugery
