// Reading stored forms of growing size, and destroying what they made: components with
// names and references between them, components without names, and a filter with many
// items.
//
// Target: linear growth (the time per component or item stays about flat from 1,000 to
// 10,000), and a form of 10,000 items or components read in well under a second.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "PerfFilter.h"
#include "PerfTitles.h"
#include "framework/StoredForm.h"

namespace gaugery {
namespace {

std::string Quoted(const std::string& Text) { return "\"" + Text + "\""; }

// Pairs of a help table and a filter linked to it, under a plain root.
std::string LinkedComponentsForm(int Count) {
  std::string Form = R"({"class": "TComponent", "name": "Form", "components": [)";
  for (int I = 0; I < Count / 2; ++I) {
    const std::string Helps = "Helps" + std::to_string(I);
    if (I > 0) Form += ",";
    Form += R"({"class": "TPerfHelps", "name": )" + Quoted(Helps) + R"(, "LocaleID": "009"},)";
    Form += R"({"class": "TPerfFilter", "name": )" + Quoted("Filter" + std::to_string(I)) +
            R"(, "LocaleID": "009", "Helps": )" + Quoted(Helps) + "}";
  }
  return Form + "]}";
}

std::string UnnamedComponentsForm(int Count) {
  std::string Form = R"({"class": "TComponent", "components": [)";
  for (int I = 0; I < Count; ++I) {
    if (I > 0) Form += ",";
    Form += R"({"class": "TPerfHelps", "LocaleID": "009"})";
  }
  return Form + "]}";
}

std::string FilterItemsForm(int Count) {
  std::string Form = R"({"class": "TPerfFilter", "name": "Filter", "Items": [)";
  for (int I = 0; I < Count; ++I) {
    if (I > 0) Form += ",";
    Form += R"({"ObjectName": "Process", "CounterName": "ID Process"})";
  }
  return Form + "]}";
}

// The run-time units describe their classes when they are loaded; calling their
// registration routines makes sure they are.
void LoadUnits() {
  PerfTitlesUnit::DoRegister();
  PerfFilterUnit::DoRegister();
}

enum class TPart { Reading, Destroying };

// Reads the form and destroys what it made, timing only Part.
void ReadAndDestroy(benchmark::State& State, const std::string& Form, TPart Part) {
  LoadUnits();
  const bool TimesReading = Part == TPart::Reading;
  for (auto _ : State) {
    if (!TimesReading) State.PauseTiming();
    std::unique_ptr<TComponent> Root(ReadComponentForm(Form, nullptr));
    benchmark::DoNotOptimize(Root.get());
    if (TimesReading) {
      State.PauseTiming();
    } else {
      State.ResumeTiming();
    }
    Root.reset();
    if (TimesReading) State.ResumeTiming();
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

int Size(const benchmark::State& State) { return static_cast<int>(State.range(0)); }

void BM_ReadLinkedComponents(benchmark::State& State) {
  ReadAndDestroy(State, LinkedComponentsForm(Size(State)), TPart::Reading);
}
void BM_ReadUnnamedComponents(benchmark::State& State) {
  ReadAndDestroy(State, UnnamedComponentsForm(Size(State)), TPart::Reading);
}
void BM_ReadFilterItems(benchmark::State& State) {
  ReadAndDestroy(State, FilterItemsForm(Size(State)), TPart::Reading);
}
void BM_DestroyLinkedComponents(benchmark::State& State) {
  ReadAndDestroy(State, LinkedComponentsForm(Size(State)), TPart::Destroying);
}
void BM_DestroyFilterItems(benchmark::State& State) {
  ReadAndDestroy(State, FilterItemsForm(Size(State)), TPart::Destroying);
}

BENCHMARK(BM_ReadLinkedComponents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadUnnamedComponents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFilterItems)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DestroyLinkedComponents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DestroyFilterItems)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gaugery

BENCHMARK_MAIN();
