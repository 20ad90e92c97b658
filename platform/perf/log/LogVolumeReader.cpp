#include "perf/log/LogVolumeReader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "framework/Exceptions.h"
#include "perf/log/BlockDelta.h"
#include "perf/log/LogBytes.h"
#include "perf/log/LogFrame.h"
#include "perf/log/LogRecords.h"
#include "registry/PerfBlockCheck.h"

namespace gaugery::counterlog {

namespace {

constexpr std::size_t kSearchChunk = 64 * 1024;
constexpr std::uint64_t kEndFrameSize = kFrameOverhead + kEndBodySize;

struct TFrame {
  std::uint64_t At = 0;
  TFrameHead Head;
  std::vector<BYTE> Body;
  std::uint64_t End() const { return At + kFrameOverhead + Head.Length; }
};

}  // namespace

struct TLogVolumeReader::TState {
  std::unique_ptr<TLogSource> Source;
  TLogMachine Machine;
  TLogNames Names;
  std::uint64_t NamesVersion = 0;
  std::uint64_t NamesAt = 0;
  std::uint64_t FirstNamesAt = 0;
  std::uint64_t DataStart = 0;
  std::uint64_t Position = 0;
  // The last sample decoded, against which the next one may be stored.
  std::vector<BYTE> Previous;
  counterlog::TBlockLayout PreviousLayout;
  std::uint64_t PreviousNumber = 0;
  bool NeedFull = false;
  bool TornReported = false;
  // After a seek, the entries before the one sought are read and passed over.
  std::int64_t SkipBefore = std::numeric_limits<std::int64_t>::min();
  std::uint64_t SkipBeforeNumber = 0;
  bool IndexLoaded = false;
  std::vector<TIndexEntry> Index;
  TLogExtent Extent;
  std::vector<std::string> Warnings;

  std::string Quoted() const { return "\"" + Source->Name() + "\""; }

  // The frame at At when it is whole: head, body and tail inside the log, and the tail
  // repeating the length and the checksum.
  std::optional<TFrame> WholeFrame(std::uint64_t At) {
    BYTE Head[kFrameHeadSize];
    TFrame Frame;
    Frame.At = At;
    if (!Source->Read(At, Head, sizeof Head) || !ReadFrameHead(Head, Frame.Head)) return {};
    if (Frame.End() > Source->Size()) return {};
    BYTE Tail[kFrameTailSize];
    if (!Source->Read(Frame.End() - kFrameTailSize, Tail, sizeof Tail) ||
        !TailLengthMatches(Tail, Frame.Head.Length)) {
      return {};
    }
    Frame.Body.resize(Frame.Head.Length);
    if (!Source->Read(At + kFrameHeadSize, Frame.Body.data(), Frame.Body.size()) ||
        !TailMatches(Head, Frame.Body.data(), Frame.Head.Length, Tail)) {
      return {};
    }
    return Frame;
  }

  // The first whole frame at or after From, if any.
  std::optional<std::uint64_t> NextWholeFrame(std::uint64_t From) {
    std::vector<BYTE> Chunk;
    while (From + kFrameOverhead <= Source->Size()) {
      Chunk.resize(
          static_cast<std::size_t>(std::min<std::uint64_t>(kSearchChunk, Source->Size() - From)));
      if (!Source->Read(From, Chunk.data(), Chunk.size())) return {};
      for (std::size_t At = 0; At + sizeof kFrameMarker <= Chunk.size(); ++At) {
        if (std::memcmp(Chunk.data() + At, kFrameMarker, sizeof kFrameMarker) == 0 &&
            WholeFrame(From + At)) {
          return From + At;
        }
      }
      From += Chunk.size() - (sizeof kFrameMarker - 1);
    }
    return {};
  }

  // The frame at At, which must be whole and of Kind; Exception Message otherwise.
  TFrame Expect(std::uint64_t At, TRecordKind Kind, const std::string& Message) {
    std::optional<TFrame> Frame = WholeFrame(At);
    if (!Frame || Frame->Head.Kind != Kind) throw Exception(Message);
    return std::move(*Frame);
  }

