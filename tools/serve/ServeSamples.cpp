#include "ServeSamples.h"

#include <string>

#include "BlockSelection.h"
#include "GzipText.h"
#include "PerfData.h"
#include "PerfTitles.h"
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
      Titles_(std::make_unique<TPerfTitles>(nullptr)) {
  Titles_->SetLocaleID("009");
  // The name tables are shared by the whole process without a lock: they are taken here,
  // before any request thread runs, rather than at the first request.
  Titles_->Init();
}

TServeSamples::~TServeSamples() = default;

void TServeSamples::KeepFresh() {
  const auto Now = std::chrono::steady_clock::now();
  if (!Data_) {
    Data_ = std::make_unique<TPerfData>("Global", "");
  } else if (Now - TakenAt_ >= Interval_) {
    Data_->Refresh();
    // A second snapshot that got none of the objects asked for has nothing to renew.
    if (Extra_ && Extra_->PerfData()->NumObjectTypes > 0) Extra_->Refresh();
  } else {
    return;
  }
  TakenAt_ = Now;
  ++Samples_;
  for (auto& Texts : Rendered_)
    for (auto& Text : Texts) Text.reset();
  if (Data_->Generation() == Generation_) return;
  Generation_ = Data_->Generation();
  Bytes_ = BlockBytes(*Data_);
  GlobalIndexes_ = BlockTitleIndexes(*Bytes_);
}

std::shared_ptr<const std::string> TServeSamples::ExtraObjects(const std::string& ValueName) {
  const WideString Name = ToWide(ValueName);
  if (ClassifyPerfValueName(Name.c_str()) != TPerfValueKind::IndexList) return nullptr;
  for (const DWORD Index : PerfIndexListIndexes(Name.c_str())) {
    const std::string Text = std::to_string(Index);
    if (Index == LargestIndexEntry || GlobalIndexes_.contains(Index) ||
        AskedIndexes_.contains(Index) || Titles_->GetItemByIdx(Text).empty()) {
      continue;
    }
    AskedIndexes_.insert(Index);
    if (!Extra_) {
      Extra_ = std::make_unique<TPerfData>(Text, "");
    } else {
      Extra_->IncludeObject(Index);
    }
  }
  if (!Extra_) return nullptr;
  if (Extra_->Generation() != ExtraGeneration_) {
    ExtraGeneration_ = Extra_->Generation();
    ExtraBytes_ = BlockBytes(*Extra_);
  }
  return ExtraBytes_;
}

std::shared_ptr<const std::string> TServeSamples::Block(const std::string& ValueName) {
  std::shared_ptr<const std::string> Global;
  std::shared_ptr<const std::string> Extra;
  {
    const std::lock_guard<std::mutex> Guard(Lock_);
    KeepFresh();
    Global = Bytes_;
    if (Global && ValueName != "Global") Extra = ExtraObjects(ValueName);
  }
  if (!Global || ValueName == "Global") return Global;
  return std::make_shared<const std::string>(
      SelectedObjects(*Global, ValueName, Extra ? std::string_view(*Extra) : std::string_view()));
}

std::shared_ptr<const std::string> TServeSamples::Metrics(exposition::TExpositionFormat Format,
                                                          bool Gzip) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  KeepFresh();
  if (Generation_ == 0) return nullptr;
  auto& Texts = Rendered_[static_cast<int>(Format)];
  if (!Texts[0]) Texts[0] = std::make_shared<const std::string>(Render(Format));
  if (Gzip && !Texts[1]) Texts[1] = std::make_shared<const std::string>(GzipCompressed(*Texts[0]));
  return Texts[Gzip ? 1 : 0];
}

std::optional<std::chrono::steady_clock::time_point> TServeSamples::NewerSampleDue(std::int64_t Held) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  const auto Due = TakenAt_ + Interval_;
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
  exposition::WriteBlockMetrics(Writer, DumpBlock(*Data_, *Titles_), Helps_);
  Writer.BeginFamily("gaugery_serve_samples", exposition::TMetricKind::Counter,
                     exposition::TMetricUnit::None,
                     "Samples of the performance data this server has taken; the other "
                     "metrics come from the latest one.");
  Writer.Sample("", static_cast<std::int64_t>(Samples_));
  return Writer.Finish();
}

}  // namespace gaugery::cli
