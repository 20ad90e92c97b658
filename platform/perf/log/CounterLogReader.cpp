#include "perf/log/CounterLogReader.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "framework/Exceptions.h"
#include "perf/log/LogSource.h"
#include "perf/log/LogVolumeReader.h"
#include "perf/log/LogVolumes.h"

namespace gaugery {

using counterlog::TLogVolumeReader;

struct TCounterLogReader::TState {
  std::vector<std::string> Files;
  // One per file, opened when first needed; null for a volume that could not be read.
  std::vector<std::unique_ptr<TLogVolumeReader>> Volumes;
  std::vector<bool> Tried;
  std::size_t Current = 0;
  TLogNames Names;
  std::uint64_t NamesVersion = 1;
  std::uint64_t SeenVersion = 0;
  std::vector<std::string> Warnings;

  void Start(std::unique_ptr<TLogVolumeReader> First) {
    Volumes.resize(Files.size());
    Tried.assign(Files.size(), false);
    Tried[0] = true;
    Names = First->Names();
    SeenVersion = First->NamesVersion();
    Volumes[0] = std::move(First);
  }

  TLogVolumeReader* Volume(std::size_t At) {
    if (!Tried[At]) {
      Tried[At] = true;
      try {
        Volumes[At] = std::make_unique<TLogVolumeReader>(counterlog::OpenLogFile(Files[At]));
      } catch (const Exception& Error) {
        Warnings.push_back(Error.Message() + "; the volume is skipped");
      }
    }
    return Volumes[At].get();
  }

  // Takes the current volume's names when they differ from those in force.
  void FollowNames(TLogVolumeReader& Reader) {
    if (Reader.NamesVersion() == SeenVersion && Reader.Names() == Names) return;
    SeenVersion = Reader.NamesVersion();
    if (Reader.Names() != Names) {
      Names = Reader.Names();
      ++NamesVersion;
    }
  }

  void Enter(std::size_t At) {
    Current = At;
    if (TLogVolumeReader* Reader = Volume(At)) {
      SeenVersion = 0;
      FollowNames(*Reader);
    }
  }

  bool Next(TLogEntry& Entry) {
    while (Current < Files.size()) {
      if (TLogVolumeReader* Reader = Volume(Current); Reader != nullptr && Reader->Next(Entry)) {
        FollowNames(*Reader);
        return true;
      }
      if (Current + 1 == Files.size()) return false;
      Enter(Current + 1);
      if (TLogVolumeReader* Reader = Volume(Current)) Reader->Rewind();
    }
    return false;
  }

  void Seek(std::int64_t Time) {
    SeekIn([Time](const TLogExtent& Extent) { return Extent.FirstTime <= Time; },
           [Time](TLogVolumeReader& Reader) { Reader.Seek(Time); });
  }

  void SeekNumber(std::uint64_t Number) {
    SeekIn([Number](const TLogExtent& Extent) { return Extent.FirstNumber <= Number; },
           [Number](TLogVolumeReader& Reader) { Reader.SeekNumber(Number); });
  }

  // Seeks in the last volume with samples whose extent Starts before the place sought,
  // or in the first.
  template <typename TStarts, typename TSeek>
  void SeekIn(TStarts Starts, TSeek SeekVolume) {
    std::size_t Chosen = 0;
    for (std::size_t At = 0; At < Files.size(); ++At) {
      TLogVolumeReader* Reader = Volume(At);
      if (Reader == nullptr) continue;
      const TLogExtent Extent = Reader->Extent();
      if (Extent.Samples != 0 && Starts(Extent)) Chosen = At;
    }
    Enter(Chosen);
    if (TLogVolumeReader* Reader = Volume(Chosen)) {
      SeekVolume(*Reader);
      FollowNames(*Reader);
    }
  }

  TLogExtent Extent() {
    TLogExtent Whole;
    for (std::size_t At = 0; At < Files.size(); ++At) {
      TLogVolumeReader* Reader = Volume(At);
      if (Reader == nullptr) continue;
      const TLogExtent Part = Reader->Extent();
      if (Part.Samples == 0) continue;
      if (Whole.Samples == 0) {
        Whole.FirstTime = Part.FirstTime;
        Whole.FirstNumber = Part.FirstNumber;
      }
      Whole.Samples += Part.Samples;
      Whole.LastTime = Part.LastTime;
      Whole.LastNumber = Part.LastNumber;
    }
    return Whole;
  }

  std::uint64_t Size() {
    std::uint64_t Bytes = 0;
    for (std::size_t At = 0; At < Files.size(); ++At) {
      std::error_code Unknown;
      const TLogVolumeReader* Reader = Volume(At);
      const std::uint64_t Length =
          Reader != nullptr ? Reader->Size() : std::filesystem::file_size(Files[At], Unknown);
      if (!Unknown) Bytes += Length;
    }
    return Bytes;
  }

  std::vector<std::string> TakeWarnings() {
    std::vector<std::string> Taken = std::exchange(Warnings, {});
    for (const auto& Reader : Volumes) {
      if (Reader == nullptr) continue;
      for (std::string& Warning : Reader->TakeWarnings()) Taken.push_back(std::move(Warning));
    }
    return Taken;
  }
};

TCounterLogReader::TCounterLogReader(const std::string& File) : State_(std::make_unique<TState>()) {
  State_->Files = counterlog::ExistingVolumes(File);
  if (State_->Files.empty()) State_->Files = {File};
  State_->Start(std::make_unique<TLogVolumeReader>(counterlog::OpenLogFile(State_->Files[0])));
}

TCounterLogReader::TCounterLogReader(std::vector<BYTE> Bytes, const std::string& Name)
    : State_(std::make_unique<TState>()) {
  State_->Files = {Name};
  State_->Start(
      std::make_unique<TLogVolumeReader>(counterlog::LogInMemory(std::move(Bytes), Name)));
}

TCounterLogReader::~TCounterLogReader() = default;

const TLogMachine& TCounterLogReader::Machine() const { return State_->Volumes[0]->Machine(); }
const TLogNames& TCounterLogReader::Names() const { return State_->Names; }
std::uint64_t TCounterLogReader::NamesVersion() const { return State_->NamesVersion; }
bool TCounterLogReader::Next(TLogEntry& Entry) { return State_->Next(Entry); }
void TCounterLogReader::Seek(std::int64_t Time) { State_->Seek(Time); }

void TCounterLogReader::SeekNumber(std::uint64_t Number) { State_->SeekNumber(Number); }

void TCounterLogReader::Rewind() {
  State_->Enter(0);
  State_->Volumes[0]->Rewind();
  State_->FollowNames(*State_->Volumes[0]);
}

TLogExtent TCounterLogReader::Extent() { return State_->Extent(); }
std::uint64_t TCounterLogReader::Size() { return State_->Size(); }
std::vector<std::string> TCounterLogReader::TakeWarnings() { return State_->TakeWarnings(); }

}  // namespace gaugery