  void Open() {
    BYTE Prologue[kPrologueSize];
    if (IsCutPrologue()) throw Exception(Quoted() + " is truncated: it ends in its header");
    if (!Source->Read(0, Prologue, sizeof Prologue) ||
        std::memcmp(Prologue, kLogMagic, sizeof kLogMagic) != 0 ||
        LoadU32(Prologue + sizeof kLogMagic) == 0) {
      throw Exception(Quoted() + " is not a counter log");
    }
    const std::uint32_t Version = LoadU32(Prologue + sizeof kLogMagic);
    if (Version > kLogVersion) {
      throw Exception(Quoted() + " is a counter log of format version " + std::to_string(Version) +
                      "; this program reads version " + std::to_string(kLogVersion));
    }
    const TFrame Header =
        Expect(kPrologueSize, TRecordKind::Header, HeadProblem(kPrologueSize, "header"));
    try {
      Machine = ReadHeaderBody(Header.Body.data(), Header.Body.size());
    } catch (const Exception& Error) {
      throw Exception(Quoted() + ": " + Error.Message());
    }
    const TFrame Tables =
        Expect(Header.End(), TRecordKind::Names, HeadProblem(Header.End(), "names section"));
    LoadNames(Tables);
    FirstNamesAt = NamesAt;
    DataStart = Position = Tables.End();
  }

  // True for a file that ends before its prologue does, with what it holds of it
  // matching: a log whose recorder stopped as it began.
  bool IsCutPrologue() {
    const auto Size =
        static_cast<std::size_t>(std::min<std::uint64_t>(Source->Size(), sizeof kLogMagic));
    BYTE Start[sizeof kLogMagic];
    return Source->Size() < kPrologueSize && Source->Read(0, Start, Size) &&
           std::memcmp(Start, kLogMagic, Size) == 0;
  }

  // Why the record at At cannot be the log's Part: a log cut before it ends, or damage.
  std::string HeadProblem(std::uint64_t At, const char* Part) {
    BYTE Head[kFrameHeadSize];
    TFrameHead Frame;
    if (!Source->Read(At, Head, sizeof Head) ||
        (ReadFrameHead(Head, Frame) && At + kFrameOverhead + Frame.Length > Source->Size())) {
      return Quoted() + " is truncated: it ends in its " + Part;
    }
    return Quoted() + ": the log's " + Part + " is damaged";
  }

  void LoadNames(const TFrame& Tables) {
    try {
      Names = ReadNamesBody(Tables.Body.data(), Tables.Body.size());
    } catch (const Exception& Error) {
      throw Exception(Quoted() + ": " + Error.Message());
    }
    NamesAt = Tables.At;
    ++NamesVersion;
  }

  void Warn(std::string Message) { Warnings.push_back(Quoted() + ": " + std::move(Message)); }

  void Damaged(std::uint64_t At, const std::string& Problem) {
    Warn("the record at byte " + std::to_string(At) + " is damaged (" + Problem +
         "); reading resumes at the next full sample");
    ForgetPrevious();
  }

  void ForgetPrevious() {
    Previous.clear();
    PreviousLayout = {};
    NeedFull = true;
  }

  // Past a frame that is not whole: to the next whole one, or to the end of a torn log.
  void Recover() {
    if (std::optional<std::uint64_t> Next = NextWholeFrame(Position + 1)) {
      Warn("the log is damaged at byte " + std::to_string(Position) + ": " +
           std::to_string(*Next - Position) +
           " bytes skipped; reading resumes at the next full sample");
      ForgetPrevious();
      Position = *Next;
      return;
    }
    if (!TornReported) {
      Warn("the log ends in a partial record after sample " + std::to_string(PreviousNumber));
      TornReported = true;
    }
    Position = Source->Size();
  }

  // The block of a sample record, checked; none for one that cannot be trusted.
  std::optional<TLogEntry> TakeSample(const TFrame& Frame) {
    TSampleRecord Sample;
    try {
      Sample = ReadSampleBody(Frame.Body.data(), Frame.Body.size());
    } catch (const Exception& Error) {
      Damaged(Frame.At, Error.Message());
      return {};
    }
    if (!Sample.Full && (Previous.empty() || PreviousNumber + 1 != Sample.Number)) {
      if (!NeedFull) Damaged(Frame.At, "it is stored against a sample that is not there");
      return {};
    }
    TLogEntry Entry{.Kind = TLogEntry::TKind::Sample, .Number = Sample.Number, .Time = Sample.Time};
    try {
      Entry.Block = Sample.Full
                        ? std::move(Sample.Payload)
                        : DecodeDelta(Previous.data(), PreviousLayout, Sample.Payload.data(),
                                      Sample.Payload.size(), Sample.BlockSize);
    } catch (const Exception& Error) {
      Damaged(Frame.At, Error.Message());
      return {};
    }
    if (BlockChecksum(Entry.Block) != Sample.BlockChecksum) {
      Damaged(Frame.At, "its block does not match its checksum");
      return {};
    }
    const TBlockCheck Check =
        CheckBlock(Entry.Block.data(), static_cast<DWORD>(Entry.Block.size()));
    if (!Check.WellFormed()) {
      Damaged(Frame.At, "its block is malformed: " + Check.Problem);
      return {};
    }
    Previous = Entry.Block;
    PreviousLayout = CutBlock(Previous.data(), static_cast<DWORD>(Previous.size()), false);
    PreviousNumber = Sample.Number;
    NeedFull = false;
    return Entry;
  }

