#include "ServeSamples.h"

#include <algorithm>
#include <exception>
#include <string>

#include "BlockSelection.h"
#include "GzipText.h"
#include "PerfData.h"
#include "PerfTitles.h"
#include "Replay.h"
#include "framework/Unicode.h"
#include "registry/PerfValueName.h"

namespace gaugery::cli {

namespace {

// The entry of the name tables that holds their largest index rather than a title.
constexpr DWORD LargestIndexEntry = 1;

// The bytes of a snapshot's current block.
std::shared_ptr<const std::string> BlockBytes(TPerfData& Data) {
  const TPERF_DATA_BLOCK& Block = *Data.PerfData();
  return std::make_shared<const std::string>(reinterpret_cast<const char*>(&Block),
                                             Block.TotalByteLength);
}

}  // namespace

TServeSamples::TServeSamples(std::chrono::steady_clock::duration Interval,
                             exposition::THelpTexts Helps)
    : Interval_(Interval),
      Helps_(std::move(Helps)),
      Titles_(std::make_unique<TPerfTitles>(nullptr)),
      Sampler_([this](std::chrono::steady_clock::time_point) { return SampleAndSchedule(); }) {
  Titles_->SetLocaleID("009");
  // The name tables are shared by the whole process without a lock: they are taken here,
  // before any request thread runs, rather than at the first request.
  Titles_->Init();
}

TServeSamples::~TServeSamples() = default;

std::chrono::steady_clock::time_point TServeSamples::SampleAndSchedule() {
  TakeSample();
  const std::lock_guard<std::mutex> Guard(Lock_);
  // A short --interval still leaves as much idle time as the last sample took, so the
  // sampler holds at most half a processor however slow the machine's samples are.
  return std::max(TakenAt_ + Interval_, std::chrono::steady_clock::now() + TakeTime_);
}

void TServeSamples::TakeSample() {
  const std::unique_lock<std::mutex> Walk = HoldReplayedLog();
  const std::lock_guard<std::mutex> Snapshots(SnapshotLock_);
  const auto Start = std::chrono::steady_clock::now();
  try {
    if (!Data_) {
      Data_ = std::make_unique<TPerfData>("Global", "");
    } else {
      Data_->Refresh();
      // A second snapshot that got none of the objects asked for has nothing to renew.
      if (Extra_ && Extra_->PerfData()->NumObjectTypes > 0) Extra_->Refresh();
    }
  } catch (const std::exception&) {
    // Counted as a sample that failed: the blocks before it stay.
  }
  std::shared_ptr<const std::string> Bytes;
  std::set<DWORD> Indexes;
  if (Data_ && Data_->Generation() != Generation_) {
    Generation_ = Data_->Generation();
    Bytes = BlockBytes(*Data_);
    Indexes = BlockTitleIndexes(*Bytes);
  }
  std::shared_ptr<const std::string> ExtraBytes;
  if (Extra_ && Extra_->Generation() != ExtraGeneration_) {
    ExtraGeneration_ = Extra_->Generation();
    ExtraBytes = BlockBytes(*Extra_);
  }
  {
    const std::lock_guard<std::mutex> Guard(Lock_);
    TakenAt_ = Start;
    TakeTime_ = std::chrono::steady_clock::now() - Start;
    ++Samples_;
    for (auto& Texts : Rendered_)
      for (auto& Text : Texts) Text.reset();
    if (Bytes) {
      Bytes_ = std::move(Bytes);
      GlobalIndexes_ = std::move(Indexes);
    }
    if (ExtraBytes) ExtraBytes_ = std::move(ExtraBytes);
  }
  Changed_.notify_all();
}

void TServeSamples::AwaitFirstSample(std::unique_lock<std::mutex>& Guard) {
  Sampler_.Start(std::chrono::steady_clock::now());
  Changed_.wait(Guard, [this] { return Samples_ > 0; });
}

std::vector<DWORD> TServeSamples::UnaskedIndexes(const std::string& ValueName) {
  const WideString Name = ToWide(ValueName);
  std::vector<DWORD> Unasked;
  if (ClassifyPerfValueName(Name.c_str()) != TPerfValueKind::IndexList) return Unasked;
  for (const DWORD Index : PerfIndexListIndexes(Name.c_str())) {
    if (Index != LargestIndexEntry && !GlobalIndexes_.contains(Index) &&
        !AskedIndexes_.contains(Index) && !Titles_->GetItemByIdx(std::to_string(Index)).empty())
      Unasked.push_back(Index);
  }
  return Unasked;
}

std::shared_ptr<const std::string> TServeSamples::AskExtraObjects(
    const std::vector<DWORD>& Indexes) {
  const std::unique_lock<std::mutex> Walk = HoldReplayedLog();
  const std::lock_guard<std::mutex> Snapshots(SnapshotLock_);
  std::set<DWORD> Asked;
  for (const DWORD Index : Indexes) {
    // Another request may have asked for it, or a sample found it, meanwhile.
    if (GlobalIndexes_.contains(Index) || AskedIndexes_.contains(Index)) continue;
    Asked.insert(Index);
    if (!Extra_) {
      Extra_ = std::make_unique<TPerfData>(std::to_string(Index), "");
    } else {
      Extra_->IncludeObject(Index);
    }
  }
  std::shared_ptr<const std::string> ExtraBytes;
  if (Extra_ && Extra_->Generation() != ExtraGeneration_) {
    ExtraGeneration_ = Extra_->Generation();
    ExtraBytes = BlockBytes(*Extra_);
  }
  const std::lock_guard<std::mutex> Guard(Lock_);
  AskedIndexes_.merge(Asked);
  if (ExtraBytes) ExtraBytes_ = std::move(ExtraBytes);
  return ExtraBytes_;
}

std::shared_ptr<const std::string> TServeSamples::Block(const std::string& ValueName) {
  std::shared_ptr<const std::string> Global;
  std::shared_ptr<const std::string> Extra;
  std::vector<DWORD> Unasked;
  {
    std::unique_lock<std::mutex> Guard(Lock_);
    AwaitFirstSample(Guard);
    Global = Bytes_;
    if (!Global || ValueName == "Global") return Global;
    Extra = ExtraBytes_;
    Unasked = UnaskedIndexes(ValueName);
  }
  if (!Unasked.empty()) Extra = AskExtraObjects(Unasked);
  return std::make_shared<const std::string>(
      SelectedObjects(*Global, ValueName, Extra ? std::string_view(*Extra) : std::string_view()));
}

std::shared_ptr<const std::string> TServeSamples::Metrics(exposition::TExpositionFormat Format,
                                                          bool Gzip) {
  std::unique_lock<std::mutex> Guard(Lock_);
  AwaitFirstSample(Guard);
  if (!Bytes_) return nullptr;
  auto& Texts = Rendered_[static_cast<int>(Format)];
  if (!Texts[0]) Texts[0] = std::make_shared<const std::string>(Render(Format));
  if (Gzip && !Texts[1]) Texts[1] = std::make_shared<const std::string>(GzipCompressed(*Texts[0]));
  return Texts[Gzip ? 1 : 0];
}

std::optional<std::chrono::steady_clock::time_point> TServeSamples::NewerSampleDue(
    std::int64_t Held) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  // The next sample starts at the end of the interval and takes about as long as the
  // latest: twice that, and a quarter interval for a sampler woken late, allow for a
  // slower one on a busy machine.
  const auto Due = TakenAt_ + Interval_ + 2 * TakeTime_ + Interval_ / 4;
  if (!Bytes_ || std::chrono::steady_clock::now() >= Due ||
      reinterpret_cast<const TPERF_DATA_BLOCK*>(Bytes_->data())->PerfTime100nSec > Held)
    return std::nullopt;
  return Due;
}

std::uint64_t TServeSamples::SamplesTaken() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  return Samples_;
}

std::string TServeSamples::Render(exposition::TExpositionFormat Format) {
  exposition::TExpositionWriter Writer(Format);
  exposition::WriteBlockMetrics(
      Writer, DumpBlock(*reinterpret_cast<const TPERF_DATA_BLOCK*>(Bytes_->data()), *Titles_),
      Helps_);
  Writer.BeginFamily("gaugery_serve_samples", exposition::TMetricKind::Counter,
                     exposition::TMetricUnit::None,
                     "Samples of the performance data this server has taken; the other "
                     "metrics come from the latest one.");
  Writer.Sample("", static_cast<std::int64_t>(Samples_));
  return Writer.Finish();
}

}  // namespace gaugery::cli
