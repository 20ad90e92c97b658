// Title-table lookups through the hash indexes against a linear case-insensitive scan
// of the same table, and the cost of building the indexes when a table is loaded.
//
// Targets: every indexed lookup at least 100 times faster than the scan; loading
// (parse plus indexes) under 3 times the parse alone.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "PerfNameStrings.h"
#include "PerfTitles.h"
#include "framework/TextCompare.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"
#include "registry/PerfProviders.h"

namespace gaugery {
namespace {

constexpr int EntryCount = 20000;
constexpr int ProbeCount = 64;

DWORD IndexOfEntry(int Entry) { return 2 * static_cast<DWORD>(Entry) + 2; }

std::string TextOfEntry(int Entry) {
  return "Synthetic counter " + IntToStr(Entry) + " (bytes/sec)";
}

std::vector<TPerfNameEntry> SyntheticEntries() {
  std::vector<TPerfNameEntry> Entries;
  for (int I = 0; I < EntryCount; ++I) Entries.push_back({IndexOfEntry(I), TextOfEntry(I)});
  return Entries;
}

// The entries as the registry stores them: index and text strings, closed by an
// empty string.
std::vector<WCHAR> SyntheticValue() {
  WideString Value;
  for (const TPerfNameEntry& Entry : SyntheticEntries())
    Value += ToWide(IntToStr(Entry.Index)) + WCHAR{0} + ToWide(Entry.Text) + WCHAR{0};
  Value += WCHAR{0};
  return {Value.begin(), Value.end()};
}

// Texts and index texts spread over the whole table, the texts in other letter case.
struct TProbes {
  std::vector<std::string> Texts;
  std::vector<std::string> Indexes;
  TProbes() {
    for (int K = 0; K < ProbeCount; ++K) {
      int Entry = (K * EntryCount / ProbeCount + 157) % EntryCount;
      Texts.push_back(UpperCase(TextOfEntry(Entry)));
      Indexes.push_back(IntToStr(IndexOfEntry(Entry)));
    }
  }
};

int LinearIndexOf(const TStringList& List, const std::string& S) {
  for (int I = 0; I < List.Count(); ++I)
    if (AnsiSameText(List.Strings(I), S)) return I;
  return -1;
}

// A title table over the synthetic entries, served by the virtual registry.
class TSyntheticTitles {
 public:
  TSyntheticTitles() {
    TPerfProvider Provider;
    Provider.Name = "synthetic";
    Provider.Names = {{"009", SyntheticEntries(), {}}};
    SetPerfProviders({Provider});
    Titles.Init();
    Data = AcquirePerfInfoData("009", "Counter", "");
  }
  ~TSyntheticTitles() {
    ReleasePerfInfoData(Data);
    RestoreDefaultPerfProviders();
  }
  TPerfTitles Titles{nullptr};
  TPerfInfoData* Data;
  TProbes Probes;
};

TSyntheticTitles& Synthetic() {
  static TSyntheticTitles Table;
  return Table;
}

template <class TLookup>
void RunLookups(benchmark::State& State, const std::vector<std::string>& Keys, TLookup Lookup) {
  std::size_t K = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(Lookup(Keys[K]));
    K = (K + 1) % Keys.size();
  }
}

void BM_IdxOfTitle(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Texts, [&](const std::string& T) { return S.Titles.IdxOfTitle(T); });
}
void BM_IdxOfTitleLinear(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Texts, [&](const std::string& T) {
    int P = LinearIndexOf(S.Data->Items, T);
    return P < 0 ? std::string("-1") : S.Data->Idx.Strings(P);
  });
}

void BM_TitleByIdx(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Indexes, [&](const std::string& I) { return S.Titles.TitleByIdx(I); });
}
void BM_TitleByIdxLinear(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Indexes, [&](const std::string& I) {
    int P = LinearIndexOf(S.Data->Idx, I);
    return P < 0 ? std::string() : S.Data->Items.Strings(P);
  });
}

void BM_IndexOfTitle(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Texts, [&](const std::string& T) { return S.Titles.IndexOfTitle(T); });
}
void BM_IndexOfTitleLinear(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Texts,
             [&](const std::string& T) { return LinearIndexOf(S.Data->Items, T); });
}

void BM_IndexOfIdx(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Indexes, [&](const std::string& I) { return S.Titles.IndexOfIdx(I); });
}
void BM_IndexOfIdxLinear(benchmark::State& State) {
  auto& S = Synthetic();
  RunLookups(State, S.Probes.Indexes,
             [&](const std::string& I) { return LinearIndexOf(S.Data->Idx, I); });
}

// Both loads time only the making of their result; freeing it is left out.
void BM_ParseOnly(benchmark::State& State) {
  std::vector<WCHAR> Value = SyntheticValue();
  for (auto _ : State) {
    auto Lines = std::make_unique<TStringList>();
    ParseNameStrings(Value.data(), Value.size(), Lines.get(), TBlankTexts::Drop);
    benchmark::DoNotOptimize(Lines->Count());
    State.PauseTiming();
    Lines.reset();
    State.ResumeTiming();
  }
}

void BM_ParseAndIndex(benchmark::State& State) {
  std::vector<WCHAR> Value = SyntheticValue();
  for (auto _ : State) {
    auto Data = std::make_unique<TPerfInfoData>();
    {
      TStringList Lines;
      ParseNameStrings(Value.data(), Value.size(), &Lines, TBlankTexts::Drop);
      Data->Fill(Lines);
      benchmark::DoNotOptimize(Data->Items.Count());
      State.PauseTiming();
    }
    Data.reset();
    State.ResumeTiming();
  }
}

BENCHMARK(BM_IdxOfTitle);
BENCHMARK(BM_IdxOfTitleLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TitleByIdx);
BENCHMARK(BM_TitleByIdxLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfTitle);
BENCHMARK(BM_IndexOfTitleLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfIdx);
BENCHMARK(BM_IndexOfIdxLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAndIndex)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gaugery

BENCHMARK_MAIN();