  std::optional<TLogEntry> TakeGap(const TFrame& Frame) {
    try {
      TGapRecord Gap = ReadGapBody(Frame.Body.data(), Frame.Body.size());
      return TLogEntry{.Kind = TLogEntry::TKind::Gap,
                       .Number = PreviousNumber,
                       .Time = Gap.Time,
                       .Reason = std::move(Gap.Reason)};
    } catch (const Exception& Error) {
      Warn("the record at byte " + std::to_string(Frame.At) + " is damaged (" + Error.Message() +
           ")");
      return {};
    }
  }

  void TakeNames(const TFrame& Frame) {
    try {
      LoadNames(Frame);
    } catch (const Exception& Error) {
      Warn("the record at byte " + std::to_string(Frame.At) + " is damaged (" + Error.Message() +
           "); the names before it stay in force");
    }
  }

  std::optional<TLogEntry> Take(const TFrame& Frame) {
    switch (Frame.Head.Kind) {
      case TRecordKind::Sample:
        return TakeSample(Frame);
      case TRecordKind::Gap:
        return TakeGap(Frame);
      case TRecordKind::Names:
        TakeNames(Frame);
        return {};
      default:
        return {};
    }
  }

  bool Next(TLogEntry& Entry) {
    while (Position < Source->Size()) {
      std::optional<TFrame> Frame = WholeFrame(Position);
      if (!Frame) {
        Recover();
        continue;
      }
      Position = Frame->End();
      std::optional<TLogEntry> Found = Take(*Frame);
      if (!Found || Found->Time < SkipBefore || Found->Number < SkipBeforeNumber) continue;
      StopSkipping();
      Entry = std::move(*Found);
      return true;
    }
    return false;
  }

  // The index the log's end record leads to; false when it has none or it cannot be
  // trusted.
  bool ReadEndIndex() {
    if (Source->Size() < DataStart + kEndFrameSize) return false;
    const std::uint64_t EndAt = Source->Size() - kEndFrameSize;
    std::optional<TFrame> Last = WholeFrame(EndAt);
    if (!Last || Last->Head.Kind != TRecordKind::End) return false;
    TEndRecord End;
    try {
      End = ReadEndBody(Last->Body.data(), Last->Body.size());
      Index = ChainedEntries(End.LastIndex, EndAt);
    } catch (const Exception& Error) {
      Warn(Error.Message() + "; the index is rebuilt from the records");
      Index.clear();
      return false;
    }
    Extent = {End.Samples, End.FirstTime, End.LastTime};
    // A volume begins with a full sample, which the index lists first.
    if (!Index.empty() && End.Samples != 0) {
      Extent.FirstNumber = Index.front().Number;
      Extent.LastNumber = Extent.FirstNumber + End.Samples - 1;
    }
    return true;
  }

  // The entries of the index records chained back from At, each before Limit.
  std::vector<TIndexEntry> ChainedEntries(std::uint64_t At, std::uint64_t Limit) {
    std::vector<std::vector<TIndexEntry>> Records;
    while (At != 0) {
      if (At < DataStart || At >= Limit) throw Exception("the index points outside the log");
      std::optional<TFrame> Frame = WholeFrame(At);
      if (!Frame || Frame->Head.Kind != TRecordKind::Index) {
        throw Exception("the index points at byte " + std::to_string(At) + ", where no index is");
      }
      TIndexRecord Record = ReadIndexBody(Frame->Body.data(), Frame->Body.size());
      for (const TIndexEntry& Entry : Record.Entries) {
        if (Entry.Offset < DataStart || Entry.Offset >= At || Entry.NamesOffset < kPrologueSize ||
            Entry.NamesOffset >= Entry.Offset) {
          throw Exception("the index points outside the log");
        }
      }
      Records.push_back(std::move(Record.Entries));
      Limit = At;
      At = Record.Previous;
    }
    std::vector<TIndexEntry> Entries;
    for (auto Record = Records.rbegin(); Record != Records.rend(); ++Record) {
      Entries.insert(Entries.end(), Record->begin(), Record->end());
    }
    return Entries;
  }

