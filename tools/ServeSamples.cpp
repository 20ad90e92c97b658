#include "ServeSamples.h"

#include "BlockSelection.h"
#include "GzipText.h"
#include "PerfData.h"
#include "PerfTitles.h"

namespace gaugery::cli {

TServeSamples::TServeSamples(std::chrono::steady_clock::duration Interval, THelpTexts Helps)
    : Interval_(Interval), Helps_(std::move(Helps)), Titles_(std::make_unique<TPerfTitles>(nullptr)) {
  Titles_->SetLocaleID("009");
}

TServeSamples::~TServeSamples() = default;

void TServeSamples::KeepFresh() {
  const auto Now = std::chrono::steady_clock::now();
  if (!Data_) {
    Data_ = std::make_unique<TPerfData>("Global", "");
  } else if (Now - TakenAt_ >= Interval_) {
    Data_->Refresh();
  } else {
    return;
  }
  TakenAt_ = Now;
  ++Samples_;
  for (auto& Texts : Rendered_)
    for (auto& Text : Texts) Text.reset();
  if (Data_->Generation() == Generation_) return;
  Generation_ = Data_->Generation();
  const TPERF_DATA_BLOCK& Block = *Data_->PerfData();
  Bytes_ = std::make_shared<const std::string>(reinterpret_cast<const char*>(&Block),
                                               Block.TotalByteLength);
}

std::shared_ptr<const std::string> TServeSamples::Block(const std::string& ValueName) {
  std::shared_ptr<const std::string> Global;
  {
    const std::lock_guard<std::mutex> Guard(Lock_);
    KeepFresh();
    Global = Bytes_;
  }
  if (!Global || ValueName == "Global") return Global;
  return std::make_shared<const std::string>(SelectedObjects(*Global, ValueName));
}

std::shared_ptr<const std::string> TServeSamples::Metrics(TExpositionFormat Format, bool Gzip) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  KeepFresh();
  if (Generation_ == 0) return nullptr;
  auto& Texts = Rendered_[static_cast<int>(Format)];
  if (!Texts[0]) Texts[0] = std::make_shared<const std::string>(Render(Format));
  if (Gzip && !Texts[1]) Texts[1] = std::make_shared<const std::string>(GzipCompressed(*Texts[0]));
  return Texts[Gzip ? 1 : 0];
}

std::uint64_t TServeSamples::SamplesTaken() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  return Samples_;
}

std::string TServeSamples::Render(TExpositionFormat Format) {
  TExpositionWriter Writer(Format);
  WriteBlockMetrics(Writer, DumpBlock(*Data_, *Titles_), Helps_);
  Writer.BeginFamily("gaugery_serve_samples", TMetricKind::Counter, TMetricUnit::None,
                     "Samples of the performance data this server has taken; the other "
                     "metrics come from the latest one.");
  Writer.Sample("", static_cast<std::int64_t>(Samples_));
  return Writer.Finish();
}

}  // namespace gaugery::cli
