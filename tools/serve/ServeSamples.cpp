#include "ServeSamples.h"

#include <algorithm>
#include <ctime>
#include <exception>
#include <string>
#include <utility>

#include "BlockSelection.h"
#include "GzipText.h"
#include "PerfData.h"
#include "PerfTitles.h"
#include "Replay.h"
#include "framework/Unicode.h"
#include "registry/PerfValueName.h"

#ifdef _WIN32
#include <windows.h>
#endif

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

// The processor time the calling thread has used.
std::chrono::nanoseconds ThreadProcessorTime() {
#ifdef _WIN32
  ::FILETIME Created{}, Exited{}, Kernel{}, User{};
  GetThreadTimes(GetCurrentThread(), &Created, &Exited, &Kernel, &User);
  const auto Ticks = [](const ::FILETIME& Time) {
    return static_cast<std::int64_t>(Time.dwHighDateTime) << 32 | Time.dwLowDateTime;
  };
  return std::chrono::nanoseconds((Ticks(Kernel) + Ticks(User)) * 100);
#else
  timespec Used{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &Used);
  return std::chrono::seconds(Used.tv_sec) + std::chrono::nanoseconds(Used.tv_nsec);
#endif
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
  // A short --interval still leaves as much idle time as the last sample used the
  // processor, so the sampler holds at most half a processor however slow the machine's
  // samples are. Processor time rather than elapsed: on a busy machine a sample waits
  // for the processor too, and counting that wait would space samples beyond the interval.
  return std::max(TakenAt_ + Interval_,
                  std::chrono::steady_clock::now() +
                      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                          TakeProcessorTime_));
}

void TServeSamples::TakeSample() {
  const std::unique_lock<std::mutex> Walk = HoldReplayedLog();
  const std::lock_guard<std::mutex> Snapshots(SnapshotLock_);
  const auto Start = std::chrono::steady_clock::now();
  const std::chrono::nanoseconds StartUsed = ThreadProcessorTime();
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
    TakeProcessorTime_ = ThreadProcessorTime() - StartUsed;
    ++Samples_;
    for (auto& Texts : Rendered_)
      for (auto& Text : Texts) RecycleText(Text);
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
  if (!Texts[0]) Texts[0] = std::make_shared<std::string>(Render(Format));
  if (Gzip && !Texts[1]) Texts[1] = std::make_shared<std::string>(GzipCompressed(*Texts[0]));
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

void TServeSamples::RecycleText(std::shared_ptr<std::string>& Text) {
  // Requests take their copies with Lock_ held, so a text held here alone stays so.
  if (Text && Text.use_count() == 1 && Text->capacity() > SpareText_.capacity())
    SpareText_ = std::move(*Text);
  Text.reset();
}

std::string TServeSamples::Render(exposition::TExpositionFormat Format) {
  exposition::TExpositionWriter Writer(Format, std::exchange(SpareText_, std::string()));
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