  // The index made from the records themselves: every frame's head and tail length,
  // and the head of every sample, without inflating anything.
  void RebuildIndex() {
    Index.clear();
    Extent = {};
    std::uint64_t At = DataStart;
    std::uint64_t Tables = FirstNamesAt;
    while (At + kFrameOverhead <= Source->Size()) {
      BYTE Head[kFrameHeadSize], Tail[kFrameTailSize];
      TFrameHead Frame;
      const std::uint64_t End = At + kFrameOverhead;
      if (!Source->Read(At, Head, sizeof Head) || !ReadFrameHead(Head, Frame) ||
          End + Frame.Length > Source->Size() ||
          !Source->Read(End + Frame.Length - kFrameTailSize, Tail, sizeof Tail) ||
          !TailLengthMatches(Tail, Frame.Length)) {
        std::optional<std::uint64_t> Next = NextWholeFrame(At + 1);
        if (!Next) break;
        At = *Next;
        continue;
      }
      if (Frame.Kind == TRecordKind::Names) Tables = At;
      BYTE SampleHead[kSampleHeadSize];
      if (Frame.Kind == TRecordKind::Sample && Frame.Length >= kSampleHeadSize &&
          Source->Read(At + kFrameHeadSize, SampleHead, sizeof SampleHead)) {
        AddRebuilt(ReadSampleHead(SampleHead), At, Tables);
      }
      At = End + Frame.Length;
    }
  }

  void AddRebuilt(const TSampleRecord& Sample, std::uint64_t At, std::uint64_t Tables) {
    if (Extent.Samples == 0) {
      Extent.FirstTime = Sample.Time;
      Extent.FirstNumber = Sample.Number;
    }
    ++Extent.Samples;
    Extent.LastTime = Sample.Time;
    Extent.LastNumber = Sample.Number;
    if (Sample.Full) Index.push_back({Sample.Number, Sample.Time, At, Tables});
  }

  void EnsureIndex() {
    if (IndexLoaded) return;
    IndexLoaded = true;
    if (!ReadEndIndex()) RebuildIndex();
  }

  void Seek(std::int64_t Time) {
    EnsureIndex();
    auto After =
        std::upper_bound(Index.begin(), Index.end(), Time,
                         [](std::int64_t T, const TIndexEntry& Entry) { return T < Entry.Time; });
    StartBefore(After);
    SkipBefore = Time;
  }

  void SeekNumber(std::uint64_t Number) {
    EnsureIndex();
    auto After = std::upper_bound(
        Index.begin(), Index.end(), Number,
        [](std::uint64_t N, const TIndexEntry& Entry) { return N < Entry.Number; });
    StartBefore(After);
    SkipBeforeNumber = Number;
  }

  // Reads on from the full sample listed before After, or from the first record when
  // none is.
  void StartBefore(std::vector<TIndexEntry>::const_iterator After) {
    if (After == Index.begin()) {
      Rewind();
      return;
    }
    const TIndexEntry& Entry = *(After - 1);
    ForgetPrevious();
    NeedFull = false;
    Position = Entry.Offset;
    PreviousNumber = Entry.Number - 1;
    StopSkipping();
    if (Entry.NamesOffset != NamesAt) SeekNames(Entry.NamesOffset);
  }

  void StopSkipping() {
    SkipBefore = std::numeric_limits<std::int64_t>::min();
    SkipBeforeNumber = 0;
  }

  void SeekNames(std::uint64_t At) {
    std::optional<TFrame> Frame = WholeFrame(At);
    if (Frame && Frame->Head.Kind == TRecordKind::Names) {
      TakeNames(*Frame);
    } else {
      Warn("the index points at byte " + std::to_string(At) + ", where no names are");
    }
  }

  void Rewind() {
    ForgetPrevious();
    NeedFull = false;
    Position = DataStart;
    PreviousNumber = 0;
    StopSkipping();
    if (NamesAt != FirstNamesAt) SeekNames(FirstNamesAt);
  }
};

TLogVolumeReader::TLogVolumeReader(std::unique_ptr<TLogSource> Source)
    : State_(std::make_unique<TState>()) {
  State_->Source = std::move(Source);
  State_->Open();
}

TLogVolumeReader::~TLogVolumeReader() = default;

const TLogMachine& TLogVolumeReader::Machine() const { return State_->Machine; }
const TLogNames& TLogVolumeReader::Names() const { return State_->Names; }
std::uint64_t TLogVolumeReader::NamesVersion() const { return State_->NamesVersion; }
bool TLogVolumeReader::Next(TLogEntry& Entry) { return State_->Next(Entry); }
void TLogVolumeReader::Seek(std::int64_t Time) { State_->Seek(Time); }
void TLogVolumeReader::SeekNumber(std::uint64_t Number) { State_->SeekNumber(Number); }
void TLogVolumeReader::Rewind() { State_->Rewind(); }

TLogExtent TLogVolumeReader::Extent() {
  State_->EnsureIndex();
  return State_->Extent;
}

std::uint64_t TLogVolumeReader::Size() const { return State_->Source->Size(); }

std::vector<std::string> TLogVolumeReader::TakeWarnings() {
  return std::exchange(State_->Warnings, {});
}

}  // namespace gaugery::counterlog
