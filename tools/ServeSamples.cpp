#include "ServeSamples.h"

#include "GzipText.h"
#include "PerfData.h"
#include "PerfTitles.h"

namespace gaugery::cli {

namespace {

// Value names sampled at the same time (index lists of remote readers); the least
// recently asked for is dropped beyond that.
constexpr std::size_t MostValueNames = 16;
constexpr int FormatCount = 2;
constexpr int EncodingCount = 2;  // plain, gzip

}  // namespace

struct TServeSamples::TEntry {
  std::string ValueName;
  std::unique_ptr<TPerfData> Data;
  std::chrono::steady_clock::time_point TakenAt;
  // The bytes of the block of generation Generation, and the expositions of the latest
  // sample as far as they were asked for.
  std::uint64_t Generation = 0;
  std::shared_ptr<const std::string> Bytes;
  std::shared_ptr<const std::string> Rendered[FormatCount][EncodingCount];
};

TServeSamples::TServeSamples(std::chrono::steady_clock::duration Interval, THelpTexts Helps)
    : Interval_(Interval), Helps_(std::move(Helps)), Titles_(std::make_unique<TPerfTitles>(nullptr)) {
  Titles_->SetLocaleID("009");
}

TServeSamples::~TServeSamples() = default;

TServeSamples::TEntry& TServeSamples::FreshEntry(const std::string& ValueName) {
  const auto Now = std::chrono::steady_clock::now();
  auto Found = Entries_.begin();
  while (Found != Entries_.end() && Found->ValueName != ValueName) ++Found;
  if (Found != Entries_.end()) {
    Entries_.splice(Entries_.begin(), Entries_, Found);
    if (Now - Entries_.front().TakenAt < Interval_) return Entries_.front();
    Entries_.front().Data->Refresh();
    Entries_.front().TakenAt = Now;
  } else {
    if (Entries_.size() == MostValueNames) Entries_.pop_back();
    Entries_.push_front(TEntry{ValueName, std::make_unique<TPerfData>(ValueName, ""), Now});
  }
  TEntry& Entry = Entries_.front();
  if (ValueName == "Global") ++GlobalSamples_;
  for (auto& Texts : Entry.Rendered)
    for (auto& Text : Texts) Text.reset();
  if (Entry.Data->Generation() != Entry.Generation) {
    Entry.Generation = Entry.Data->Generation();
    const TPERF_DATA_BLOCK& Block = *Entry.Data->PerfData();
    Entry.Bytes = std::make_shared<const std::string>(reinterpret_cast<const char*>(&Block),
                                                      Block.TotalByteLength);
  }
  return Entry;
}

std::shared_ptr<const std::string> TServeSamples::Block(const std::string& ValueName) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  return FreshEntry(ValueName).Bytes;
}

std::shared_ptr<const std::string> TServeSamples::Metrics(TExpositionFormat Format, bool Gzip) {
  const std::lock_guard<std::mutex> Guard(Lock_);
  TEntry& Entry = FreshEntry("Global");
  if (Entry.Generation == 0) return nullptr;
  auto& Texts = Entry.Rendered[static_cast<int>(Format)];
  if (!Texts[0]) Texts[0] = std::make_shared<const std::string>(Render(Entry, Format));
  if (Gzip && !Texts[1]) Texts[1] = std::make_shared<const std::string>(GzipCompressed(*Texts[0]));
  return Texts[Gzip ? 1 : 0];
}

std::uint64_t TServeSamples::GlobalSamples() {
  const std::lock_guard<std::mutex> Guard(Lock_);
  return GlobalSamples_;
}

std::string TServeSamples::Render(TEntry& Entry, TExpositionFormat Format) {
  TExpositionWriter Writer(Format);
  WriteBlockMetrics(Writer, DumpBlock(*Entry.Data, *Titles_), Helps_);
  Writer.BeginFamily("gaugery_serve_samples", TMetricKind::Counter, TMetricUnit::None,
                     "Samples of the whole performance data block this server has taken; "
                     "the other metrics come from the latest one.");
  Writer.Sample("", static_cast<std::int64_t>(GlobalSamples_));
  return Writer.Finish();
}

}  // namespace gaugery::cli
